#pragma once

// Stand-ins for the C run-time file functions that the catalogue loader calls, under their
// Windows names (platform/posix/apCrtIo.cpp).

#include <cstdint>

#define _O_RDONLY 0x0000
#define _O_BINARY 0x8000
// The file-type bits of st_mode, with the Windows values.
#define _S_IFMT 0xF000
#define _S_IFREG 0x8000

struct _stat64i32 {
    std::uint32_t st_mode; // _S_IFREG for a regular file, 0 for any other
    std::int32_t st_size;  // files of 2 GiB or more fail the query
};

int _open(const char* path, int flags, ...);
int _read(int fd, void* buffer, unsigned int count);
int _close(int fd);
int _fstat64i32(int fd, struct _stat64i32* status);

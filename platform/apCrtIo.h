#pragma once

// The C run-time file functions that the catalogue loader calls, by their Windows names. The
// Windows run time has them; elsewhere platform/posix/apCrtIo.cpp stands in for them.

#include <platform/apExport.h>

#include <cstddef>
#include <cstdint>

#if defined(_WIN32)
#include <io.h>
#include <sys/stat.h>
#else
#define _O_RDONLY 0x0000
#define _O_BINARY 0x8000

struct _stat64i32 {
    std::uint32_t st_mode;
    std::int32_t st_size; // files of 2 GiB or more fail the query
};

int _open(const char* path, int flags, ...);
int _read(int fd, void* buffer, unsigned int count);
int _close(int fd);
int _fstat64i32(int fd, struct _stat64i32* status);
#endif

/// A seam for tests: each non-null member replaces the call of the same name, so a test can make
/// a read, a status query or an allocation fail or fall short.
struct apCrtSeam {
    int (*read)(int fd, void* buffer, unsigned int count) = nullptr;
    int (*fstat)(int fd, struct _stat64i32* status) = nullptr;
    void* (*malloc)(std::size_t size) = nullptr;
};

/// Installs `seam` (null restores the real calls) and returns the previous one.
NLS_EXPORT const apCrtSeam* ap_set_crt_seam(const apCrtSeam* seam);
/// The seam in force, or null.
NLS_EXPORT const apCrtSeam* ap_crt_seam();
/// malloc, or the seam's allocation when one is installed.
NLS_EXPORT void* ap_crt_malloc(std::size_t size);

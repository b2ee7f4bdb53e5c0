#pragma once

// The C run-time file functions that the catalogue loader calls, by their Windows names. Each
// backend's apCrtApi.h declares them: the Windows run time's own, or the POSIX stand-ins.
//
// _open never blocks: a path that names a FIFO or a device opens at once (or fails), and the
// loader then refuses it because its status is not that of a regular file.

#include <platform/apExport.h>

#include <apCrtApi.h>

#include <cstddef>

/// A seam for tests: each non-null member replaces the call of the same name, so a test can make
/// an open, a read, a status query or an allocation fail or fall short, or watch which files are
/// opened. While a seam is installed, files are mapped only where its `mappable` says so, and read
/// otherwise, so that its other members apply.
struct apCrtSeam {
    int (*open)(const char* path, int flags) = nullptr;
    int (*read)(int fd, void* buffer, unsigned int count) = nullptr;
    int (*fstat)(int fd, struct _stat64i32* status) = nullptr;
    void* (*malloc)(std::size_t size) = nullptr;
    bool (*mappable)(int fd) = nullptr;
};

/// Installs `seam` (null restores the real calls) and returns the previous one.
NLS_EXPORT const apCrtSeam* ap_set_crt_seam(const apCrtSeam* seam);
/// _open, or the seam's open when one is installed.
NLS_EXPORT int ap_crt_open(const char* path, int flags);
/// _read, or the seam's read when one is installed.
NLS_EXPORT int ap_crt_read(int fd, void* buffer, unsigned int count);
/// _fstat64i32, or the seam's status query when one is installed.
NLS_EXPORT int ap_crt_fstat(int fd, struct _stat64i32* status);
/// malloc, or the seam's allocation when one is installed.
NLS_EXPORT void* ap_crt_malloc(std::size_t size);
/// Whether the open file `fd` may be mapped rather than read: ap_mappable, or the seam's answer
/// (false without one) when a seam is installed.
NLS_EXPORT bool ap_crt_mappable(int fd);

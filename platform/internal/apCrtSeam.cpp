#include <platform/internal/apCrtIo.h>

#include <platform/internal/apFileMapping.h>

#include <cstdlib>

namespace {
const apCrtSeam* g_seam = nullptr;
}

const apCrtSeam* ap_set_crt_seam(const apCrtSeam* seam) {
    const apCrtSeam* previous = g_seam;
    g_seam = seam;
    return previous;
}

int ap_crt_open(const char* path, int flags) {
    if (g_seam && g_seam->open) return g_seam->open(path, flags);
    return _open(path, flags);
}

int ap_crt_read(int fd, void* buffer, unsigned int count) {
    if (g_seam && g_seam->read) return g_seam->read(fd, buffer, count);
    return _read(fd, buffer, count);
}

int ap_crt_fstat(int fd, struct _stat64i32* status) {
    if (g_seam && g_seam->fstat) return g_seam->fstat(fd, status);
    return _fstat64i32(fd, status);
}

void* ap_crt_malloc(std::size_t size) {
    if (g_seam && g_seam->malloc) return g_seam->malloc(size);
    return std::malloc(size);
}

bool ap_crt_mappable(int fd) {
    if (g_seam) return g_seam->mappable && g_seam->mappable(fd);
    return ap_mappable(fd);
}

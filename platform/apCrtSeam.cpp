#include <platform/apCrtIo.h>

#include <cstdlib>

namespace {
const apCrtSeam* g_seam = nullptr;
}

const apCrtSeam* ap_set_crt_seam(const apCrtSeam* seam) {
    const apCrtSeam* previous = g_seam;
    g_seam = seam;
    return previous;
}

const apCrtSeam* ap_crt_seam() {
    return g_seam;
}

void* ap_crt_malloc(std::size_t size) {
    if (g_seam && g_seam->malloc) return g_seam->malloc(size);
    return std::malloc(size);
}

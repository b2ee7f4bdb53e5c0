// Counts the heap as glibc's malloc hands it out, for every caller in the process: this library,
// glibc's own gettext and Boost.Locale alike. Every entry point of the malloc family is replaced by
// one that forwards to glibc's and keeps the running total of live blocks' usable sizes.
// Under AddressSanitizer, which replaces malloc itself, the total falls back to mallinfo2(), which
// misses blocks that malloc's thread cache hands back out.

#include "benchCatalogue.h"

#include <atomic>
#include <cerrno>
#include <cstddef>
#include <malloc.h>

#if defined(__SANITIZE_ADDRESS__)

namespace nlsbench {
std::size_t heap_in_use() {
    struct mallinfo2 m = ::mallinfo2();
    return m.uordblks + m.hblkhd;
}
} // namespace nlsbench

#else

namespace {

std::atomic<std::size_t> live{0};

void* counted(void* block) {
    if (block) live.fetch_add(::malloc_usable_size(block), std::memory_order_relaxed);
    return block;
}

} // namespace

namespace nlsbench {
std::size_t heap_in_use() {
    return live.load(std::memory_order_relaxed);
}
} // namespace nlsbench

extern "C" {
void* __libc_malloc(std::size_t);
void* __libc_calloc(std::size_t, std::size_t);
void* __libc_realloc(void*, std::size_t);
void* __libc_memalign(std::size_t, std::size_t);
void* __libc_valloc(std::size_t);
void* __libc_pvalloc(std::size_t);
void __libc_free(void*);

void* malloc(std::size_t size) {
    return counted(__libc_malloc(size));
}
void* calloc(std::size_t count, std::size_t size) {
    return counted(__libc_calloc(count, size));
}
void free(void* block) {
    if (block) live.fetch_sub(::malloc_usable_size(block), std::memory_order_relaxed);
    __libc_free(block);
}
void* realloc(void* block, std::size_t size) {
    std::size_t old = block ? ::malloc_usable_size(block) : 0;
    void* moved = __libc_realloc(block, size);
    // A failed realloc keeps the old block; realloc(p, 0) frees it and may return null.
    if (!moved && size != 0) return nullptr;
    live.fetch_sub(old, std::memory_order_relaxed);
    return counted(moved);
}
void* memalign(std::size_t alignment, std::size_t size) {
    return counted(__libc_memalign(alignment, size));
}
void* aligned_alloc(std::size_t alignment, std::size_t size) {
    return counted(__libc_memalign(alignment, size));
}
int posix_memalign(void** out, std::size_t alignment, std::size_t size) {
    if (alignment % sizeof(void*) != 0 || (alignment & (alignment - 1)) != 0) return EINVAL;
    void* block = counted(__libc_memalign(alignment, size));
    if (!block) return ENOMEM;
    *out = block;
    return 0;
}
void* valloc(std::size_t size) {
    return counted(__libc_valloc(size));
}
void* pvalloc(std::size_t size) {
    return counted(__libc_pvalloc(size));
}
}

#endif

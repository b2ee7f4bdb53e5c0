#include <platform/apUtils.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

char* apconcat(int n, ...) {
    std::size_t total = 0;
    va_list args;
    va_start(args, n);
    for (int i = 0; i < n; ++i) {
        const char* part = va_arg(args, const char*);
        if (part) total += std::strlen(part);
    }
    va_end(args);

    char* joined = static_cast<char*>(std::malloc(total + 1));
    if (!joined) throw std::bad_alloc();
    char* end = joined;
    va_start(args, n);
    for (int i = 0; i < n; ++i) {
        const char* part = va_arg(args, const char*);
        if (!part) continue;
        std::size_t length = std::strlen(part);
        std::memcpy(end, part, length);
        end += length;
    }
    va_end(args);
    *end = '\0';
    return joined;
}

int apprintf(const char* format, ...) {
    va_list args;
    va_start(args, format);
    int written = std::vfprintf(stderr, format, args);
    va_end(args);
    return written;
}

#include <apCrtApi.h>

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

int _open(const char* path, int flags, ...) {
    // Only reading is needed; _O_BINARY has no meaning here.
    if ((flags & ~_O_BINARY) != _O_RDONLY) {
        errno = EINVAL;
        return -1;
    }
    // Without O_NONBLOCK a FIFO would wait for a writer for ever; for regular files, which are
    // all that the loader reads, the flag changes nothing.
    int fd;
    do {
        fd = ::open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

int _read(int fd, void* buffer, unsigned int count) {
    if (count > INT_MAX) count = INT_MAX;
    ssize_t got;
    do {
        got = ::read(fd, buffer, count);
    } while (got < 0 && errno == EINTR);
    return static_cast<int>(got);
}

int _close(int fd) {
    return ::close(fd);
}

int _fstat64i32(int fd, struct _stat64i32* status) {
    struct stat real;
    if (::fstat(fd, &real) != 0) return -1;
    if (real.st_size > INT32_MAX) {
        errno = EOVERFLOW;
        return -1;
    }
    status->st_mode = S_ISREG(real.st_mode) ? _S_IFREG : 0;
    status->st_size = static_cast<std::int32_t>(real.st_size);
    return 0;
}

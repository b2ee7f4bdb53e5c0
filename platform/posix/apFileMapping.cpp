#include <platform/internal/apFileMapping.h>

#include <sys/mman.h>
#include <sys/stat.h>

bool ap_mappable(int fd) {
    struct stat status;
    // The owner may always change the permissions, so only the superuser may own the file; a
    // process running as the superuser trusts its own files as it trusts the packages'.
    return ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && status.st_uid == 0 &&
           (status.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

const unsigned char* ap_map_file(int fd, std::size_t size) {
    void* image = ::mmap(nullptr, size, PROT_READ, MAP_SHARED, fd, 0);
    return image == MAP_FAILED ? nullptr : static_cast<const unsigned char*>(image);
}

void ap_unmap_file(const unsigned char* image, std::size_t size) {
    ::munmap(const_cast<unsigned char*>(image), size);
}

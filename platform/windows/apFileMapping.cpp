#include <platform/internal/apFileMapping.h>

#include <apWinApi.h>

#include <io.h>

bool ap_mappable(int) {
    return true;
}

const unsigned char* ap_map_file(int fd, std::size_t size) {
    HANDLE file = reinterpret_cast<HANDLE>(_get_osfhandle(fd));
    if (file == INVALID_HANDLE_VALUE) return nullptr;
    HANDLE mapping = CreateFileMappingW(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
    if (!mapping) return nullptr;
    void* view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, size);
    // The view keeps the mapping object, and through it the file, for as long as it lasts.
    CloseHandle(mapping);
    return static_cast<const unsigned char*>(view);
}

void ap_unmap_file(const unsigned char* image, std::size_t) {
    UnmapViewOfFile(image);
}

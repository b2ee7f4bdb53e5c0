#include <platform/internal/apFileMapping.h>

#include <apWinApi.h>

#include <io.h>

// Windows refuses to shorten a file while a view of it exists, but it also refuses to write,
// replace or delete it: only a file that this user could not change anyway is mapped, as one
// installed for all users is. Any doubt means a copy.
bool ap_mappable(int fd) {
    HANDLE file = reinterpret_cast<HANDLE>(_get_osfhandle(fd));
    if (file == INVALID_HANDLE_VALUE) return false;
    HANDLE writer = ReOpenFile(file, GENERIC_WRITE,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, 0);
    if (writer != INVALID_HANDLE_VALUE) {
        CloseHandle(writer);
        return false;
    }
    return GetLastError() == ERROR_ACCESS_DENIED;
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

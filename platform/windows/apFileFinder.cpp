#include <platform/apFileFinder.h>

#include "apWinText.h"

#include <apWinApi.h>

#include <io.h>
#include <string>

// Paths go to Windows as wide text, so that names outside the ASCII range arrive as they are;
// entry names come back only when the ANSI code page holds them exactly.

namespace {

bool is_separator(char c) {
    return c == '\\' || c == '/';
}

DWORD attributes_of(const utString& path) {
    std::wstring wide;
    if (!ap_widen(path.c_str(), wide) || wide.empty()) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_FILE_ATTRIBUTES;
    }
    return GetFileAttributesW(wide.c_str());
}

struct Search {
    std::wstring pattern;
    HANDLE handle = INVALID_HANDLE_VALUE;
    WIN32_FIND_DATAW found;
};

bool identity_of(HANDLE handle, apFileIdentity& out) {
    BY_HANDLE_FILE_INFORMATION info;
    if (handle == INVALID_HANDLE_VALUE || !GetFileInformationByHandle(handle, &info)) return false;
    out.volume = info.dwVolumeSerialNumber;
    out.file = (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow;
    out.size = (std::uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow;
    out.modified = (std::uint64_t{info.ftLastWriteTime.dwHighDateTime} << 32) |
                   info.ftLastWriteTime.dwLowDateTime;
    return true;
}

bool is_dot_or_dot_dot(const wchar_t* name) {
    return name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'));
}

} // namespace

apFileError apFileFinder::check_path_exists(const utString& path) {
    if (attributes_of(path) != INVALID_FILE_ATTRIBUTES) return apFILE_EXISTS;
    switch (GetLastError()) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_DIRECTORY:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE:
        return apFILE_NOT_FOUND;
    case ERROR_ACCESS_DENIED:
        return apFILE_NO_ACCESS;
    default:
        return apFILE_ERROR;
    }
}

bool apFileFinder::identity(const utString& path, apFileIdentity& out) {
    std::wstring wide;
    if (!ap_widen(path.c_str(), wide) || wide.empty()) return false;
    // No access asked for and every kind of sharing allowed: the query disturbs no one who has
    // the file open, and a directory opens as well (backup semantics).
    HANDLE handle =
        CreateFileW(wide.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    bool known = identity_of(handle, out);
    if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
    return known;
}

bool apFileFinder::identity(int fd, apFileIdentity& out) {
    return identity_of(reinterpret_cast<HANDLE>(_get_osfhandle(fd)), out);
}

bool apFileFinder::is_separator(char c) {
    return ::is_separator(c);
}

apPath apPath::adjoin_ap(const apFileName& entry) const {
    utString joined = m_path;
    if (!joined.empty() && !is_separator(joined[joined.length() - 1])) joined << "\\";
    joined << entry.name();
    return apPath(joined);
}

int apPath::is_directory() const {
    DWORD attributes = attributes_of(m_path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

utString apPath::basename() const {
    int end = m_path.length();
    while (end > 1 && is_separator(m_path[end - 1]))
        --end;
    int start = end;
    while (start > 0 && !is_separator(m_path[start - 1]) && m_path[start - 1] != ':')
        --start;
    return utString(m_path, start, end - start);
}

apFileFinderEx::apFileFinderEx(const apPath& directory) {
    std::wstring wide;
    if (!ap_widen(directory.path().c_str(), wide) || wide.empty()) return;
    if (wide.back() != L'\\' && wide.back() != L'/') wide += L'\\';
    Search* search = new Search;
    search->pattern = wide + L'*';
    m_handle = search;
}

apFileFinderEx::~apFileFinderEx() {
    Search* search = static_cast<Search*>(m_handle);
    if (!search) return;
    if (search->handle != INVALID_HANDLE_VALUE) FindClose(search->handle);
    delete search;
}

int apFileFinderEx::operator++() {
    Search* search = static_cast<Search*>(m_handle);
    if (!search) return 0;
    for (;;) {
        bool more;
        if (search->handle == INVALID_HANDLE_VALUE) {
            search->handle = FindFirstFileExW(search->pattern.c_str(), FindExInfoBasic,
                                              &search->found, FindExSearchNameMatch, nullptr, 0);
            more = search->handle != INVALID_HANDLE_VALUE;
        } else {
            more = FindNextFileW(search->handle, &search->found) != 0;
        }
        if (!more) break;
        const wchar_t* name = search->found.cFileName;
        utString narrow;
        if (is_dot_or_dot_dot(name) || !ap_narrow(name, -1, narrow)) continue;
        m_current = apFileName(narrow);
        return 1;
    }
    // The end, or no readable directory: the finder stays at the end.
    if (search->handle != INVALID_HANDLE_VALUE) FindClose(search->handle);
    delete search;
    m_handle = nullptr;
    m_current = apFileName();
    return 0;
}

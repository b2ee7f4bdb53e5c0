#include <platform/apFileFinder.h>

#include "apWinText.h"

#include <apWinApi.h>

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

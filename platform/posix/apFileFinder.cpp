#include <platform/apFileFinder.h>

#include <cerrno>
#include <dirent.h>
#include <sys/stat.h>

apFileError apFileFinder::check_path_exists(const utString& path) {
    struct stat status;
    if (::stat(path.c_str(), &status) == 0) return apFILE_EXISTS;
    switch (errno) {
    case ENOENT:
    case ENOTDIR:
        return apFILE_NOT_FOUND;
    case EACCES:
        return apFILE_NO_ACCESS;
    default:
        return apFILE_ERROR;
    }
}

namespace {
apFileIdentity identity_of(const struct stat& status) {
    apFileIdentity id;
    id.volume = static_cast<std::uint64_t>(status.st_dev);
    id.file = static_cast<std::uint64_t>(status.st_ino);
    id.size = static_cast<std::uint64_t>(status.st_size);
    id.modified = static_cast<std::uint64_t>(status.st_mtim.tv_sec) * 1000000000u +
                  static_cast<std::uint64_t>(status.st_mtim.tv_nsec);
    return id;
}
} // namespace

bool apFileFinder::identity(const utString& path, apFileIdentity& out) {
    struct stat status;
    if (::stat(path.c_str(), &status) != 0) return false;
    out = identity_of(status);
    return true;
}

bool apFileFinder::identity(int fd, apFileIdentity& out) {
    struct stat status;
    if (::fstat(fd, &status) != 0) return false;
    out = identity_of(status);
    return true;
}

bool apFileFinder::is_separator(char c) {
    return c == '/';
}

apPath apPath::adjoin_ap(const apFileName& entry) const {
    utString joined = m_path;
    if (!joined.empty() && joined[joined.length() - 1] != '/') joined << "/";
    joined << entry.name();
    return apPath(joined);
}

int apPath::is_directory() const {
    struct stat status;
    return ::stat(m_path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

utString apPath::basename() const {
    int end = m_path.length();
    while (end > 1 && m_path[end - 1] == '/')
        --end;
    int start = end;
    while (start > 0 && m_path[start - 1] != '/')
        --start;
    return utString(m_path, start, end - start);
}

apFileFinderEx::apFileFinderEx(const apPath& directory)
    : m_handle(::opendir(directory.path().c_str())) {}

apFileFinderEx::~apFileFinderEx() {
    if (m_handle) ::closedir(static_cast<DIR*>(m_handle));
}

int apFileFinderEx::operator++() {
    if (!m_handle) return 0;
    while (const dirent* entry = ::readdir(static_cast<DIR*>(m_handle))) {
        const char* name = entry->d_name;
        if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'))) continue;
        m_current = apFileName(utString(name));
        return 1;
    }
    ::closedir(static_cast<DIR*>(m_handle));
    m_handle = nullptr;
    m_current = apFileName();
    return 0;
}

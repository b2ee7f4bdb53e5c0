#pragma once

#include <platform/apExport.h>
#include <platform/utString.h>

#include <cstdint>

/// @file
/// Paths, the identity of files, and the entries of directories.

/// Result of a file-system query; only apFILE_EXISTS means that the path exists.
enum apFileError {
    apFILE_ERROR = 0,     ///< the query failed for another reason
    apFILE_NOT_FOUND = 1, ///< no such path
    apFILE_NO_ACCESS = 2, ///< a folder on the way may not be searched
    apFILE_EXISTS = 3,    ///< the path exists
};

/// What tells one file from another however a path to it is spelled ("/big", "/big/", "/./big",
/// links): the volume and the file's number on it, with its size and time of last change, so
/// that a file rewritten or replaced since counts as another.
struct apFileIdentity {
    std::uint64_t volume = 0;   ///< the device or volume serial number
    std::uint64_t file = 0;     ///< the file's number on its volume
    std::uint64_t size = 0;     ///< bytes
    std::uint64_t modified = 0; ///< time of the last change, in the system's own units

    /// The same file, unchanged.
    bool operator==(const apFileIdentity& other) const {
        return volume == other.volume && file == other.file && size == other.size &&
               modified == other.modified;
    }
};

/// Questions about paths.
class NLS_EXPORT apFileFinder {
public:
    /// Whether `path` exists (links followed), or why that cannot be told.
    static apFileError check_path_exists(const utString& path);
    /// The identity of the file that `path` names; false when it cannot be queried.
    static bool identity(const utString& path, apFileIdentity& out);
    /// The identity of a file opened with _open (platform/apCrtIo.h); false when it cannot be
    /// queried.
    static bool identity(int fd, apFileIdentity& out);
    /// True for a character that separates the components of a path ('/'; on Windows '\\' too).
    static bool is_separator(char c);
};

/// One entry name found in a directory.
class NLS_EXPORT apFileName {
public:
    apFileName() = default;
    /// The entry called `name`.
    explicit apFileName(const utString& name) : m_name(name) {}
    const utString& name() const { return m_name; } ///< without the directory's path

private:
    utString m_name;
};

/// A path in the file system, as text.
class NLS_EXPORT apPath {
public:
    apPath() = default;
    /// The path `path`, as given.
    explicit apPath(const utString& path) : m_path(path) {}
    ~apPath() = default;

    /// The path of `entry` inside this directory.
    apPath adjoin_ap(const apFileName& entry) const;
    /// Non-zero when the path names a directory (links followed).
    int is_directory() const;
    /// The last component, trailing separators ignored.
    utString basename() const;
    const utString& path() const { return m_path; } ///< as given

private:
    utString m_path;
};

/// Enumerates the entries of a directory, "." and ".." left out. The first operator++ gives the
/// first entry; a path that is not a readable directory gives none.
class NLS_EXPORT apFileFinderEx {
public:
    /// Before the first entry of `directory`.
    explicit apFileFinderEx(const apPath& directory);
    ~apFileFinderEx();
    apFileFinderEx(const apFileFinderEx&) = delete;
    apFileFinderEx& operator=(const apFileFinderEx&) = delete;

    /// Advances to the next entry; non-zero while there is one.
    int operator++();
    /// The current entry.
    const apFileName& operator()() const { return m_current; }

private:
    void* m_handle = nullptr;
    apFileName m_current;
};

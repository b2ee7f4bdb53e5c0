#pragma once

// Helpers for the tests of the registry store.

#include <fstream>
#include <sqlite3.h>
#include <sstream>
#include <string>

namespace nlstest {

/// Holds a registry store locked the way another writer in the middle of its transaction does.
class StoreLock {
public:
    explicit StoreLock(const std::string& path) {
        m_held = sqlite3_open(path.c_str(), &m_db) == SQLITE_OK &&
                 sqlite3_exec(m_db, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr) == SQLITE_OK;
    }
    ~StoreLock() { release(); }
    StoreLock(const StoreLock&) = delete;
    StoreLock& operator=(const StoreLock&) = delete;

    bool held() const { return m_held; }
    void release() {
        if (m_held) sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
        m_held = false;
        sqlite3_close(m_db);
        m_db = nullptr;
    }

private:
    sqlite3* m_db = nullptr;
    bool m_held = false;
};

/// The whole content of a file; empty when it cannot be read.
inline std::string file_bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

} // namespace nlstest

#pragma once

// Holds a registry store locked the way another writer in the middle of its transaction does.

#include <sqlite3.h>
#include <string>

namespace nlstest {

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

} // namespace nlstest

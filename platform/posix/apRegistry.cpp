#include <platform/apRegistry.h>

#include <platform/internal/apRegistryKey.h>
#include <platform/internal/apRegistryLock.h>
#include <platform/apUtils.h>

#include <sqlite3.h>

#include <cerrno>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <type_traits>
#include <unistd.h>

// The hive of the current user is one SQLite database per user, kept with a write-ahead journal:
// a commit appends to the journal without waiting for the disk, so a writer holds the lock for
// moments only, and readers never wait for writers. (The journal shares memory beside the file,
// so the processes that use a store must run on one machine, as one user's settings do.) Other
// writers wait for the lock through the busy handler, long enough to outlast a busy machine.

namespace {

enum State {
    kUnopened, // not looked at yet
    kEmpty,    // no store, or a store without keys yet: reads find nothing
    kReady,    // our store, open
    kFailed,   // unusable for the rest of the accessor's life
};

// Marks a database as a registry store ("nlsR"), so that we never write into another file.
constexpr int kApplicationId = 1852601170;
// A locked store is waited for in pauses of this many milliseconds.
constexpr int kLockPause = 2;

const char* const kSchema =
    "PRAGMA application_id = 1852601170;"
    "CREATE TABLE registry_keys(path TEXT NOT NULL COLLATE NOCASE PRIMARY KEY);"
    "CREATE TABLE registry_values(key TEXT NOT NULL COLLATE NOCASE,"
    " name TEXT NOT NULL COLLATE NOCASE, type INTEGER NOT NULL, data TEXT NOT NULL,"
    " PRIMARY KEY(key, name));";
static_assert(kApplicationId == 1852601170, "the schema marks the store with kApplicationId");

// A key exists when it was created or when a key below it was: ?2 and ?3 bound the paths that
// begin with the key and a backslash (']' follows '\' also when letter case is folded).
const char* const kFindKey = "SELECT 1 FROM registry_keys WHERE path = ?1"
                             " OR (path >= ?2 AND path < ?3) LIMIT 1";
const char* const kFindValue =
    "SELECT type, data FROM registry_values WHERE key = ?1 AND name = ?2";
const char* const kInsertKey = "INSERT OR IGNORE INTO registry_keys(path) VALUES(?1)";
const char* const kUpsertValue =
    "INSERT INTO registry_values(key, name, type, data) VALUES(?1, ?2, ?3, ?4)"
    " ON CONFLICT(key, name) DO UPDATE SET type = excluded.type, data = excluded.data";

// SQLite is loaded when a store is first opened, not with the library: most programs never read
// or write a setting, and binding SQLite's symbols as the library loads would cost more than the
// rest of the library's start-up.
struct Sqlite {
    bool loaded = false;
    decltype(&::sqlite3_bind_int) bind_int;
    decltype(&::sqlite3_bind_text) bind_text;
    decltype(&::sqlite3_busy_handler) busy_handler;
    decltype(&::sqlite3_close) close;
    decltype(&::sqlite3_column_bytes) column_bytes;
    decltype(&::sqlite3_column_int) column_int;
    decltype(&::sqlite3_column_text) column_text;
    decltype(&::sqlite3_exec) exec;
    decltype(&::sqlite3_finalize) finalize;
    decltype(&::sqlite3_get_autocommit) get_autocommit;
    decltype(&::sqlite3_open_v2) open_v2;
    decltype(&::sqlite3_prepare_v2) prepare_v2;
    decltype(&::sqlite3_sleep) sleep;
    decltype(&::sqlite3_step) step;
    decltype(&::sqlite3_stricmp) stricmp;
};

const Sqlite& sqlite() {
    static const Sqlite loaded = [] {
        Sqlite api;
        void* library = ::dlopen(NLS_SQLITE_LIBRARY, RTLD_NOW | RTLD_LOCAL);
        if (!library) return api;
        bool all = true;
        auto bind = [&](auto& function, const char* name) {
            function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(
                ::dlsym(library, name));
            all = all && function;
        };
        bind(api.bind_int, "sqlite3_bind_int");
        bind(api.bind_text, "sqlite3_bind_text");
        bind(api.busy_handler, "sqlite3_busy_handler");
        bind(api.close, "sqlite3_close");
        bind(api.column_bytes, "sqlite3_column_bytes");
        bind(api.column_int, "sqlite3_column_int");
        bind(api.column_text, "sqlite3_column_text");
        bind(api.exec, "sqlite3_exec");
        bind(api.finalize, "sqlite3_finalize");
        bind(api.get_autocommit, "sqlite3_get_autocommit");
        bind(api.open_v2, "sqlite3_open_v2");
        bind(api.prepare_v2, "sqlite3_prepare_v2");
        bind(api.sleep, "sqlite3_sleep");
        bind(api.step, "sqlite3_step");
        bind(api.stricmp, "sqlite3_stricmp");
        api.loaded = all;
        return api;
    }();
    return loaded;
}

sqlite3* db_of(void* store) {
    return static_cast<sqlite3*>(store);
}

/// One prepared statement; a failed prepare or bind makes step() fail.
class Statement {
public:
    Statement(sqlite3* db, const char* sql) {
        if (sqlite().prepare_v2(db, sql, -1, &m_stmt, nullptr) != SQLITE_OK) m_ok = false;
    }
    ~Statement() { sqlite().finalize(m_stmt); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    Statement& bind(int index, const utString& text) {
        if (m_ok &&
            sqlite().bind_text(m_stmt, index, text.c_str(), -1, SQLITE_TRANSIENT) != SQLITE_OK)
            m_ok = false;
        return *this;
    }
    Statement& bind(int index, int number) {
        if (m_ok && sqlite().bind_int(m_stmt, index, number) != SQLITE_OK) m_ok = false;
        return *this;
    }
    /// SQLITE_ROW, SQLITE_DONE or an error.
    int step() { return m_ok ? sqlite().step(m_stmt) : SQLITE_ERROR; }
    int column_int(int column) { return sqlite().column_int(m_stmt, column); }
    sqlite3_stmt* get() { return m_stmt; }

private:
    sqlite3_stmt* m_stmt = nullptr;
    bool m_ok = true;
};

enum StoreKind { kOurs, kFresh, kUnusable };

StoreKind store_kind(sqlite3* db) {
    Statement query(db, "SELECT (SELECT application_id FROM pragma_application_id),"
                        " (SELECT count(*) FROM sqlite_master)");
    if (query.step() != SQLITE_ROW) return kUnusable; // not a database, locked, unreadable
    if (query.column_int(0) == kApplicationId) return kOurs;
    return query.column_int(0) == 0 && query.column_int(1) == 0 ? kFresh : kUnusable;
}

/// Runs `body` as one write transaction, setting the store up when it is still empty.
template <class Body> bool in_transaction(sqlite3* db, Body body) {
    if (sqlite().exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK) return false;
    StoreKind kind = store_kind(db);
    bool ok =
        kind != kUnusable &&
        (kind == kOurs || sqlite().exec(db, kSchema, nullptr, nullptr, nullptr) == SQLITE_OK) &&
        body() && sqlite().exec(db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK;
    if (!ok && !sqlite().get_autocommit(db)) sqlite().exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    return ok;
}

int wait_for_lock(void*, int tries) {
    if (tries * kLockPause >= ap_registry_lock_wait()) return 0;
    sqlite().sleep(kLockPause);
    return 1;
}

/// NLS_REGISTRY, else the user's configuration folder; null when neither can be found. A
/// set-user-ID program sees none of these variables, and so has no store.
utString store_path() {
    const char* chosen = ap_secure_getenv("NLS_REGISTRY");
    if (chosen && *chosen) return utString(chosen);
    // Relative configuration folders are invalid and ignored, as the XDG rules ask.
    const char* config = ap_secure_getenv("XDG_CONFIG_HOME");
    if (config && config[0] == '/') return utString(config) << "/nls/registry.db";
    const char* home = ap_secure_getenv("HOME");
    if (home && *home) return utString(home) << "/.config/nls/registry.db";
    return utString();
}

// Folders for a store are private to the user, as configuration folders should be.
void make_parent_folders(const utString& path) {
    std::string folder(path.c_str());
    for (std::size_t slash = folder.find('/', 1); slash != std::string::npos;
         slash = folder.find('/', slash + 1)) {
        folder[slash] = '\0';
        ::mkdir(folder.c_str(), 0700);
        folder[slash] = '/';
    }
}

// A new store file, private to the user. Never through a symbolic link: a link left dangling at
// the store's place would otherwise have its target created.
void create_store_file(const utString& path) {
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd >= 0) ::close(fd);
}

// SQLite takes some short files for empty databases and would write over them: a store file
// that is not empty must begin as a database does. Only a regular file can be a store; opening
// without blocking keeps a FIFO at the store's place from waiting for a writer for ever.
bool may_be_store(const utString& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return true; // missing, or SQLite finds out why not
    static const char kMagic[16] = "SQLite format 3";
    char head[sizeof kMagic];
    struct stat status;
    ssize_t got = -1;
    if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode)) got = ::read(fd, head, sizeof head);
    ::close(fd);
    return got == 0 || (got == sizeof head && std::memcmp(head, kMagic, sizeof head) == 0);
}

sqlite3* open_store(const utString& path, int flags) {
    if (!sqlite().loaded || !may_be_store(path)) return nullptr;
    sqlite3* db = nullptr;
    if (sqlite().open_v2(path.c_str(), &db, flags, nullptr) != SQLITE_OK) {
        sqlite().close(db);
        return nullptr;
    }
    sqlite().busy_handler(db, wait_for_lock, nullptr);
    return db;
}

// Switches a store to the write-ahead journal, which the file then keeps. Commits wait for the
// disk only at checkpoints, which the last accessor to close makes; a process killed at any
// moment still loses nothing committed.
void use_write_ahead_journal(sqlite3* db) {
    Statement mode(db, "PRAGMA journal_mode = WAL");
    if (mode.step() != SQLITE_ROW) return;
    const unsigned char* now = sqlite().column_text(mode.get(), 0);
    if (!now || sqlite().stricmp(reinterpret_cast<const char*>(now), "wal") != 0) return;
    sqlite().exec(db, "PRAGMA synchronous = NORMAL", nullptr, nullptr, nullptr);
}

bool is_missing(const utString& path) {
    struct stat status;
    return ::stat(path.c_str(), &status) != 0 && (errno == ENOENT || errno == ENOTDIR);
}

template <class Body> int guarded(int on_error, Body body) noexcept {
    try {
        return body();
    } catch (...) {
        return on_error;
    }
}

} // namespace

apRegistry::apRegistry(apHKeyType hive) : m_hive(hive) {
    // The user's own hive is the only one a POSIX user has.
    if (m_hive != apHKEY_CURRENT_USER) m_state = kFailed;
}

apRegistry::~apRegistry() {
    if (m_store) sqlite().close(db_of(m_store));
}

int apRegistry::fail(int result) {
    m_state = kFailed;
    return result;
}

/// Opens the store for reading, never creating it; true when it is ours and may be read, else
/// m_state tells whether it holds nothing or has failed.
bool apRegistry::look() {
    if (m_state != kUnopened) return m_state == kReady;
    utString path = store_path();
    if (path.is_null()) return fail(0);
    m_store = open_store(path, SQLITE_OPEN_READWRITE);
    if (!m_store) {
        m_state = is_missing(path) ? kEmpty : kFailed;
        return false;
    }
    StoreKind kind = store_kind(db_of(m_store));
    m_state = kind == kOurs ? kReady : kind == kFresh ? kEmpty : kFailed;
    return m_state == kReady;
}

/// Opens the store for writing, created with its folders when missing; false when the accessor
/// has failed.
bool apRegistry::writable() {
    if (m_state == kFailed) return false;
    if (m_store) return true;
    utString path = store_path();
    if (path.is_null()) return fail(0);
    make_parent_folders(path);
    create_store_file(path);
    m_store = open_store(path, SQLITE_OPEN_READWRITE);
    if (!m_store) return fail(0);
    // Another program's database keeps its journal.
    if (store_kind(db_of(m_store)) != kUnusable) use_write_ahead_journal(db_of(m_store));
    return true;
}

int apRegistry::key_exists(const utString& key) {
    return guarded(-1, [&] {
        utString path;
        if (!ap_registry_key_path(key, path)) return 0;
        utString below = path + "\\", beyond = path + "]";
        if (!look()) return m_state == kEmpty ? 0 : -1;
        int found =
            Statement(db_of(m_store), kFindKey).bind(1, path).bind(2, below).bind(3, beyond).step();
        if (found == SQLITE_ROW) return 1;
        return found == SQLITE_DONE ? 0 : fail(-1);
    });
}

/// 1 with the type and data filled in as asked, 0 when there is no such value, -1 when the store
/// could not be read.
int apRegistry::find_value(const utString& key, const utString& name, apValueType* type,
                           utString* data) {
    utString path;
    if (!ap_registry_key_path(key, path)) return 0;
    if (!look()) return m_state == kEmpty ? 0 : -1;
    Statement query(db_of(m_store), kFindValue);
    int found = query.bind(1, path).bind(2, name).step();
    if (found == SQLITE_DONE) return 0;
    if (found != SQLITE_ROW) return fail(-1);
    if (type) *type = static_cast<apValueType>(query.column_int(0));
    if (data) {
        const unsigned char* text = sqlite().column_text(query.get(), 1);
        if (!text) return fail(-1);
        *data = utString(utStringArray{}, reinterpret_cast<const char*>(text),
                         sqlite().column_bytes(query.get(), 1));
    }
    return 1;
}

int apRegistry::value_exists(const utString& key, const utString& name, apValueType& type) {
    type = apREG_NONE;
    return guarded(-1, [&] { return find_value(key, name, &type, nullptr); });
}

int apRegistry::value_data(const utString& key, const utString& name, utString& data) {
    return guarded(0, [&] { return find_value(key, name, nullptr, &data) == 1; });
}

int apRegistry::create_key(const utString& key) {
    return guarded(0, [&] {
        utString path;
        if (!ap_registry_key_path(key, path) || !writable()) return 0;
        sqlite3* db = db_of(m_store);
        if (!in_transaction(
                db, [&] { return Statement(db, kInsertKey).bind(1, path).step() == SQLITE_DONE; }))
            return fail(0);
        m_state = kReady;
        return 1;
    });
}

int apRegistry::set_value_data(const utString& key, const utString& name, apValueType type,
                               const utString& data) {
    return guarded(0, [&] {
        utString path;
        if (!ap_registry_key_path(key, path) || !writable()) return 0;
        sqlite3* db = db_of(m_store);
        if (!in_transaction(db, [&] {
                return Statement(db, kInsertKey).bind(1, path).step() == SQLITE_DONE &&
                       Statement(db, kUpsertValue)
                               .bind(1, path)
                               .bind(2, name)
                               .bind(3, static_cast<int>(type))
                               .bind(4, data)
                               .step() == SQLITE_DONE;
            }))
            return fail(0);
        m_state = kReady;
        return 1;
    });
}

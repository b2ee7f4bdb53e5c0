#pragma once

#include <platform/apExport.h>
#include <platform/utString.h>

/// @file
/// The per-user settings store.

/// The registry hive that an accessor works in.
enum apHKeyType : int {
    apHKEY_CURRENT_USER = 1, ///< the user's own settings
};

/// The kind of data that a registry value holds.
enum apValueType : int {
    apREG_NONE = 0,   ///< no value
    apREG_STRING = 2, ///< text
};

/// Reads and writes the keys and values of one registry hive.
///
/// Key paths name keys from the hive down, separated by backslashes ("Software\\Maker\\App");
/// trailing backslashes are ignored, and a path that is empty, starts with a backslash or has an
/// empty component names no key. Key paths and value names are compared ignoring ASCII letter
/// case. A key exists once it or a key below it has been created.
///
/// An accessor is meant to live for one read or one write. On Windows it works on the current
/// user's registry and stores text values only. On POSIX, once an operation has failed on the
/// store (a store locked for longer than about five seconds, unreadable or missing its location),
/// the accessor fails every later operation at once instead of waiting again.
class NLS_EXPORT apRegistry {
public:
    /// An accessor of `hive`; any hive but apHKEY_CURRENT_USER fails every operation.
    explicit apRegistry(apHKeyType hive);
    ~apRegistry();
    apRegistry(const apRegistry&) = delete;
    apRegistry& operator=(const apRegistry&) = delete;

    /// 1 when the key exists, 0 when it does not, -1 when the store could not be read: the
    /// result is non-zero unless absence was seen, so a caller goes on to a read that fails.
    int key_exists(const utString& key);
    /// As key_exists, for the value `name` under `key`; `type` is its type when found, else
    /// apREG_NONE.
    int value_exists(const utString& key, const utString& name, apValueType& type);
    /// Non-zero on success, with the value's data as text in `data`; on failure `data` is kept.
    int value_data(const utString& key, const utString& name, utString& data);
    /// Creates the key; non-zero on success, also when the key existed before.
    int create_key(const utString& key);
    /// Stores the value `name` under `key` (created when needed), replacing the data and type of
    /// a value of that name; non-zero on success.
    int set_value_data(const utString& key, const utString& name, apValueType type,
                       const utString& data);

private:
    bool look();
    bool writable();
    int find_value(const utString& key, const utString& name, apValueType* type, utString* data);
    int fail(int result);

    apHKeyType m_hive;
    void* m_store = nullptr; ///< the open store, when there is one
    int m_state = 0;
};

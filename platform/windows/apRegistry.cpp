#include <platform/apRegistry.h>

#include <platform/internal/apRegistryKey.h>

#include "apWinText.h"

#include <apWinApi.h>

#include <string>
#include <vector>

// The current user's own registry. Windows keeps letter case out of key and value names and
// creates the keys above a new key, as the interface asks; an open key is held only for the
// duration of one operation.

namespace {

constexpr int kFailed = 1;

/// An open key, closed when it goes.
class Key {
public:
    Key() = default;
    ~Key() {
        if (m_key) RegCloseKey(m_key);
    }
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;

    /// Opens `path` for `access`; ERROR_SUCCESS or Windows' error code.
    LONG open(const std::wstring& path, REGSAM access) {
        return RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, access, &m_key);
    }
    /// Opens `path` for `access`, created with the keys above it when missing.
    LONG create(const std::wstring& path, REGSAM access) {
        return RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                               access, nullptr, &m_key, nullptr);
    }
    HKEY get() const { return m_key; }

private:
    HKEY m_key = nullptr;
};

/// The key path as Windows takes it; false when it names no key.
bool wide_key(const utString& key, std::wstring& wide) {
    utString path;
    return ap_registry_key_path(key, path) && ap_widen(path.c_str(), wide);
}

bool is_absent(LONG status) {
    return status == ERROR_FILE_NOT_FOUND || status == ERROR_PATH_NOT_FOUND;
}

} // namespace

apRegistry::apRegistry(apHKeyType hive) : m_hive(hive) {
    // The current user's hive is the only one the library uses.
    if (m_hive != apHKEY_CURRENT_USER) m_state = kFailed;
}

apRegistry::~apRegistry() = default;

int apRegistry::key_exists(const utString& key) {
    std::wstring path;
    if (m_state == kFailed) return -1;
    if (!wide_key(key, path)) return 0;
    Key opened;
    LONG status = opened.open(path, KEY_READ);
    if (status == ERROR_SUCCESS) return 1;
    return is_absent(status) ? 0 : -1;
}

/// 1 with the type and data filled in as asked, 0 when there is no such value, -1 when it could
/// not be read. Only text values (REG_SZ, REG_EXPAND_SZ unexpanded) have data to read.
int apRegistry::find_value(const utString& key, const utString& name, apValueType* type,
                           utString* data) {
    std::wstring path, value_name;
    if (m_state == kFailed) return -1;
    if (!wide_key(key, path)) return 0;
    if (!ap_widen(name.c_str(), value_name)) return 0;
    Key opened;
    LONG status = opened.open(path, KEY_QUERY_VALUE);
    if (status != ERROR_SUCCESS) return is_absent(status) ? 0 : -1;
    DWORD kind = REG_NONE, size = 0;
    status = RegQueryValueExW(opened.get(), value_name.c_str(), nullptr, &kind, nullptr, &size);
    if (is_absent(status)) return 0;
    if (status != ERROR_SUCCESS) return -1;
    bool text = kind == REG_SZ || kind == REG_EXPAND_SZ;
    if (type) *type = text ? apREG_STRING : apREG_NONE;
    if (!data) return 1;
    if (!text) return -1;
    // The value may change between the two queries: ask again while it grows.
    std::vector<wchar_t> buffer;
    do {
        buffer.assign(size / sizeof(wchar_t) + 1, L'\0');
        size = static_cast<DWORD>((buffer.size() - 1) * sizeof(wchar_t));
        status = RegQueryValueExW(opened.get(), value_name.c_str(), nullptr, &kind,
                                  reinterpret_cast<BYTE*>(buffer.data()), &size);
    } while (status == ERROR_MORE_DATA);
    if (status != ERROR_SUCCESS || (kind != REG_SZ && kind != REG_EXPAND_SZ)) return -1;
    // Stored text need not end in a NUL: the data ends at the first NUL or at its size.
    std::size_t length = size / sizeof(wchar_t);
    std::size_t end = 0;
    while (end < length && buffer[end] != L'\0')
        ++end;
    utString narrow;
    if (!ap_narrow(buffer.data(), static_cast<int>(end), narrow)) return -1;
    *data = narrow;
    return 1;
}

int apRegistry::value_exists(const utString& key, const utString& name, apValueType& type) {
    type = apREG_NONE;
    return find_value(key, name, &type, nullptr);
}

int apRegistry::value_data(const utString& key, const utString& name, utString& data) {
    return find_value(key, name, nullptr, &data) == 1;
}

int apRegistry::create_key(const utString& key) {
    std::wstring path;
    if (m_state == kFailed || !wide_key(key, path)) return 0;
    Key created;
    return created.create(path, KEY_READ) == ERROR_SUCCESS;
}

int apRegistry::set_value_data(const utString& key, const utString& name, apValueType type,
                               const utString& data) {
    std::wstring path, value_name, text;
    if (m_state == kFailed || type != apREG_STRING || !wide_key(key, path) ||
        !ap_widen(name.c_str(), value_name) || !ap_widen(data.c_str(), text))
        return 0;
    Key created;
    if (created.create(path, KEY_SET_VALUE) != ERROR_SUCCESS) return 0;
    DWORD size = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
    return RegSetValueExW(created.get(), value_name.c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(text.c_str()), size) == ERROR_SUCCESS;
}

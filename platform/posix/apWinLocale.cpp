#include <platform/internal/apWinLocale.h>

#include "apWinLocaleTable.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

namespace {

constexpr LCID kEnUs = 0x0409;

// A locale name or POSIX locale value: "en-GB", "de_DE.UTF-8", "de_DE@euro" (the codeset and
// modifier do not count). 0 for null, "C", "POSIX" and anything else that names no known locale.
LCID lcid_of(const char* value) {
    if (!value) return 0;
    const apWinLocaleRow* row = ap_find_locale(value, std::strcspn(value, ".@"));
    return row ? row->lcid : 0;
}

const char* field(const apWinLocaleRow* row, LCTYPE type) {
    if (!row) return nullptr;
    switch (type) {
    case LOCALE_SABBREVLANGNAME:
        return row->abbrev_language;
    case LOCALE_SABBREVCTRYNAME:
        return row->abbrev_country;
    case LOCALE_SISO639LANGNAME:
        return row->iso639;
    case LOCALE_SISO3166CTRYNAME:
        return row->iso3166;
    case LOCALE_SNAME:
        return row->name;
    case LOCALE_SENGLANGUAGE:
        return row->english_language;
    case LOCALE_IDEFAULTANSICODEPAGE:
        return row->ansi_codepage;
    default:
        return nullptr;
    }
}

// Writes `value` (ASCII) into the caller's buffer of `size` characters, Windows fashion.
template <typename Char> int copy_out(const char* value, Char* buffer, int size) {
    if (size < 0 || (size > 0 && !buffer)) return 0;
    // A failed query leaves an empty text, so a caller that uses the buffer regardless reads "".
    if (size > 0) buffer[0] = 0;
    if (!value) return 0;
    int needed = static_cast<int>(std::strlen(value)) + 1;
    if (size == 0) return needed;
    if (needed > size) return 0;
    for (int i = 0; i < needed; ++i)
        buffer[i] = static_cast<Char>(value[i]);
    return needed;
}

const apWinLocaleRow* find_wide(LPCWSTR name) {
    char narrow[32]; // longer than any locale name
    std::size_t n = 0;
    for (; n < sizeof narrow && name[n] != 0; ++n) {
        if (static_cast<std::uint32_t>(name[n]) >= 0x80) return nullptr;
        narrow[n] = static_cast<char>(name[n]);
    }
    if (n == sizeof narrow) return nullptr;
    // A bare language ("de") is a neutral locale, as on Windows: its first specific one answers.
    const apWinLocaleRow* row = ap_find_locale(narrow, n);
    return row ? row : ap_find_language(narrow, n);
}

} // namespace

LCID GetUserDefaultLCID() {
    if (LCID lcid = lcid_of(std::getenv("NLS_USER_LOCALE"))) return lcid;
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"})
        if (LCID lcid = lcid_of(std::getenv(variable))) return lcid;
    return kEnUs;
}

int GetLocaleInfoU(LCID lcid, LCTYPE type, char* buffer, int size) {
    if (lcid == LOCALE_USER_DEFAULT || lcid == LOCALE_SYSTEM_DEFAULT) lcid = GetUserDefaultLCID();
    return copy_out(field(ap_find_locale(lcid), type), buffer, size);
}

int GetLocaleInfoEx(LPCWSTR locale_name, LCTYPE type, LPWSTR buffer, int size) {
    const apWinLocaleRow* row =
        locale_name ? find_wide(locale_name) : ap_find_locale(GetUserDefaultLCID());
    return copy_out(field(row, type), buffer, size);
}

BOOL EnumSystemLocalesW(LOCALE_ENUMPROCW callback, DWORD flags) {
    if (!callback || (flags != LCID_INSTALLED && flags != LCID_SUPPORTED)) return FALSE;
    std::size_t count = 0;
    const apWinLocaleRow* rows = ap_locale_rows(&count);
    for (std::size_t i = 0; i < count; ++i) {
        wchar_t text[9];
        for (int digit = 0; digit < 8; ++digit)
            text[digit] = L"0123456789ABCDEF"[(rows[i].lcid >> (28 - 4 * digit)) & 0xF];
        text[8] = 0;
        if (!callback(text)) break;
    }
    return TRUE;
}

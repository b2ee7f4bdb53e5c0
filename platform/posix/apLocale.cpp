#include <platform/internal/apLocale.h>
#include <platform/internal/apWinLocale.h>

#include "apWinLocaleTable.h"

#include <cstdlib>
#include <cstring>
#include <initializer_list>

namespace {

// A locale name or POSIX locale value: "en-GB", "de_DE.UTF-8", "de_DE@euro" (the codeset and
// modifier do not count). Null for null, "C", "POSIX" and anything else that names no locale.
const apWinLocaleRow* row_of_value(const char* value) {
    return value ? ap_find_locale(value, std::strcspn(value, ".@")) : nullptr;
}

const apWinLocaleRow* user_row() {
    if (const apWinLocaleRow* row = row_of_value(std::getenv("NLS_USER_LOCALE"))) return row;
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"})
        if (const apWinLocaleRow* row = row_of_value(std::getenv(variable))) return row;
    return ap_find_locale("en-US", 5);
}

const char* field_of(const apWinLocaleRow* row, apLocaleField field) {
    if (!row) return nullptr;
    switch (field) {
    case apLocaleField::english_language:
        return row->english_language;
    case apLocaleField::language_abbreviation:
        return row->abbrev_language;
    case apLocaleField::country_abbreviation:
        return row->abbrev_country;
    case apLocaleField::iso639:
        return row->iso639;
    case apLocaleField::iso3166:
        return row->iso3166;
    case apLocaleField::ansi_codepage:
        return row->ansi_codepage;
    case apLocaleField::name:
        return row->name;
    }
    return nullptr;
}

} // namespace

utString ap_user_locale() {
    return utString(user_row()->name);
}

// The table is ASCII: both forms of text are the same.
utString ap_locale_field(const utString& locale, apLocaleField field, apLocaleText) {
    const char* name = locale.c_str();
    std::size_t length = std::strlen(name);
    const apWinLocaleRow* row = ap_find_locale(name, length);
    const char* value = field_of(row ? row : ap_find_language(name, length), field);
    return value ? utString(value) : utString("");
}

std::vector<utString> ap_locales() {
    std::size_t count = 0;
    const apWinLocaleRow* rows = ap_locale_rows(&count);
    std::vector<utString> names;
    names.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        names.push_back(utString(rows[i].name));
    return names;
}

// The Windows function by its Windows name, over the same table.
int GetLocaleInfoU(LCID lcid, LCTYPE type, char* buffer, int size) {
    if (size < 0 || (size > 0 && !buffer)) return 0;
    // A failed query leaves an empty text, so a caller that uses the buffer regardless reads "".
    if (size > 0) buffer[0] = '\0';
    static constexpr struct {
        LCTYPE type;
        apLocaleField field;
    } kTypes[] = {
        {LOCALE_SENGLANGUAGE, apLocaleField::english_language},
        {LOCALE_SABBREVLANGNAME, apLocaleField::language_abbreviation},
        {LOCALE_SABBREVCTRYNAME, apLocaleField::country_abbreviation},
        {LOCALE_SISO639LANGNAME, apLocaleField::iso639},
        {LOCALE_SISO3166CTRYNAME, apLocaleField::iso3166},
        {LOCALE_IDEFAULTANSICODEPAGE, apLocaleField::ansi_codepage},
        {LOCALE_SNAME, apLocaleField::name},
    };
    const apWinLocaleRow* row = lcid == LOCALE_USER_DEFAULT || lcid == LOCALE_SYSTEM_DEFAULT
                                    ? user_row()
                                    : ap_find_locale(lcid);
    const char* value = nullptr;
    for (const auto& known : kTypes)
        if (known.type == type) value = field_of(row, known.field);
    if (!value) return 0;
    int needed = static_cast<int>(std::strlen(value)) + 1;
    if (size == 0) return needed;
    if (needed > size) return 0;
    std::memcpy(buffer, value, static_cast<std::size_t>(needed));
    return needed;
}

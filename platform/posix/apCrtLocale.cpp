#include <platform/apCrtLocale.h>

#include <platform/apWinLocale.h>

#include "apWinLocaleTable.h"

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <strings.h>

namespace {

// "de-DE" -> "de_DE.UTF-8": the POSIX locale of a Windows locale name.
utString posix_name(const char* windows_name) {
    std::size_t length = std::strcspn(windows_name, "_"); // "es-ES_tradnl" is es-ES
    utString posix(utStringArray{}, windows_name, static_cast<int>(length));
    for (int i = 0; i < posix.length(); ++i)
        if (posix[i] == '-') posix.set_char(i, '_');
    return posix << ".UTF-8";
}

// The Windows locale of "Language_CTY" or "Language-CTY" (English name, three-letter country
// abbreviation), or null.
const apWinLocaleRow* find_language_country(const char* name) {
    const char* separator = std::strpbrk(name, "_-");
    if (!separator || std::strlen(separator + 1) != 3) return nullptr;
    std::size_t language_length = static_cast<std::size_t>(separator - name);
    std::size_t count = 0;
    const apWinLocaleRow* rows = ap_locale_rows(&count);
    for (std::size_t i = 0; i < count; ++i) {
        const apWinLocaleRow& row = rows[i];
        if (std::strlen(row.english_language) == language_length &&
            strncasecmp(row.english_language, name, language_length) == 0 &&
            strcasecmp(row.abbrev_country, separator + 1) == 0)
            return &row;
    }
    return nullptr;
}

constexpr const char* kAsciiLetters = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";

} // namespace

utString ap_locale_name(const char* name, const char* iso_name) {
    if (!name) return utString();
    if (!*name) {
        const apWinLocaleRow* user = ap_find_locale(GetUserDefaultLCID());
        return user ? posix_name(user->name) : utString(utStringLit{}, "C");
    }
    if (iso_name && *iso_name) return posix_name(iso_name);
    if (const apWinLocaleRow* row = find_language_country(name)) return posix_name(row->name);
    return utString(name);
}

const char* ap_setlocale(int category, const char* name, const char* iso_name) {
    if (!name) return std::setlocale(category, nullptr);
    return std::setlocale(category, ap_locale_name(name, iso_name).c_str());
}

std::locale ap_make_locale(const std::locale& base, const char* name, const char* iso_name,
                           std::locale::category category) {
    return std::locale(base, ap_locale_name(name, iso_name).c_str(), category);
}

apPosixLocale ap_posix_locale(const char* value) {
    apPosixLocale locale;
    if (!value) return locale;
    if (std::strcmp(value, "C") == 0 || std::strcmp(value, "POSIX") == 0 ||
        std::strncmp(value, "C.", 2) == 0) {
        locale.locale_name = locale.language = utString(utStringLit{}, "C");
        return locale;
    }
    // ll, then _CC (two letters, or three digits as in es_419), then the end, a codeset or a
    // modifier. Longer words are the library's own names ("German") and stay theirs.
    std::size_t language_length = std::strspn(value, kAsciiLetters);
    if (language_length < 2 || language_length > 3) return locale;
    std::size_t name_length = language_length;
    if (value[name_length] == '_') {
        const char* country = value + name_length + 1;
        std::size_t length = std::strspn(country, kAsciiLetters) == 2  ? 2
                             : std::strspn(country, "0123456789") == 3 ? 3
                                                                       : 0;
        if (length == 0) return locale;
        name_length += 1 + length;
    }
    if (value[name_length] != '\0' && value[name_length] != '.' && value[name_length] != '@')
        return locale;

    if (name_length > language_length) {
        if (const apWinLocaleRow* row = ap_find_locale(value, name_length)) {
            locale.locale_name = utString(row->name);
            locale.language = utString(row->english_language) << "-" << row->abbrev_country;
            return locale;
        }
    }
    if (const apWinLocaleRow* row = ap_find_language(value, language_length)) {
        locale.locale_name = utString(row->iso639);
        locale.language = utString(row->english_language);
    }
    return locale;
}

const char* ap_language_priority() {
    return std::getenv("LANGUAGE");
}

#include <platform/internal/apCrtLocale.h>

#include <platform/internal/apLocale.h>
#include <platform/utString.h>

#include "apWinLocaleTable.h"

#include <clocale>
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

// The installed locale for `name`: "" becomes the locale of the user's regional settings
// (ap_user_locale), a table language its ISO name's locale, a language with a country code
// ("English_GBR", "English-GBR") the matching Windows locale's; anything else ("C",
// "de_DE.UTF-8") stays as it is.
utString ap_locale_name(const char* name, const char* iso_name) {
    if (!name) return utString();
    if (!*name) {
        utString user = ap_user_locale();
        return user.empty() ? utString(utStringLit{}, "C") : posix_name(user.c_str());
    }
    if (iso_name && *iso_name) return posix_name(iso_name);
    if (const apWinLocaleRow* row = find_language_country(name)) return posix_name(row->name);
    return utString(name);
}

} // namespace

const char* ap_setlocale(int category, const char* name, const char* iso_name) {
    if (!name) return std::setlocale(category, nullptr);
    return std::setlocale(category, ap_locale_name(name, iso_name).c_str());
}

std::locale ap_make_locale(const std::locale& base, const char* name, const char* iso_name,
                           std::locale::category category) {
    return std::locale(base, ap_locale_name(name, iso_name).c_str(), category);
}

bool ap_unnamed_locales() {
    return false;
}

// nlsDomainManager: conversion between library language names, ISO locale names and Windows
// three-letter language codes.

#include <nls/nlsDomainManager.h>

#include <nls/internal/nlsChangeGuard.h>
#include <nls/nlsLanguage.h>
#include <nls/internal/nlsLocaleInfo.h>
#include <platform/internal/apCrtLocale.h>
#include <platform/intcoDList.h>

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <cwchar>

utString nls_locale_info(LCID lcid, LCTYPE type) {
    // Every answer the library asks for fits easily; a longer one is taken as a failed query.
    char buffer[500];
    if (GetLocaleInfoU(lcid, type, buffer, sizeof buffer) <= 0) buffer[0] = '\0';
    return utString(buffer);
}

utString nls_first_word(const utString& name) {
    const char* blank = std::strchr(name.c_str(), ' ');
    return blank ? utString(name, 0, static_cast<int>(blank - name.c_str())) : name;
}

namespace {

// The identifiers of the supported locales, refilled by each get_iso_locale.
intcoDList g_locale_ids;

BOOL add_locale_id(LPWSTR hex) {
    g_locale_ids.insert_last(static_cast<int>(std::wcstoul(hex, nullptr, 16)));
    return TRUE;
}

} // namespace

void nlsDomainManager::get_regional_language(utString* out, nlsLang purpose) {
    if (!out) return;
    *out = nls_first_word(nls_locale_info(GetUserDefaultLCID(), LOCALE_SENGLANGUAGE));
    if (purpose == nlsLANG_REGIONAL || out->empty()) return;
    utString language = nls_locale_info(GetUserDefaultLCID(), LOCALE_SABBREVLANGNAME);
    utString country = nls_locale_info(GetUserDefaultLCID(), LOCALE_SABBREVCTRYNAME);
    if (language != country) *out << "-" << country;
}

namespace {

// The ISO name of the first supported locale whose English name, with its three-letter country
// ("English-GBR") or without ("English"), is `language`; empty when none is.
utString iso_locale_of(const utString& language) {
    nlsChangeGuard guard; // the list of identifiers is shared
    g_locale_ids.clear();
    EnumSystemLocalesW(add_locale_id, LCID_SUPPORTED);
    intcoDList::iterator id(g_locale_ids);
    while (++id) {
        LCID lcid = static_cast<LCID>(id.value());
        utString name = nls_first_word(nls_locale_info(lcid, LOCALE_SENGLANGUAGE));
        utString country = nls_locale_info(lcid, LOCALE_SABBREVCTRYNAME);
        if ((name + utString(utStringLit{}, "-") + country).case_compare(language) == 0) {
            utString region = nls_locale_info(lcid, LOCALE_SISO3166CTRYNAME);
            region.convert(::toupper);
            return nls_locale_info(lcid, LOCALE_SISO639LANGNAME) << "-" << region;
        }
        if (name.case_compare(language) == 0) return nls_locale_info(lcid, LOCALE_SISO639LANGNAME);
    }
    return utString();
}

} // namespace

utString nlsDomainManager::get_iso_locale(const utString& language) {
    if (language.case_compare(utString(utStringLit{}, "check")) == 0) return language;
    if (language.case_compare(utString(utStringLit{}, "C")) == 0) return utString("en-GB");
    utString iso = iso_locale_of(language);
    return iso.empty() ? utString("en-GB") : iso;
}

utString nls_language_of(const utString& value) {
    apPosixLocale posix = ap_posix_locale(value.text());
    if (posix.language.empty()) return value;
    // The table's spelling where it has the locale: de_DE is German, not German-DEU.
    nlsLanguage table(posix.locale_name.c_str());
    return table.iso_name().empty() ? posix.language : table.name();
}

std::vector<utString> nls_posix_folders(const nlsLanguage& language) {
    utString iso = language.iso_name();
    if (iso.empty() && !language.empty()) iso = iso_locale_of(language.name());
    std::vector<utString> folders;
    const char* hyphen = std::strchr(iso.c_str(), '-');
    if (!hyphen) {
        if (!iso.empty()) folders.push_back(iso);
        return folders;
    }
    int language_length = static_cast<int>(hyphen - iso.c_str());
    utString posix = iso;
    posix.set_char(language_length, '_');
    folders.push_back(posix);
    folders.push_back(utString(iso, 0, language_length));
    return folders;
}

utString nlsDomainManager::get_abbreviated_language(const utString& locale_name) {
    utString fallback(utStringLit{}, "ENG");
    if (locale_name.length() == 0) return fallback;
    wchar_t wide[100];
    std::size_t count = std::mbstowcs(wide, locale_name.c_str(), 100);
    if (count < 1 || count > 99) return fallback; // (size_t)-1 on failure is above 99 too
    wchar_t answer[100];
    if (GetLocaleInfoEx(wide, LOCALE_SABBREVLANGNAME, answer, 100) == 0) return fallback;
    char narrow[100];
    count = std::wcstombs(narrow, answer, 100);
    if (count < 1 || count > 99) return fallback;
    return utString(narrow);
}

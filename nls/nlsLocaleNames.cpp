// nlsDomainManager: conversion between library language names, ISO locale names and Windows
// three-letter language codes.

#include <nls/nlsDomainManager.h>

#include <nls/internal/nlsLocaleInfo.h>
#include <nls/nlsLanguage.h>
#include <platform/internal/apCrtLocale.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

utString nls_locale_info(const utString& locale, apLocaleField field, int limit) {
    utString text = ap_locale_field(locale, field);
    return text.length() > 0 && text.length() < limit ? text : utString("");
}

utString nls_user_locale_info(apLocaleField field, int limit) {
    return nls_locale_info(ap_user_locale(), field, limit);
}

utString nls_first_word(const utString& name) {
    const char* blank = std::strchr(name.c_str(), ' ');
    return blank ? utString(name, 0, static_cast<int>(blank - name.c_str())) : name;
}

void nlsDomainManager::get_regional_language(utString* out, nlsLang purpose) {
    if (!out) return;
    *out = nls_first_word(nls_user_locale_info(apLocaleField::english_language));
    if (purpose == nlsLANG_REGIONAL || out->empty()) return;
    utString language = nls_user_locale_info(apLocaleField::language_abbreviation);
    utString country = nls_user_locale_info(apLocaleField::country_abbreviation);
    if (language != country) *out << "-" << country;
}

namespace {

// The ISO name of the first supported locale whose English name, with its three-letter country
// ("English-GBR") or without ("English"), is `language`; empty when none is.
utString iso_locale_of(const utString& language) {
    for (const utString& locale : ap_locales()) {
        utString name = nls_first_word(nls_locale_info(locale, apLocaleField::english_language));
        utString country = nls_locale_info(locale, apLocaleField::country_abbreviation);
        if ((name + utString(utStringLit{}, "-") + country).case_compare(language) == 0) {
            utString region = nls_locale_info(locale, apLocaleField::iso3166);
            region.convert(::toupper);
            return nls_locale_info(locale, apLocaleField::iso639) << "-" << region;
        }
        if (name.case_compare(language) == 0) return nls_locale_info(locale, apLocaleField::iso639);
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
    // Names of 100 characters or more, or that the C run time cannot read, name no locale.
    std::size_t count = std::mbstowcs(nullptr, locale_name.c_str(), 0);
    if (count < 1 || count > 99) return fallback; // (size_t)-1 on failure is above 99 too
    utString abbreviation = nls_locale_info(locale_name, apLocaleField::language_abbreviation, 100);
    return abbreviation.empty() ? fallback : abbreviation;
}

bool nls_is_posix_locale(const utString& name) {
    const char* text = name.c_str();
    std::size_t length = std::strspn(text, "abcdefghijklmnopqrstuvwxyz");
    return (length == 2 || length == 3) &&
           (text[length] == '\0' || std::strchr("_.@", text[length]));
}

std::vector<utString> nls_locale_variants(const utString& name) {
    std::vector<utString> variants;
    if (!nls_is_posix_locale(name)) return variants;
    // ll[_CC][.codeset][@modifier], each part running to the next part's mark.
    std::string text(name.c_str(), static_cast<std::size_t>(name.length()));
    auto part = [&](char mark, const char* ends) {
        std::size_t at = text.find(mark);
        if (at == std::string::npos) return std::string();
        std::size_t end = text.find_first_of(ends, at + 1);
        return text.substr(at + 1, end == std::string::npos ? std::string::npos : end - at - 1);
    };
    const std::string language = text.substr(0, text.find_first_of("_.@"));
    const std::string territory = text.find_first_of("_.@") != std::string::npos &&
                                          text[text.find_first_of("_.@")] == '_'
                                      ? part('_', ".@")
                                      : std::string();
    const std::string codeset = part('.', "@");
    const std::string modifier = part('@', "");
    std::string normalised;
    for (char c : codeset)
        if (std::isalnum(static_cast<unsigned char>(c)))
            normalised += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (!normalised.empty() &&
        normalised.find_first_not_of("0123456789") == std::string::npos)
        normalised = "iso" + normalised;
    enum { kNormalised = 1, kCodeset = 2, kTerritory = 4, kModifier = 8 };
    for (int mask = 15; mask >= 0; --mask) {
        if (((mask & kModifier) && modifier.empty()) || ((mask & kTerritory) && territory.empty()) ||
            ((mask & kCodeset) && codeset.empty()) || ((mask & kNormalised) && normalised.empty()) ||
            ((mask & kCodeset) && (mask & kNormalised)))
            continue;
        std::string variant = language;
        if (mask & kTerritory) variant += "_" + territory;
        if (mask & kCodeset) variant += "." + codeset;
        if (mask & kNormalised) variant += "." + normalised;
        if (mask & kModifier) variant += "@" + modifier;
        utString folder(variant.c_str());
        if (std::find(variants.begin(), variants.end(), folder) == variants.end())
            variants.push_back(folder);
    }
    return variants;
}

utString nls_language_code(const utString& name) {
    auto code_of = [](const utString& locale) {
        const char* text = locale.c_str();
        return utString(utStringArray{}, text, static_cast<int>(std::strcspn(text, "-_.@")));
    };
    if (nls_is_posix_locale(name)) return code_of(name);
    nlsLanguage language(nls_language_of(name).c_str());
    if (language.iso_name().empty() && language.has_extension())
        language = nlsLanguage(language.short_form());
    if (!language.iso_name().empty()) return code_of(language.iso_name());
    return code_of(iso_locale_of(language.name()));
}

#include <platform/internal/apCrtLocale.h>

#include <platform/internal/apLocale.h>

#include <cstdlib>
#include <cstring>

// POSIX locale values are read alike on every platform (a Windows user may set LANG too); the
// locale they name is looked up through the platform's locale information.

namespace {

constexpr const char* kAsciiLetters = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";

// A field of the locale named by the first `length` characters of `value` ('_' taken for '-'),
// as text; empty for an unknown locale. Only ASCII names come here.
utString locale_data(const char* value, std::size_t length, apLocaleField field) {
    char name[8] = {};
    for (std::size_t i = 0; i < length; ++i)
        name[i] = value[i] == '_' ? '-' : value[i];
    utString answer = ap_locale_field(utString(name), field, apLocaleText::ascii);
    // Cut at the first blank, as the library's names are.
    return utString(answer, 0, static_cast<int>(std::strcspn(answer.c_str(), " ")));
}

} // namespace

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
        utString name = locale_data(value, name_length, apLocaleField::name);
        if (!name.empty()) {
            locale.locale_name = name;
            locale.language =
                locale_data(value, name_length, apLocaleField::english_language)
                << "-" << locale_data(value, name_length, apLocaleField::country_abbreviation);
            return locale;
        }
    }
    // A country that no locale of the language has counts as the bare language.
    utString language = locale_data(value, language_length, apLocaleField::english_language);
    if (!language.empty()) {
        locale.locale_name = locale_data(value, language_length, apLocaleField::iso639);
        locale.language = language;
    }
    return locale;
}

const char* ap_language_priority() {
    return std::getenv("LANGUAGE");
}

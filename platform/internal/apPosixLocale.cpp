#include <platform/internal/apCrtLocale.h>

#include <platform/internal/apWinLocale.h>

#include <cstdlib>
#include <cstring>

// POSIX locale values are read alike on every platform (a Windows user may set LANG too); the
// locale they name is looked up through the Windows locale functions, which each backend offers.

namespace {

constexpr const char* kAsciiLetters = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";

// Locale data of the Windows locale name made of the first `length` characters of `value` ('_'
// taken for '-'), as text; empty for an unknown locale. Only ASCII names come here.
utString locale_data(const char* value, std::size_t length, LCTYPE type) {
    wchar_t name[8] = {};
    for (std::size_t i = 0; i < length; ++i)
        name[i] = value[i] == '_' ? L'-' : static_cast<wchar_t>(value[i]);
    wchar_t answer[128];
    if (GetLocaleInfoEx(name, type, answer, 128) <= 0) return utString();
    // English names and codes: ASCII, cut at the first blank as the library's names are.
    char text[128];
    std::size_t n = 0;
    for (; answer[n] != 0 && answer[n] != L' ' && n + 1 < sizeof text; ++n)
        text[n] = answer[n] < 0x80 ? static_cast<char>(answer[n]) : '?';
    text[n] = '\0';
    return utString(text);
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
        utString name = locale_data(value, name_length, LOCALE_SNAME);
        if (!name.empty()) {
            locale.locale_name = name;
            locale.language = locale_data(value, name_length, LOCALE_SENGLANGUAGE)
                              << "-" << locale_data(value, name_length, LOCALE_SABBREVCTRYNAME);
            return locale;
        }
    }
    // A country that no locale of the language has counts as the bare language.
    utString language = locale_data(value, language_length, LOCALE_SENGLANGUAGE);
    if (!language.empty()) {
        locale.locale_name = locale_data(value, language_length, LOCALE_SISO639LANGNAME);
        locale.language = language;
    }
    return locale;
}

const char* ap_language_priority() {
    return std::getenv("LANGUAGE");
}

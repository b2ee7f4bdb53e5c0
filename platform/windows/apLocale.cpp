#include <platform/internal/apLocale.h>
#include <platform/internal/apWinLocale.h>

#include "apWinText.h"

#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

namespace {

LCTYPE type_of(apLocaleField field) {
    switch (field) {
    case apLocaleField::english_language:
        return LOCALE_SENGLANGUAGE;
    case apLocaleField::language_abbreviation:
        return LOCALE_SABBREVLANGNAME;
    case apLocaleField::country_abbreviation:
        return LOCALE_SABBREVCTRYNAME;
    case apLocaleField::iso639:
        return LOCALE_SISO639LANGNAME;
    case apLocaleField::iso3166:
        return LOCALE_SISO3166CTRYNAME;
    case apLocaleField::ansi_codepage:
        return LOCALE_IDEFAULTANSICODEPAGE;
    case apLocaleField::name:
        return LOCALE_SNAME;
    }
    return 0;
}

// The answer of a GetLocaleInfo function, `query(buffer, size)`, as 8-bit text. Numbers and
// English names are ASCII, or nearly: the ANSI code page's closest form serves, or '?'.
template <typename Query>
bool locale_text(Query query, utString& text, apLocaleText form = apLocaleText::ansi) {
    int wide_size = query(nullptr, 0);
    if (wide_size <= 0) return false;
    std::vector<wchar_t> wide(static_cast<std::size_t>(wide_size));
    if (query(wide.data(), wide_size) != wide_size) return false;
    if (form == apLocaleText::ansi) return ap_narrow(wide.data(), -1, text, true);
    std::string ascii;
    for (const wchar_t* c = wide.data(); *c; ++c)
        ascii += *c < 0x80 ? static_cast<char>(*c) : '?';
    text = utString(ascii.c_str());
    return true;
}

// The enumeration hands its callback nothing of the caller's own: the identifiers go to the
// thread that asked.
thread_local std::vector<LCID> t_locale_ids;

BOOL CALLBACK add_locale_id(LPWSTR hex) {
    t_locale_ids.push_back(static_cast<LCID>(std::wcstoul(hex, nullptr, 16)));
    return TRUE;
}

} // namespace

utString ap_user_locale() {
    wchar_t name[LOCALE_NAME_MAX_LENGTH];
    utString text;
    if (GetUserDefaultLocaleName(name, LOCALE_NAME_MAX_LENGTH) <= 0 || !ap_narrow(name, -1, text))
        return utString("");
    return text;
}

utString ap_locale_field(const utString& locale, apLocaleField field, apLocaleText form) {
    std::wstring name;
    // The empty name would be the invariant locale's.
    if (locale.empty() || !ap_widen(locale.c_str(), name)) return utString("");
    auto query = [&](wchar_t* buffer, int size) {
        return GetLocaleInfoEx(name.c_str(), type_of(field), buffer, size);
    };
    utString text;
    return locale_text(query, text, form) ? text : utString("");
}

std::vector<utString> ap_locales() {
    // The identifiers' enumeration, not the names' (EnumSystemLocalesEx): its order decides
    // which of the locales that share a language answers first.
    t_locale_ids.clear();
    EnumSystemLocalesW(add_locale_id, LCID_SUPPORTED);
    const std::vector<LCID> ids = std::move(t_locale_ids);
    std::vector<utString> names;
    for (LCID lcid : ids) {
        wchar_t name[LOCALE_NAME_MAX_LENGTH];
        utString text;
        if (LCIDToLocaleName(lcid, name, LOCALE_NAME_MAX_LENGTH, 0) > 0 &&
            ap_narrow(name, -1, text))
            names.push_back(text);
    }
    return names;
}

int GetLocaleInfoU(LCID lcid, LCTYPE type, char* buffer, int size) {
    if (size < 0 || (size > 0 && !buffer)) return 0;
    // A failed query leaves an empty text, so a caller that uses the buffer regardless reads "".
    if (size > 0) buffer[0] = '\0';
    auto query = [&](wchar_t* wide, int wide_size) {
        return GetLocaleInfoW(lcid, type, wide, wide_size);
    };
    utString text;
    if (!locale_text(query, text)) return 0;
    int needed = text.length() + 1;
    if (size == 0) return needed;
    if (needed > size) return 0;
    std::memcpy(buffer, text.c_str(), static_cast<std::size_t>(needed));
    return needed;
}

#pragma once

// The Windows locales that the POSIX stand-in knows, with their data as Windows reports it.

#include <apWinApi.h>

#include <cstddef>

struct apWinLocaleRow {
    LCID lcid;
    const char* name;             ///< LOCALE_SNAME, "en-GB"
    const char* english_language; ///< LOCALE_SENGLANGUAGE, "English"
    const char* abbrev_language;  ///< LOCALE_SABBREVLANGNAME, "ENG"
    const char* abbrev_country;   ///< LOCALE_SABBREVCTRYNAME, "GBR"
    const char* iso639;           ///< LOCALE_SISO639LANGNAME, "en"
    const char* iso3166;          ///< LOCALE_SISO3166CTRYNAME, "GB"
    const char* ansi_codepage;    ///< LOCALE_IDEFAULTANSICODEPAGE, "1252"; "0" for Unicode-only
};

/// The rows in ascending order of identifier, which is the order of enumeration.
const apWinLocaleRow* ap_locale_rows(std::size_t* count);
/// The row of `lcid`, or null.
const apWinLocaleRow* ap_find_locale(LCID lcid);
/// The row whose name equals the first `length` characters of `name`, letter case ignored and
/// '_' taken for '-'; null when none does. `name` need not be NUL-terminated.
const apWinLocaleRow* ap_find_locale(const char* name, std::size_t length);
/// The first row whose ISO 639 code ("de") equals the first `length` characters of `language`,
/// letter case ignored; null when none does.
const apWinLocaleRow* ap_find_language(const char* language, std::size_t length);

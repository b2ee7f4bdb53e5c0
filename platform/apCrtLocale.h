#pragma once

// The C run-time and standard-library locale calls, for the library's locale names. Windows takes
// "German", "English_GBR" and "" (the user's default locale) as they stand; a POSIX C library
// wants installed names such as de_DE.UTF-8, so platform/posix maps them here, and maps the
// POSIX names that users set (LANG=de_DE.UTF-8, LANGUAGE=fr:de) the other way.

#include <platform/apExport.h>
#include <platform/utString.h>

#include <locale>

/// The name the platform's locale functions take for `name`. `iso_name` is the language table's
/// ISO name for it ("de-DE" for "German"), or null or empty when the table has none. On POSIX:
/// "" becomes the locale of the user's regional settings (GetUserDefaultLCID), a table language
/// its ISO name's locale, a language with a country code ("English_GBR", "English-GBR") the
/// matching Windows locale's; anything else ("C", "de_DE.UTF-8") stays as it is.
NLS_EXPORT utString ap_locale_name(const char* name, const char* iso_name);

/// The C run-time setlocale of `category` for `name` (null queries), mapped as above.
NLS_EXPORT const char* ap_setlocale(int category, const char* name, const char* iso_name);

/// `base` with the facets of `category` from the locale `name`, mapped as above. Throws
/// std::runtime_error, as std::locale does, for a name the standard library rejects.
NLS_EXPORT std::locale ap_make_locale(const std::locale& base, const char* name,
                                      const char* iso_name, std::locale::category category);

/// What a POSIX locale value names: ll[_CC][.codeset][@modifier] ("de_AT.UTF-8", "de_DE@euro",
/// "de"), or the C locale ("C", "POSIX", "C.<codeset>").
struct apPosixLocale {
    /// The Windows locale name: "de-AT"; the bare language, "de", for a value without a country
    /// or with one that no locale of the language has; "C" for the C locale.
    utString locale_name;
    /// The language in the form of the library's names for languages outside its table: the
    /// English name and the three-letter country ("German-AUT", "Dutch-NLD"); the English name
    /// alone ("German") for a bare language; "C" for the C locale.
    utString language;
};

/// The locale that a POSIX locale value names. Both fields are empty when `value` is null, not of
/// that form, or of a language that no known locale speaks. Where users set the library's own
/// names in the environment instead (Windows), this may give empty fields for every value.
NLS_EXPORT apPosixLocale ap_posix_locale(const char* value);

/// The user's list of languages in order of preference, as GNU tools read it from LANGUAGE
/// ("fr:de", entries being POSIX locale values or library names); null where the platform has
/// no such list (Windows).
NLS_EXPORT const char* ap_language_priority();

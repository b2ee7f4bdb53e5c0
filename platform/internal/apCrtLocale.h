#pragma once

// The C run-time and standard-library locale calls, for the library's locale names ("German",
// "English_GBR", "Portuguese-BRA", and "" for the user's default locale). Each backend maps them
// to what its run time takes: installed names such as de_DE.UTF-8 on POSIX; on Windows the names
// as they stand, else "Language_CTY" for "Language-CTY" or for the table's ISO name.
// POSIX locale names that users set (LANG=de_DE.UTF-8, LANGUAGE=fr:de) are mapped the other way,
// to the library's names, alike on every platform (platform/apPosixLocale.cpp).

#include <platform/apExport.h>
#include <platform/utString.h>

#include <locale>

/// The C run-time setlocale of `category` for `name` (null queries). `iso_name` is the language
/// table's ISO name for it ("de-DE" for "German"), or null or empty when the table has none.
NLS_EXPORT const char* ap_setlocale(int category, const char* name, const char* iso_name);

/// `base` with the facets of `category` from the locale `name`, mapped as for ap_setlocale.
/// Where the standard library has named locales (POSIX) the result is named as they are; where
/// it has none but "C" (Windows), the numeric facets carry the C run time's conventions for the
/// name, and the result has no name. Throws std::runtime_error, as std::locale does, for a name
/// that the platform rejects.
NLS_EXPORT std::locale ap_make_locale(const std::locale& base, const char* name,
                                      const char* iso_name, std::locale::category category);

/// True where the standard library builds no named locale but "C" (mingw-w64): the locales
/// ap_make_locale gives then have no name.
NLS_EXPORT bool ap_unnamed_locales();

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

/// The locale that a POSIX locale value names, on every platform. Both fields are empty when
/// `value` is null, not of that form, or of a language that no known locale speaks.
NLS_EXPORT apPosixLocale ap_posix_locale(const char* value);

/// The user's list of languages in order of preference, as GNU tools read it from LANGUAGE
/// ("fr:de", entries being POSIX locale values or library names), or null.
NLS_EXPORT const char* ap_language_priority();

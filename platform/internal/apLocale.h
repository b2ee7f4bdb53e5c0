#pragma once

// The platform's locale information, in the library's terms: locales are named as "en-GB" is,
// and what is known of them comes as the library's 8-bit text. Windows answers on Windows; on
// POSIX systems a table of Windows locales answers (platform/posix/apWinLocaleTable.cpp), with
// the user's locale taken from NLS_USER_LOCALE or the POSIX locale variables.

#include <platform/apExport.h>
#include <platform/utString.h>

#include <vector>

/// What ap_locale_field tells of a locale; the examples are en-GB's.
enum class apLocaleField {
    english_language,      ///< the English name of its language, of one word or more: "English"
    language_abbreviation, ///< "ENG"
    country_abbreviation,  ///< "GBR"
    iso639,                ///< the ISO 639 language code: "en"
    iso3166,               ///< the ISO 3166 country code: "GB"
    ansi_codepage,         ///< the ANSI code page as a decimal number: "1252"; "0" for none
    name,                  ///< the locale's own name: "en-GB"
};

/// The name of the user's locale ("en-GB"), asked afresh at each call; POSIX: NLS_USER_LOCALE
/// when it names a known locale ("en-GB"; letter case ignored, '_' taken for '-'), else the first
/// of LC_ALL, LC_MESSAGES and LANG that names one ("de_DE.UTF-8", "de_DE@euro"), else en-US.
NLS_EXPORT utString ap_user_locale();

/// How ap_locale_field gives a letter outside ASCII, which only English names have ("M\u0101ori").
enum class apLocaleText {
    ansi,  ///< as the library's 8-bit text: in the ANSI code page on Windows, whose closest form
           ///< stands for a letter it lacks ("Maori"); empty text when it has none
    ascii, ///< as '?' ("M?ori"), the same on every platform
};

/// A field of the locale called `locale` (letter case ignored), in the form `text`. A bare
/// language ("de") names its neutral locale, for which POSIX answers with its first locale. Empty
/// text when no locale has that name or the platform cannot give the field.
NLS_EXPORT utString ap_locale_field(const utString& locale, apLocaleField field,
                                    apLocaleText text = apLocaleText::ansi);

/// The names of the locales that the platform supports, in the order in which it lists them.
NLS_EXPORT std::vector<utString> ap_locales();

#pragma once

// The C run-time and standard-library locale calls, for the library's locale names. Windows takes
// "German", "English_GBR" and "" (the user's default locale) as they stand; a POSIX C library
// wants installed names such as de_DE.UTF-8, so platform/posix maps them here.

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

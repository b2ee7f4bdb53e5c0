#pragma once

// The C run-time and standard-library locale calls, for the library's locale names ("German",
// "English_GBR", "Portuguese-BRA", and "" for the user's default locale). Each backend maps them
// to what its run time takes: installed names such as de_DE.UTF-8 on POSIX; on Windows the names
// as they stand, else "Language_CTY" for "Language-CTY" or for the table's ISO name.

#include <platform/apExport.h>

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

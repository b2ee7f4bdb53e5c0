#pragma once

// Locale information as the domain manager's locale sources share it. Internal: not installed;
// nls_language_of is exported for the nls-catalog tool.

#include <platform/internal/apLocale.h>
#include <platform/utString.h>

#include <vector>

class nlsLanguage;

/// A field of the locale `locale` as text; empty ("", not null) when the query fails or when the
/// answer would not fit a buffer of `limit` characters with its NUL.
utString nls_locale_info(const utString& locale, apLocaleField field, int limit = 500);
/// The same of the user's locale, asked afresh.
utString nls_user_locale_info(apLocaleField field, int limit = 500);
/// A language's English name up to its first blank: "Chinese (Simplified)" gives "Chinese".
utString nls_first_word(const utString& name);
/// The library's language name for a POSIX locale value: the table's name for its ISO name
/// ("de_DE.UTF-8" gives German, "pt_BR" Portuguese-BRA), else the language with its country
/// ("de_AT" gives German-AUT) or alone ("de" gives German); "C" for C, POSIX and C.<codeset>. Any
/// other value (a library name, an ISO name, "check") comes back as it is.
NLS_EXPORT utString nls_language_of(const utString& value);
/// True for a POSIX locale name: a language of two or three lower-case letters, then the end, a
/// territory (_), a codeset (.) or a modifier (@): "de", "nb_NO.UTF-8", "sr@latin".
bool nls_is_posix_locale(const utString& name);
/// The folder names that GNU tools try for a POSIX locale name, most specific first: for
/// ll_CC.codeset@modifier, each combination of the parts with the modifier before those without,
/// the territory before those without, and the codeset as given before its normalised form
/// (letters and digits in lower case, "iso" before a number): de_AT.UTF-8, de_AT.utf8, de_AT,
/// de.UTF-8, de.utf8, de. None for a name that is not a POSIX locale name.
std::vector<utString> nls_locale_variants(const utString& name);
/// The ISO 639 code of the language a name means ("en" for English, English-GBR, en_GB.UTF-8 or
/// en@quot); empty when it names none ("C", "check").
utString nls_language_code(const utString& name);
/// The folders that catalogue trees laid out the POSIX way (/usr/share/locale) use for a language,
/// most specific first: de_DE and de for German, de_AT and de for German-AUT, nl for Dutch. None
/// for a language that no locale speaks.
std::vector<utString> nls_posix_folders(const nlsLanguage& language);

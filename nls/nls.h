#pragma once

/// @file
/// The C interface: plain C (C99) over the same library, for programs in C and for languages that
/// load libraries through a C interface. No C++ type crosses it and no exception leaves it.
///
/// Texts that a lookup returns stay valid until the database that gave them is destroyed (an
/// untranslated message is the very pointer passed in); language names stay valid for the life
/// of the process. Every text is owned by the library: never free or change it.

#include <platform/apExport.h>

#ifdef __cplusplus
extern "C" {
#endif

/// The version of this interface: raised by one whenever a function is added. A function, once
/// published, keeps its name, signature and meaning.
#define NLS_C_API_VERSION 1

/// The codes that the functions return and that reports carry. Bit 0 marks an error; warnings
/// carry 1024.
enum {
    NLS_OK = 0,                         ///< no problem
    NLS_ERROR_FAILED = 1,               ///< the settings store could not read or store the language
    NLS_ERROR_CATALOG_STAT = 9,         ///< a catalogue that cannot be read whole or is too short
    NLS_ERROR_CATALOG_OPEN = 17,        ///< a catalogue file that cannot be opened
    NLS_ERROR_CATALOG_MAGIC = 33,       ///< a file that is not a catalogue, or is damaged
    NLS_ERROR_CATALOG_REVISION = 65,    ///< a catalogue revision other than 0
    NLS_ERROR_NO_DOMAIN = 129,          ///< a database to unregister was not registered
    NLS_ERROR_MEMORY = 257,             ///< no memory
    NLS_ERROR_ARGUMENT = 513,           ///< a null pointer where one is not allowed
    NLS_ERROR_LOCALE_SETUP = 3072,      ///< the process locale for a language could not be set
    NLS_ERROR_CATALOG_LANGUAGE = 5120,  ///< no catalogue of a domain for a language
    NLS_ERROR_DOMAIN_EXISTS = 17408,    ///< a database registered twice
    NLS_ERROR_CATALOG_FALLBACK = 33792, ///< a domain's catalogue found for a shorter language name
    NLS_ERROR_CATALOG_FILE = 66560,     ///< the file of a catalogue that did not load (before why)
    NLS_ERROR_CATALOG_SEARCH = 132096,  ///< where a missing catalogue was looked for (verbose)
};

/// The messages of one text domain. Opaque: made by nls_database_create, freed by
/// nls_database_destroy.
typedef struct nls_database nls_database;

/// Receives one report: its code, its one-line text ("NLS Warning: Catalog <hello> failed to load
/// for language <French>", valid during the call) and the pointer given with the handler. Returns
/// non-zero to carry on, zero when the failure is fatal (an error then ends in an assertion
/// report).
typedef int (*nls_report_handler)(int code, const char* text, void* user);

/// Receives one available language: the library's name ("Portuguese-BRA"), its ISO name
/// ("pt-BR"), both valid during the call, and the pointer given with the callback.
typedef void (*nls_language_callback)(const char* name, const char* iso_name, void* user);

/// NLS_C_API_VERSION as the library was built with it.
NLS_EXPORT int nls_api_version(void);

/// Creates the database of `domain` with catalogues under
/// `directory/LANGUAGE/LC_MESSAGES/DOMAIN.mo` (a null directory: NLSPATH and the default folders
/// only) and stores it in `*database`. A missing catalogue is reported, not refused: the database
/// then gives messages back untranslated. NLS_OK, NLS_ERROR_ARGUMENT (null domain or database) or
/// NLS_ERROR_MEMORY, with `*database` null.
NLS_EXPORT int nls_database_create(const char* directory, const char* domain,
                                   nls_database** database);
/// Destroys `database` (null: nothing); the texts it gave become invalid.
NLS_EXPORT void nls_database_destroy(nls_database* database);
/// The language of `database` (the environment's, or "C", while none was chosen); null for a null
/// database.
NLS_EXPORT const char* nls_database_language(const nls_database* database);

/// Lookups in `database`, or in the current domain's database when it is null. The translation,
/// or `message` itself; for plurals the form for `n`, or without one `singular` for n == 1 and
/// `plural` otherwise; with a context, the entry of `message` in `context`.
///@{
NLS_EXPORT const char* nls_gettext(const nls_database* database, const char* message);
NLS_EXPORT const char* nls_ngettext(const nls_database* database, const char* singular,
                                    const char* plural, unsigned long n);
NLS_EXPORT const char* nls_pgettext(const nls_database* database, const char* context,
                                    const char* message);
NLS_EXPORT const char* nls_npgettext(const nls_database* database, const char* context,
                                     const char* singular, const char* plural, unsigned long n);
///@}

/// Lookups as above, in the first database created for `domain` (null: the current domain); the
/// current domain stays selected.
///@{
NLS_EXPORT const char* nls_dgettext(const char* domain, const char* message);
NLS_EXPORT const char* nls_dngettext(const char* domain, const char* singular, const char* plural,
                                     unsigned long n);
NLS_EXPORT const char* nls_dpgettext(const char* domain, const char* context, const char* message);
NLS_EXPORT const char* nls_dnpgettext(const char* domain, const char* context, const char* singular,
                                      const char* plural, unsigned long n);
///@}

/// Makes the first database of `domain` the current one and returns its catalogue's path (""
/// without a catalogue; valid until that database is destroyed), or null when no database has that
/// domain. A null or empty name only returns the current database's path.
NLS_EXPORT const char* nls_textdomain(const char* domain);

/// Makes `name` the language of every database and of the process locale: a library name
/// ("German", "Portuguese-BRA"), an ISO name ("de-DE") or a POSIX locale name ("de_DE.UTF-8";
/// "C" for no translation). NLS_OK, NLS_ERROR_LOCALE_SETUP when the process locale could not be
/// set (the catalogues switch all the same), or NLS_ERROR_ARGUMENT.
NLS_EXPORT int nls_set_language(const char* name);
/// The language that nls_set_language chose, a POSIX name as the library's ("de_DE.UTF-8" gives
/// "German"; library and ISO names as given); "" while the environment's applies
/// (nls_database_language tells which that is).
NLS_EXPORT const char* nls_language(void);
/// The ISO name ("de-DE") of a library, ISO or POSIX language name; "en-GB" for a name no locale
/// has, null for a null name.
NLS_EXPORT const char* nls_iso_name(const char* language);
/// Translations of `domain` come in `codeset` ("UTF-8", "ISO-8859-1") from now on, in every
/// database of that name; a null codeset changes nothing. Returns the codeset bound, or null while
/// none is (translations then come in the charset of the process's locale) or for a null domain.
NLS_EXPORT const char* nls_bind_textdomain_codeset(const char* domain, const char* codeset);
/// Declares the language the program's messages are written in ("en", "English"): a database in
/// that language needs no catalogue and answers untranslated without a report. Null or "" declares
/// none. NLS_OK.
NLS_EXPORT int nls_set_source_language(const char* name);
/// Calls `callback` for each language whose catalogue `database` has, or, for a null database,
/// that every database has, sorted by name. NLS_OK, NLS_ERROR_ARGUMENT (null callback) or
/// NLS_ERROR_MEMORY.
NLS_EXPORT int nls_list_languages(const nls_database* database, nls_language_callback callback,
                                  void* user);

/// Keeps the display language that the user chose as the value "CurrentLanguage" under the
/// current user's registry key `key_path` ("Software\\Maker\\App"); null stops keeping it. While
/// no language is chosen, the stored one, where its code page suits the user's, comes before
/// LC_ALL, LC_MESSAGES and LANG when the first database works the environment's language out.
/// NLS_OK or NLS_ERROR_MEMORY.
NLS_EXPORT int nls_set_settings_key(const char* key_path);
/// Stores `language` (a library, ISO or POSIX name; one outside the library's table as "") as
/// the display language. NLS_OK, also without a key, NLS_ERROR_FAILED or NLS_ERROR_ARGUMENT.
NLS_EXPORT int nls_set_display_language(const char* language);
/// Sets `*language` to the stored display language's library name, "" when none is stored or no
/// key is set. NLS_OK, NLS_ERROR_FAILED (a stored value that could not be read) or
/// NLS_ERROR_ARGUMENT.
NLS_EXPORT int nls_get_display_language(const char** language);

/// Sends every report, the databases' and the language selection's, to `handler` with `user`;
/// null goes back to the handlers in place before (by default one line on standard error).
NLS_EXPORT void nls_set_report_handler(nls_report_handler handler, void* user);

#ifdef __cplusplus
}
#endif

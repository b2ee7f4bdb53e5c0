#pragma once

#include <nls/fillers/coiFiller.h>
#include <platform/apExport.h>
#include <platform/utString.h>

#include <locale>
#include <memory>

class nlsApplicationSettings;
class nlsDataBase;
class nlsDataBasecoDListPtrcoPtrcoDList;
class nlsErrorData;
class nlsLanguage;
class nlsLoadedDomain;

/// @file
/// The domain manager: the process-wide state of the library.

/// The purpose of a language request.
enum nlsLang {
    nlsLANG_NONE = 0,     ///< no request made yet
    nlsLANG_DATABASE = 1, ///< for a message database
    nlsLANG_LOCALE = 2,   ///< for the process locale
    nlsLANG_REGIONAL = 3, ///< the plain regional language, without a country extension
};

/// The process-wide state of the library: the registered databases, the shared catalogues, the
/// current domain and language, and the process locale. A class of static members only.
class NLS_EXPORT nlsDomainManager {
public:
    /// A report handler: non-zero to carry on, zero when the failure is fatal.
    using handler_type = int (*)(const nlsErrorData& data);

    // Reports.

    /// The one-line text of a report, beginning "NLS Error: " or "NLS Warning: ". Like strerror,
    /// it writes into a buffer of the calling thread's own, valid until that thread's next call.
    static const char* error_to_string(const nlsErrorData& data);
    /// Turns reports of fallback catalogue loads on (non-zero) or off; returns the old setting.
    static int set_verbose_info(int value);
    static int verbose_info(); ///< the setting that set_verbose_info made
    /// Installs `handler` for the manager's own reports (null silences them) and returns the
    /// handler installed before.
    static handler_type error_handler(handler_type handler);

    // Domains and translation.

    /// Selects the first registered database of that domain name and returns its catalogue path
    /// ("" without a catalogue), or null when no database has the name. A null or empty name
    /// returns the current database's path without changing anything.
    static const char* textdomain(const char* domain);
    /// The translation of `message` in the current database's catalogue, or `message` itself.
    static const char* gettext(const char* message);
    /// The form for `n` of the translation of `singular` in the current database's catalogue;
    /// without one, `singular` for n == 1 and `plural` otherwise.
    static const char* ngettext(const char* singular, const char* plural, unsigned long n);
    /// The translation of `message` in `context` in the current database's catalogue, or
    /// `message` itself.
    static const char* pgettext(const char* context, const char* message);
    /// ngettext for `singular` in `context`.
    static const char* npgettext(const char* context, const char* singular, const char* plural,
                                 unsigned long n);
    /// gettext in the first registered database of `domain` (null: the current one); the current
    /// domain stays selected.
    static const char* dgettext(const char* domain, const char* message);
    /// ngettext in the first registered database of `domain` (null: the current one).
    static const char* dngettext(const char* domain, const char* singular, const char* plural,
                                 unsigned long n);
    /// pgettext in the first registered database of `domain` (null: the current one).
    static const char* dpgettext(const char* domain, const char* context, const char* message);
    /// npgettext in the first registered database of `domain` (null: the current one).
    static const char* dnpgettext(const char* domain, const char* context, const char* singular,
                                  const char* plural, unsigned long n);
    /// The current language ("English" while NO_TRANSLATION is selected); the string stays
    /// valid for the life of the process.
    static const utString& language();
    /// "NO_TRANSLATION"
    static const utString& no_translation_language();

    /// Translations of `domain` come in `codeset` ("UTF-8", "ISO-8859-1") from now on, in every
    /// database of that name, now and later; null changes nothing. Returns the codeset bound, or
    /// null while none is: then they come in the charset of the process's locale at the time.
    static const char* bind_textdomain_codeset(const char* domain, const char* codeset);

    // Language and locale selection.

    /// Declares the language that the program's messages are written in ("English", "en"): a
    /// database in that language needs no catalogue, and answers untranslated without a report.
    /// Empty (the default) declares none.
    static void set_source_language(const utString& name);
    /// The language set_source_language declared; empty while none is.
    static const utString& source_language();

    /// Makes `name` the current language, has every database search again and sets the process
    /// locale; returns 0 or nlsERROR_LOCALE_SETUP.
    static unsigned int language(const utString& name);
    /// Sets the process locale for `category` from the current or the environment language.
    static unsigned int setlocale(int category);
    /// The environment's language for `purpose`: "check", the display-language setting, LC_ALL,
    /// LC_MESSAGES, LANG or the regional settings. Null or empty when nothing gave one. The text
    /// stays valid for the life of the process.
    static const char* env_language(nlsLang purpose);
    /// Switches the process locale to the user's regional language, catalogues untouched.
    static void set_regional_locale();
    /// Lets the process locale follow the current language again.
    static void unset_regional_locale();

    // Locale names.

    /// The ISO locale name of a library language name ("English-GBR" gives "en-GB"); "en-GB"
    /// when no supported locale matches.
    static utString get_iso_locale(const utString& language);
    /// The Windows three-letter language abbreviation of an ISO locale name; "ENG" when unknown.
    static utString get_abbreviated_language(const utString& locale_name);
    /// The library's language name of the user's regional settings ("English-GBR"), without
    /// the country for nlsLANG_REGIONAL or when language and country abbreviations agree.
    static void get_regional_language(utString* out, nlsLang purpose);

    // The persisted display language.

    /// Takes `settings` over (null removes it); the object held before is deleted.
    static void set_application_settings(std::unique_ptr<nlsApplicationSettings> settings);
    /// The settings object's display language; without an object, the empty record and code 0.
    static nlsErrorData get_display_language(nlsLanguage& language);
    /// Stores `language` through the settings object; without an object, code 0 and nothing
    /// stored.
    static nlsErrorData set_display_language(nlsLanguage language);

    // Available languages.

    /// Delivers, sorted by name, the languages that every registered database lists; code 0.
    static nlsErrorData list_available_languages(coiFiller<nlsLanguage> filler);

    // Numbers.

    /// Makes the named locale global when the global locale has no name.
    static bool set_cpp_named_locale();
    /// Makes the numeric locale (no digit grouping) global when the global locale has a name.
    static bool set_cpp_num_locale();
    /// Numbers follow the language (non-zero) or the "C" conventions (0); returns the old flag.
    static int numeric_translation(int flag);

protected:
    // The manager's work on databases and catalogues, and its cache of the environment's
    // language, which keep the state below.
    friend class nlsRegistry;
    friend class nlsEnvironmentLanguage;

    /// 1 without a handler or for code 0, else the handler's result.
    static int error(const nlsErrorData& data);

    /// Registers `database`, switching it to the chosen language if there is one; the first
    /// registration sets the process locale up. nlsERROR_DOMAIN_EXISTS for one registered
    /// already; the record lives until the next call.
    static const nlsErrorData& add(nlsDataBase* database);
    /// Unregisters `database`, and unselects it; nlsERROR_NO_DOMAIN when it was not registered.
    static unsigned int remove(nlsDataBase* database);
    /// The catalogue loaded from `path`, or from the same file under another spelling of the
    /// path, with one more use counted; null when there is none.
    static nlsLoadedDomain* access_domain(const utString& path);
    /// Reads the catalogue of `path`, its one use counted; null, with the code in `*error`, when
    /// it fails to load.
    static nlsLoadedDomain* load_domain(const utString& path, unsigned int* error);
    /// Gives one use of `domain` back; the last use frees it.
    static void unload_domain(nlsLoadedDomain* domain);

    /// Sets the C run-time and standard-library locales to one name; 1 on success.
    static int do_setlocale(int category, const utString& name);
    /// A language name as the C run time takes it: "check" gives "C", and the user's own
    /// language with its country ("English-GBR") gives language_country ("English_GBR").
    static utString fix_setlocale_argument(const utString& name);

    /// The manager's report handler; null silences its reports.
    static handler_type the_error_handler;
    /// Non-zero while fallback catalogue loads are reported.
    static int verbose_loading_info;

    /// The registered databases in registration order (null while there is none), the current
    /// one, and the loaded catalogues in ascending order of path.
    ///@{
    static nlsDataBasecoDListPtrcoPtrcoDList* the_databases;
    static nlsDataBase* the_current_domain;
    static nlsLoadedDomain* the_loaded_domains;
    ///@}

    /// The language that language(name) chose; empty while the environment's applies.
    static utString the_current_language;
    /// The environment's language, cached for the purpose in the_env_type.
    static utString the_env_language;
    /// The purpose for which the_env_language was computed.
    static nlsLang the_env_type;
    /// Non-zero: the environment's language skips LC_ALL, LC_MESSAGES and LANG.
    static int the_regional_settings_flag;
    /// The language taken from the user's own settings (display language or regional settings),
    /// whose process locale is the user's default one ("").
    static utString s_users_env;
    /// The settings object that set_application_settings handed over; null without one.
    static std::unique_ptr<nlsApplicationSettings> s_application_settings;
    /// "NO_TRANSLATION", and the current and environment languages it stands for ("English",
    /// "English-GBR").
    ///@{
    static utString s_no_translation_language;
    static utString s_no_translation_current_language;
    static utString s_no_translation_env_language;
    ///@}

    /// Non-zero while numbers follow the language rather than the "C" conventions.
    static int the_numeric_translation_flag;
    /// The standard-library locale of the language last set (the user's default one at load),
    /// and that locale with numbers printed without digit grouping.
    ///@{
    static std::locale s_cpp_named_locale;
    static std::locale s_cpp_num_locale;
    ///@}

private:
    nlsDomainManager() {}
    ~nlsDomainManager() {}

    /// setlocale and do_setlocale, for callers that hold the library's lock already.
    ///@{
    static unsigned int apply_locale(int category);
    /// `posix_value`: the POSIX locale that the user gave the language as, taken first.
    static int set_locale(int category, const utString& name,
                          const utString& posix_value = utString());
    ///@}
    /// Writes the user's language name into `buffer` (500 characters at least).
    static char* get_language(char* buffer);
    static int the_default_error_handler(const nlsErrorData& data);
};

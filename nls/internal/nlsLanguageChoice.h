#pragma once

// Internal: not installed.

#include <nls/nlsDomainManager.h>
#include <nls/nlsLanguage.h>
#include <platform/utString.h>

#include <functional>

/// What the environment says about the user's language, read at one moment.
struct nlsEnvironment {
    /// LC_ALL, LC_MESSAGES and LANG as set (null when unset), and LANGUAGE.
    ///@{
    utString lc_all, lc_messages, lang;
    utString language_list;
    ///@}
    /// Non-zero: LC_ALL, LC_MESSAGES and LANG give no language ("check" still counts).
    int regional_settings_flag = 0;
    /// The stored display language, when a settings object gives one whose code page suits the
    /// user's; else the empty record. Asked only when needed.
    std::function<nlsLanguage()> display_language;
    /// The user's regional language (English-GBR). Asked only when needed.
    std::function<utString()> regional_language;
};

/// The language that the environment chooses, and what goes with it.
struct nlsLanguageChoice {
    /// Where the language came from.
    enum Source { none, check, display, variables, regional };

    /// "check", the display language, the library's name for the variables' value ("German" for
    /// de_DE.UTF-8, the value itself when no known locale speaks it), or the regional language.
    utString language;
    /// The POSIX locale value the language stands for ("de_DE.UTF-8", "C.UTF-8"); empty when it
    /// came from elsewhere.
    utString locale_value;
    /// The user's LANGUAGE list, where it applies: the language comes from the variables, whose
    /// value is neither "C" nor "POSIX".
    utString priority;
    Source source = none;
};

/// The environment's choice, in order of precedence: "check" in the first of LC_ALL,
/// LC_MESSAGES and LANG that is set and not empty; the display language; that variable's value;
/// the regional language. A function of `environment` alone.
nlsLanguageChoice nls_choose_language(const nlsEnvironment& environment);

/// The environment's language as the manager caches it: computed when the cache is empty, and
/// dropped by a request of another purpose than the last (nlsLANG_DATABASE never drops it). The
/// callers hold the library's lock.
class nlsEnvironmentLanguage {
public:
    /// The cached choice for `purpose`, computed afresh when the cache says so.
    static const nlsLanguageChoice& get(nlsLang purpose);
    /// The POSIX locale value that the language called `name` stands for: that of the language
    /// chosen with language(name), or of the environment's; empty for any other name.
    static utString locale_value_of(const utString& name);
    /// Remembers the language that language(name) chose, as the library's name for `name`.
    static void choose(const utString& name, const utString& library_name);
};

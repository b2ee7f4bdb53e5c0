// nlsDomainManager: the choice of language (explicit, "check", the display-language setting, the
// environment, the regional settings) and the C run-time and standard-library locales that follow
// it.

#include <nls/nlsDomainManager.h>

#include <nls/internal/nlsChangeGuard.h>
#include <nls/internal/nlsIntern.h>
#include <nls/internal/nlsLanguageChoice.h>
#include <nls/internal/nlsLocaleInfo.h>
#include <nls/internal/nlsRegistry.h>
#include <nls/nlsApplicationSettings.h>
#include <nls/nlsErrorData.h>
#include <nls/nlsLanguage.h>
#include <nls/nlsNumPunct.h>
#include <nls/nlsUtils.h>
#include <platform/internal/apCrtLocale.h>

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <exception>

namespace {

// Assertion reports name a fixed line rather than __LINE__: filters that applications keep for
// these reports match on it, whatever this file's layout.
constexpr int kSetLocaleAssertLine = 768;

// The user's default locale as the library's locale functions see it, when the platform builds
// it as a named locale; otherwise the classic locale. It must have a name: set_cpp_num_locale
// tells the locales of load time from those of a locale-setting step by it.
std::locale user_default_locale() {
    try {
        std::locale user = ap_make_locale(std::locale::classic(), "", nullptr, std::locale::all);
        if (user.name() != "*") return user;
    } catch (const std::exception&) {
    }
    return std::locale::classic();
}

std::locale::category cpp_category(int category) {
    switch (category) {
    case LC_COLLATE:
        return std::locale::collate;
    case LC_CTYPE:
        return std::locale::ctype;
    case LC_MONETARY:
        return std::locale::monetary;
    case LC_NUMERIC:
        return std::locale::numeric;
    case LC_TIME:
        return std::locale::time;
    default:
        return std::locale::all;
    }
}

} // namespace

utString nlsDomainManager::the_current_language;
utString nlsDomainManager::the_env_language;
nlsLang nlsDomainManager::the_env_type = nlsLANG_NONE;
int nlsDomainManager::the_regional_settings_flag = 0;
utString nlsDomainManager::s_users_env(utStringLit{}, "");
std::unique_ptr<nlsApplicationSettings> nlsDomainManager::s_application_settings;
utString nlsDomainManager::s_no_translation_language(utStringLit{}, "NO_TRANSLATION");
utString nlsDomainManager::s_no_translation_current_language(utStringLit{}, "English");
utString nlsDomainManager::s_no_translation_env_language(utStringLit{}, "English-GBR");

int nlsDomainManager::the_numeric_translation_flag = 0;
std::locale nlsDomainManager::s_cpp_named_locale = user_default_locale();
// Built once: a named locale costs as much as the rest of the library's start-up.
std::locale nlsDomainManager::s_cpp_num_locale = s_cpp_named_locale;

const utString& nlsDomainManager::language() {
    nlsChangeGuard guard;
    if (the_current_language == s_no_translation_language) return s_no_translation_current_language;
    return nls_intern(the_current_language);
}

const utString& nlsDomainManager::no_translation_language() {
    return s_no_translation_language;
}

const char* nlsDomainManager::env_language(nlsLang purpose) {
    nlsChangeGuard guard;
    return nls_intern(nlsEnvironmentLanguage::get(purpose).language).text();
}

void nlsDomainManager::set_source_language(const utString& name) {
    nlsChangeGuard guard;
    nlsRegistry::set_source_language(name);
}

const utString& nlsDomainManager::source_language() {
    nlsChangeGuard guard;
    return nls_intern(nlsRegistry::source_language());
}

char* nlsDomainManager::get_language(char* buffer) {
    utString name = nls_first_word(nls_user_locale_info(apLocaleField::english_language));
    std::memcpy(buffer, name.c_str(), static_cast<std::size_t>(name.length()) + 1);
    return buffer;
}

utString nlsDomainManager::fix_setlocale_argument(const utString& name) {
    if (name == utString(utStringLit{}, "check")) return utString(utStringLit{}, "C");
    utString country = nls_user_locale_info(apLocaleField::country_abbreviation);
    utString language = nls_first_word(nls_user_locale_info(apLocaleField::english_language));
    if (name == language + utString(utStringLit{}, "-") + country)
        return language + utString(utStringLit{}, "_") + country;
    return name;
}

int nlsDomainManager::do_setlocale(int category, const utString& name) {
    nlsChangeGuard guard;
    return set_locale(category, name, nlsEnvironmentLanguage::locale_value_of(name));
}

int nlsDomainManager::set_locale(int category, const utString& name,
                                 const utString& posix_value) {
    utString users = s_users_env;
    if (!users.empty()) users = fix_setlocale_argument(users);
    utString chosen = name == users ? utString(utStringLit{}, "") : name;
    // The language table knows the ISO names of its languages; the platform maps with them.
    nlsLanguage record(chosen.c_str());
    const char* iso = record.iso_name().c_str();
    // A language that the user gave as a POSIX locale (de_DE.ISO-8859-1, C.UTF-8) takes that very
    // locale where the run time has it, so that the user's codeset stays.
    if (!chosen.empty() && !posix_value.empty() &&
        ap_setlocale(category, posix_value.c_str(), nullptr)) {
        chosen = posix_value;
        iso = nullptr;
    } else if (!ap_setlocale(category, chosen.c_str(), iso)) {
        return 0;
    }
    try {
        std::locale named =
            ap_make_locale(std::locale(), chosen.c_str(), iso, cpp_category(category));
        // A platform whose locales have no names (mingw-w64) keeps a whole language's all the same.
        if (named.name() != "*" || (ap_unnamed_locales() && category == LC_ALL))
            s_cpp_named_locale = named;
        // Where `named` holds the language's numbers, its decimal point is at hand.
        bool numbers = category == LC_ALL || category == LC_NUMERIC;
        std::locale num(named, numbers ? new nlsNumPunct(named, 0)
                                       : new nlsNumPunct(chosen.c_str(), 0));
        s_cpp_num_locale = num;
        std::locale::global(num);
    } catch (const std::exception&) {
        return 0;
    }
    return 1;
}

unsigned int nlsDomainManager::setlocale(int category) {
    nlsChangeGuard guard;
    return apply_locale(category);
}

unsigned int nlsDomainManager::apply_locale(int category) {
    nlsErrorData record(nlsERROR_NONE);
    // NO_TRANSLATION counts as a chosen language ("English"), so only an empty choice asks the
    // environment.
    utString wanted;
    if (the_current_language.empty()) {
        wanted = nlsEnvironmentLanguage::get(nlsLANG_LOCALE).language;
    } else {
        wanted = the_current_language;
        if (wanted == s_no_translation_language) {
            char buffer[500];
            wanted = utString(get_language(buffer));
        }
    }
    if (!wanted.empty()) {
        // The POSIX value goes by the language's own name, not the one rewritten for the run time.
        utString argument = fix_setlocale_argument(wanted);
        if (!set_locale(category, argument, nlsEnvironmentLanguage::locale_value_of(wanted)))
            record = nlsErrorData(nlsERROR_LOCALE_SETUP, argument);
    } else if (!set_locale(category, utString(utStringLit{}, ""))) {
        record = nlsErrorData(nlsERROR_LOCALE_SETUP, utString(utStringLit{}, "????"));
    }
    nlsUtils::lookup_decimal_point();
    the_numeric_translation_flag = record.code() == nlsERROR_NONE;
    if (record.code() != nlsERROR_NONE && the_error_handler && !the_error_handler(record)) {
        ut_report_assert_failure("nls/nlsDomainManager", kSetLocaleAssertLine,
                                 "nlsDomainManager::setlocale| Failed to set locale",
                                 "nlsDomainManager::setlocale", "0");
    }
    return record.code();
}

unsigned int nlsDomainManager::language(const utString& name) {
    nlsChangeGuard guard;
    return nlsRegistry::choose_language(name);
}

void nlsDomainManager::set_regional_locale() {
    nlsChangeGuard guard;
    utString kept = the_current_language;
    get_regional_language(&the_current_language, nlsLANG_REGIONAL);
    apply_locale(LC_ALL);
    the_current_language = kept;
}

void nlsDomainManager::unset_regional_locale() {
    nlsChangeGuard guard;
    apply_locale(LC_ALL);
}

// Where locales have no names (mingw-w64), the named locale is told from the numeric one by
// identity: "has no name" then means "is not the named locale".
bool nlsDomainManager::set_cpp_named_locale() {
    nlsChangeGuard guard;
    std::string named = s_cpp_named_locale.name();
    std::string global = std::locale().name();
    if (!named.empty()) {
        if (global == "*" && std::locale() != s_cpp_named_locale)
            std::locale::global(s_cpp_named_locale);
        return true;
    }
    return !global.empty() && global != "*";
}

bool nlsDomainManager::set_cpp_num_locale() {
    nlsChangeGuard guard;
    std::string num = s_cpp_num_locale.name();
    if (num.empty() || num != "*") return false;
    if (std::locale().name() != "*" || std::locale() == s_cpp_named_locale)
        std::locale::global(s_cpp_num_locale);
    return true;
}

int nlsDomainManager::numeric_translation(int flag) {
    nlsChangeGuard guard;
    int old = the_numeric_translation_flag;
    the_numeric_translation_flag = flag;
    if (flag) {
        apply_locale(LC_NUMERIC);
    } else {
        const char* current = std::setlocale(LC_NUMERIC, nullptr);
        if (!current || std::strcmp(current, "C") != 0)
            set_locale(LC_NUMERIC, utString(utStringLit{}, "C"));
    }
    nlsUtils::lookup_decimal_point();
    return old;
}

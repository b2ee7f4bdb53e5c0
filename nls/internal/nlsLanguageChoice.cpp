#include <nls/internal/nlsLanguageChoice.h>

#include <nls/internal/nlsLocaleInfo.h>
#include <nls/nlsApplicationSettings.h>
#include <nls/nlsErrorData.h>
#include <platform/internal/apCrtLocale.h>

#include <cstdlib>

nlsLanguageChoice nls_choose_language(const nlsEnvironment& environment) {
    nlsLanguageChoice choice;
    utString value;
    for (const utString* variable :
         {&environment.lc_all, &environment.lc_messages, &environment.lang}) {
        if (!variable->empty()) {
            value = *variable;
            break;
        }
    }
    if (value == utString(utStringLit{}, "check")) {
        choice.language = value;
        choice.source = nlsLanguageChoice::check;
        return choice;
    }
    if (environment.display_language) {
        nlsLanguage display = environment.display_language();
        if (!display.empty()) {
            choice.language = display.name();
            choice.source = nlsLanguageChoice::display;
            return choice;
        }
    }
    if (environment.regional_settings_flag == 0 && !value.empty()) {
        // Users set POSIX names (de_DE.UTF-8); databases and locales want the library's.
        choice.language = nls_language_of(value);
        choice.source = nlsLanguageChoice::variables;
        if (nls_is_posix_locale(value) || choice.language == utString(utStringLit{}, "C"))
            choice.locale_value = value;
        // GNU tools ignore LANGUAGE in the locales "C" and "POSIX" only (not in C.UTF-8).
        if (value != utString(utStringLit{}, "C") && value != utString(utStringLit{}, "POSIX"))
            choice.priority = environment.language_list;
        if (!choice.language.empty()) return choice;
        choice = nlsLanguageChoice();
    }
    if (environment.regional_language) {
        choice.language = environment.regional_language();
        choice.source = nlsLanguageChoice::regional;
    }
    return choice;
}

namespace {

// The environment's choice that goes with nlsDomainManager::the_env_language, and the language
// that language(name) chose with the POSIX value it was given as.
nlsLanguageChoice g_environment;
utString g_chosen_name, g_chosen_value;

} // namespace

const nlsLanguageChoice& nlsEnvironmentLanguage::get(nlsLang purpose) {
    using Manager = nlsDomainManager;
    if (purpose != Manager::the_env_type && purpose != nlsLANG_DATABASE)
        Manager::the_env_language = utString();
    if (Manager::the_current_language == Manager::s_no_translation_language &&
        Manager::the_env_language != Manager::s_no_translation_env_language) {
        Manager::the_env_language = Manager::s_no_translation_env_language;
        g_environment = nlsLanguageChoice();
        g_environment.language = Manager::the_env_language;
    }
    if (Manager::the_env_language.empty()) {
        nlsEnvironment environment;
        environment.lc_all = utString(std::getenv("LC_ALL"));
        environment.lc_messages = utString(std::getenv("LC_MESSAGES"));
        environment.lang = utString(std::getenv("LANG"));
        environment.language_list = utString(ap_language_priority());
        environment.regional_settings_flag = Manager::the_regional_settings_flag;
        if (Manager::s_application_settings) {
            environment.display_language = [] {
                nlsLanguage display;
                if (Manager::s_application_settings->get_display_language(display).code() !=
                        nlsERROR_NONE ||
                    !display.is_codepage_compatible())
                    return nlsLanguage();
                return display;
            };
        }
        environment.regional_language = [purpose] {
            utString regional;
            Manager::get_regional_language(&regional, purpose);
            return regional;
        };
        g_environment = nls_choose_language(environment);
        Manager::the_env_language = g_environment.language;
        if (g_environment.source == nlsLanguageChoice::display ||
            g_environment.source == nlsLanguageChoice::regional)
            Manager::s_users_env = g_environment.language;
    }
    // A cache that someone else filled (the manager's state restored) has no choice of its own.
    if (g_environment.language != Manager::the_env_language) {
        g_environment = nlsLanguageChoice();
        g_environment.language = Manager::the_env_language;
    }
    Manager::the_env_type = purpose;
    return g_environment;
}

utString nlsEnvironmentLanguage::locale_value_of(const utString& name) {
    if (!g_chosen_name.empty() && name == g_chosen_name) return g_chosen_value;
    if (!g_environment.language.empty() && name == g_environment.language)
        return g_environment.locale_value;
    return utString();
}

void nlsEnvironmentLanguage::choose(const utString& name, const utString& library_name) {
    g_chosen_name = library_name;
    g_chosen_value = nls_is_posix_locale(name) ? name : utString();
}

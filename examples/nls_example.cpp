// An application with two text domains, "editor" and "viewer", and a small tool for any catalogue
// tree. Run without arguments it tours the library on the shipped catalogues; see --help.

#include <nls/fillers/coiFillers.h>
#include <nls/nlsDataBase.h>
#include <nls/nlsDomainManager.h>
#include <nls/nlsErrorData.h>
#include <nls/nlsLanguage.h>
#include <nls/nlsNeutralNumbers.h>
#include <nls/nlsWinApplicationSettings.h>
#include <platform/apFileFinder.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

const char* const kUsage =
    "usage: nls_example [--dir DIR] [--domain NAME]... [--language NAME] [--list] [MESSAGE...]\n"
    "\n"
    "Without arguments, tours the library on the shipped catalogues: the language chosen and\n"
    "where it came from, the languages available in every domain, a few messages before and\n"
    "after switching language, and numbers under the language's conventions.\n"
    "\n"
    "  --dir DIR        catalogue directory, laid out as /usr/share/locale is\n"
    "                   (DIR/de/LC_MESSAGES/editor.mo) or by the library's names\n"
    "                   (DIR/German/LC_MESSAGES/editor.mo); default: the shipped catalogues\n"
    "  --domain NAME    a text domain to open (default: editor and viewer); MESSAGEs are\n"
    "                   translated in the first one\n"
    "  --language NAME  switch to this language first: a name such as German or\n"
    "                   Portuguese-BRA, a POSIX locale name such as de_DE.UTF-8, or an\n"
    "                   ISO name such as de-DE\n"
    "  --list           print the languages available in every domain, one per line\n"
    "  --help           this text\n"
    "\n"
    "The language otherwise comes from LANGUAGE (a list such as fr:de, tried first for each\n"
    "domain) and LC_ALL, LC_MESSAGES or LANG (a POSIX locale name such as de_DE.UTF-8, or a\n"
    "library name such as German), the display language stored under\n"
    "HKCU\\Software\\nls\\example, or the user's regional settings (on POSIX:\n"
    "NLS_USER_LOCALE, such as de-DE, or the POSIX locale).\n";

struct Options {
    std::string dir = NLS_EXAMPLE_CATALOGS;
    std::vector<std::string> domains;
    std::string language;
    bool list = false;
    std::vector<const char*> messages;
};

// Catalogue warnings are collected rather than printed, and shown where they help.
std::vector<std::string> g_notes;

int note(const nlsDataBase&, const nlsErrorData& data) {
    g_notes.push_back(nlsDomainManager::error_to_string(data));
    return 1;
}

void print_notes() {
    for (const std::string& text : g_notes)
        std::printf("  (%s)\n", text.c_str());
    g_notes.clear();
}

// Where the environment language came from, following the order the library applies.
std::string language_source() {
    const char* variables[] = {"LC_ALL", "LC_MESSAGES", "LANG"};
    const char* found = nullptr;
    for (const char* variable : variables) {
        const char* value = std::getenv(variable);
        if (value && *value) {
            found = variable;
            break;
        }
    }
    if (found && std::strcmp(std::getenv(found), "check") == 0)
        return std::string("the environment (") + found + "=check)";
    nlsLanguage stored;
    if (nlsDomainManager::get_display_language(stored).code() == 0 && !stored.empty() &&
        stored.is_codepage_compatible())
        return "the persisted display-language setting";
    if (found) return std::string("the environment (") + found + ")";
    return "the regional settings";
}

std::vector<nlsLanguage> available_languages() {
    std::vector<nlsLanguage> languages;
    nlsDomainManager::list_available_languages(coiFillers::make_filler(languages));
    return languages;
}

// A line of translated messages, one or two from each domain.
void show_messages(const char* label) {
    std::string line;
    const char* picks[][2] = {{"editor", "Welcome"},
                              {"editor", "Open file"},
                              {"editor", "Save changes?"},
                              {"viewer", "Zoom in"},
                              {"viewer", "Print"}};
    for (auto& pick : picks) {
        nlsDomainManager::textdomain(pick[0]);
        if (!line.empty()) line += " | ";
        line += nlsDomainManager::gettext(pick[1]);
    }
    std::printf("%-15s %s\n", label, line.c_str());
}

void show_numbers() {
    std::ostringstream stream; // made now, so it takes the current global locale
    stream << 1234567 << " and " << 2.5;
    char c_text[64];
    std::snprintf(c_text, sizeof c_text, "%.1f", 2.5);
    std::string neutral;
    {
        nlsNeutralNumbers block;
        char text[64];
        std::snprintf(text, sizeof text, "%.1f", 2.5);
        neutral = text;
    }
    std::printf("Numbers in %s: %s (stream), %s (printf); in a neutral-numbers block: %s\n",
                nlsDomainManager::language().c_str(), stream.str().c_str(), c_text,
                neutral.c_str());
}

int tour(const Options& options, const nlsDataBase& first) {
    std::printf("Catalogues: %s\n", options.dir.c_str());
    std::printf("Language:   %s, from %s\n", nlsDomainManager::env_language(nlsLANG_DATABASE),
                language_source().c_str());
    print_notes();
    std::string names;
    for (const nlsLanguage& language : available_languages())
        names += (names.empty() ? "" : ", ") + std::string(language.name().c_str());
    std::printf("Available:  %s (in both domains)\n\n", names.c_str());

    // The first database's language: LANGUAGE (fr:de) may have chosen another for it.
    show_messages(first.language());
    for (const char* language : {"German", "French", "Japanese", "Portuguese-BRA"}) {
        nlsDomainManager::language(utString(language));
        show_messages(language);
        print_notes();
    }
    std::printf("\n");
    nlsDomainManager::language(utString("German"));
    show_numbers();
    return 0;
}

bool parse(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        auto value = [&](const char* option) -> const char* {
            if (i + 1 < argc) return argv[++i];
            std::fprintf(stderr, "nls_example: %s needs a value (try --help)\n", option);
            return nullptr;
        };
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            std::exit(0);
        } else if (arg == "--dir" || arg == "--domain" || arg == "--language") {
            const char* v = value(arg.c_str());
            if (!v) return false;
            if (arg == "--dir") options.dir = v;
            if (arg == "--domain") options.domains.push_back(v);
            if (arg == "--language") options.language = v;
        } else if (arg == "--list") {
            options.list = true;
        } else if (arg.size() > 1 && arg[0] == '-' && arg != "--") {
            std::fprintf(stderr, "nls_example: unknown option %s (try --help)\n", argv[i]);
            return false;
        } else {
            if (arg == "--") ++i;
            for (; i < argc; ++i)
                options.messages.push_back(argv[i]);
        }
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parse(argc, argv, options)) return 2;
    if (!apPath(utString(options.dir.c_str())).is_directory()) {
        std::fprintf(stderr, "nls_example: no catalogue directory %s\n", options.dir.c_str());
        return 2;
    }
    bool tour_mode = argc == 1;
    if (options.domains.empty()) options.domains = {"editor", "viewer"};

    nlsDataBase::error_handler(note);
    nlsDomainManager::set_application_settings(
        std::make_unique<nlsWinApplicationSettings>(utString("Software\\nls\\example")));
    std::vector<std::unique_ptr<nlsDataBase>> databases;
    for (const std::string& domain : options.domains) {
        // The tour shows Japanese beside German, which no 8-bit code page holds: the example
        // writes UTF-8 whatever the process's charset (by default, translations come in that).
        nlsDomainManager::bind_textdomain_codeset(domain.c_str(), "UTF-8");
        databases.push_back(std::make_unique<nlsDataBase>(options.dir.c_str(), domain.c_str()));
    }

    if (tour_mode) return tour(options, *databases.front());

    if (!options.language.empty()) nlsDomainManager::language(utString(options.language.c_str()));
    if (options.list) {
        for (const nlsLanguage& language : available_languages())
            std::printf("%s\t%s\t%s\n", language.name().c_str(), language.iso_name().c_str(),
                        language.translated_name().c_str());
    }
    nlsDomainManager::textdomain(options.domains.front().c_str());
    for (const char* message : options.messages)
        std::printf("%s\n", nlsDomainManager::gettext(message));
    if (options.messages.empty() && !options.list) print_notes();
    return 0;
}

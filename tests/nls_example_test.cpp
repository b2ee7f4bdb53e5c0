// The example program, run as a new user would run it.

#include "nlsTestSupport.h"

#include <algorithm>
#include <tuple>

using ExampleProgram = nlstest::ManagerTest; // a British user, no language variables

TEST_F(ExampleProgram, ShowsWhatEachWayOfRunningItAsksFor) {
    const std::tuple<const char*, const char*, const char*, int, const char*> cases[] = {
        // LANG, LANGUAGE, arguments, status, a part of the output
        {nullptr, nullptr, "", 0, "Language:   English-GBR, from the regional settings\n"},
        {nullptr, nullptr, "", 0,
         "German          Willkommen | Datei \303\266ffnen | \303\204nder"},
        {nullptr, nullptr, "", 0, "2,5 (stream), 2,5 (printf); in a neutral-numbers block: 2.5\n"},
        // As Linux users set them; LANGUAGE chooses for each domain first.
        {"de_DE.UTF-8", "ja:fr", "", 0, "Language:   German, from the environment (LANG)\n"},
        {"de_DE.UTF-8", "ja:fr", "", 0, "(in both domains)\n\nJapanese        \343\202\210"},
        {nullptr, nullptr, "--list", 0, "German\tde-DE\tGerman\nJapanese\tja-JP\tJapanese\n"},
        {nullptr, nullptr, "--language German \"Open file\" \"Not in any catalogue\"", 0,
         "Datei \303\266ffnen\nNot in any catalogue\n"},
        {nullptr, nullptr, "--domain viewer --language de-DE Print", 0, "Drucken\n"},
        {nullptr, nullptr, "--bogus", 2, "nls_example: unknown option --bogus (try --help)\n"},
        {nullptr, nullptr, "--dir", 2, "nls_example: --dir needs a value (try --help)\n"},
        {nullptr, nullptr, "--dir /nonexistent", 2, "no catalogue directory /nonexistent\n"},
        {nullptr, nullptr, "--help", 0, "usage: nls_example"},
    };
    for (const auto& [lang, language, arguments, status, shown] : cases) {
        nlstest::ScopedEnv set_lang("LANG", lang), set_language("LANGUAGE", language);
        nlstest::Outcome r = nlstest::run(NLS_EXAMPLE_PROGRAM, arguments);
        r.out.erase(std::remove(r.out.begin(), r.out.end(), '\r'), r.out.end()); // CR LF: Windows
        EXPECT_EQ(r.status, status) << arguments;
        EXPECT_NE(r.out.find(shown), std::string::npos) << shown << "\n" << r.out;
    }
}

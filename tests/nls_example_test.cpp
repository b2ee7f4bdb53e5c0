// The example program, run as a new user would run it.

#include "nlsManagerTestSupport.h"

#include <gtest/gtest.h>
#include <string>

namespace {

// The program's output as text: lines that the C run time ends with CR LF (Windows) end in LF.
nlstest::Outcome run(const std::string& arguments) {
    nlstest::Outcome outcome = nlstest::run(NLS_EXAMPLE_PROGRAM, arguments);
    std::string::size_type at = 0;
    while ((at = outcome.out.find("\r\n", at)) != std::string::npos)
        outcome.out.erase(at, 1);
    return outcome;
}

using ExampleProgram = nlstest::ManagerTest; // a British user, no language variables

TEST_F(ExampleProgram, TourShowsLanguagesMessagesAndNumbers) {
    nlstest::Outcome r = run("");
    EXPECT_EQ(r.status, 0) << r.out;
    for (const char* expected :
         {"Language:   English-GBR, from the regional settings",
          "Available:  French, German, Japanese, Portuguese-BRA",
          "German          Willkommen | Datei \xC3\xB6"
          "ffnen | \xC3\x84nderungen speichern? | Vergr\xC3\xB6\xC3\x9F"
          "ern | Drucken",
          "Japanese        \xE3\x82\x88\xE3\x81\x86\xE3\x81\x93\xE3\x81\x9D",
          "Numbers in German: 1234567 and 2,5 (stream), 2,5 (printf); in a neutral-numbers "
          "block: 2.5"})
        EXPECT_NE(r.out.find(expected), std::string::npos) << expected << "\n" << r.out;
    nlstest::ScopedEnv french("LANG", "French");
    r = run("");
    EXPECT_NE(r.out.find("Language:   French, from the environment (LANG)"), std::string::npos);
    // As Linux users set it; LANGUAGE chooses for each domain first.
    nlstest::ScopedEnv linux_lang("LANG", "de_DE.UTF-8"), list("LANGUAGE", "ja:fr");
    r = run("");
    EXPECT_NE(r.out.find("Language:   German, from the environment (LANG)"), std::string::npos);
    EXPECT_NE(r.out.find("(in both domains)\n\nJapanese        \xE3\x82\x88"), std::string::npos)
        << r.out;
}

TEST_F(ExampleProgram, ToolModeListsAndTranslates) {
    nlstest::Outcome list = run("--list");
    EXPECT_EQ(list.status, 0);
    EXPECT_EQ(list.out, "French\tfr-FR\tFrench\nGerman\tde-DE\tGerman\nJapanese\tja-JP\tJapanese\n"
                        "Portuguese-BRA\tpt-BR\tPortuguese Brazil\n");
    nlstest::Outcome translated = run("--language German \"Open file\" \"Not in any catalogue\"");
    EXPECT_EQ(translated.status, 0);
    EXPECT_EQ(translated.out, "Datei \xC3\xB6"
                              "ffnen\nNot in any catalogue\n");
    nlstest::Outcome viewer = run("--domain viewer --language de-DE Print");
    EXPECT_EQ(viewer.out, "Drucken\n");
}

TEST_F(ExampleProgram, MistakesGiveOneLineAndFailure) {
    const char* cases[][2] = {
        {"--bogus", "nls_example: unknown option --bogus (try --help)\n"},
        {"--dir", "nls_example: --dir needs a value (try --help)\n"},
        {"--dir /nonexistent/catalogs",
         "nls_example: no catalogue directory /nonexistent/catalogs\n"},
    };
    for (auto& c : cases) {
        nlstest::Outcome r = run(c[0]);
        EXPECT_EQ(r.status, 2) << c[0];
        EXPECT_EQ(r.out, c[1]);
    }
    nlstest::Outcome help = run("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("usage: nls_example", 0), 0u);
}

} // namespace

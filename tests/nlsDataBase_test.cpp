#include <nls/fillers/coiFillers.h>
#include <nls/nlsLanguage.h>
#include <platform/internal/apCrtIo.h>

#include "nlsTestSupport.h"

#include <cstdio>
#include <exception>

namespace {

using nlstest::DataBase;
using Lines = std::vector<std::string>;

const std::string kMissing = "NLS Warning: Catalog <editor> failed to load for language <";

class Database : public nlstest::ManagerTest {
protected:
    nlstest::ScopedEnv german{"LANG", "German"};
};

// A database without a directory of its own searches the default one that a derived class may
// set; without either, nothing and no report.
TEST_F(Database, SearchesItsDirectoryThenNlspath) {
    // "Catálogos" in code page 1252: Windows takes 8-bit paths in the ANSI code page.
    const std::string own = dir / "Cat\xE1logos", nlspath = dir / "nlspath";
    auto found_in = [](const std::string& root) {
        return utString((root + "/German/LC_MESSAGES/editor.mo").c_str());
    };
    catalogue(nlspath, "German", "editor", {"m"});
    nlstest::ScopedEnv env("NLSPATH", nlspath.c_str());
    EXPECT_EQ(DataBase(own.c_str(), "editor").domain(), found_in(nlspath));
    catalogue(own, "German", "editor", {"m"});
    EXPECT_EQ(DataBase(own.c_str(), "editor").domain(), found_in(own));
    nlstest::set_default_directory(own.c_str());
    EXPECT_EQ(DataBase("editor").domain(), found_in(own));

    nlstest::set_default_directory(nullptr);
    nlstest::ScopedEnv unset("NLSPATH", nullptr);
    EXPECT_EQ(DataBase("editor").domain(), utString(""));
    EXPECT_EQ(reports.take(), Lines{});
}

TEST_F(Database, LanguageFallsBackToShortFormThenEnvironmentThenC) {
    catalogue(dir.path(), "German", "editor", {"m"});
    catalogue(dir.path(), "French", "editor", {"m"});
    nlsDomainManager::set_verbose_info(1);
    nlstest::ScopedEnv austrian("LANG", "German-AUT");
    DataBase db(dir.path().c_str(), "editor");
    const std::string fallback = kMissing + "German-AUT> so fallback language <German> was used";
    EXPECT_EQ(reports.take(), Lines{fallback});
    EXPECT_STREQ(db.language(), "German");
    EXPECT_EQ(db.language(utString("french")), 1);
    EXPECT_STREQ(db.language(), "French");

    EXPECT_EQ(db.language(utString("Quenya")), 0);
    const std::string searched =
        "NLS Warning: Catalog <editor> was looked for in <" + dir.path() + "> under <Quenya>";
    EXPECT_EQ(reports.take(), (Lines{kMissing + "Quenya>", searched, fallback}));
    EXPECT_STREQ(db.language(), "German"); // the environment's, in short

    std::remove((dir / "German/LC_MESSAGES/editor.mo").c_str());
    EXPECT_EQ(db.language(utString("Quenya")), 0);
    EXPECT_STREQ(db.language(), "C");
}

// A damaged catalogue is an error, a missing one a warning, which the ready handler drops.
TEST_F(Database, UnloadableCatalogueIsAnErrorThatTheErrorsOnlyHandlerKeeps) {
    nlstest::write_file(dir / "German/LC_MESSAGES/editor.mo",
                        "this is plain text, not a catalogue");
    const std::string damaged = "NLS Warning: Catalog <editor> could not be loaded from <" +
                                dir.path() + "/German/LC_MESSAGES/editor.mo>";
    const std::string magic = "NLS Error: Catalog Magic number failed";
    nlstest::AssertCapture asserts;
    { DataBase db(dir.path().c_str(), "editor"); }
    EXPECT_EQ(reports.take(), (Lines{damaged, magic, kMissing + "German>"}));
    EXPECT_EQ(asserts.count(), 1);

    nlsDataBase::error_handler(nlsDataBase::report_errors_only);
    testing::internal::CaptureStderr();
    { DataBase missing(dir.path().c_str(), "missing"); }
    { DataBase db(dir.path().c_str(), "editor"); }
    EXPECT_EQ(testing::internal::GetCapturedStderr(), damaged + "\n" + magic + "\n");
    EXPECT_EQ(asserts.count(), 2);
}

// A program written in English needs no English catalogue: once it says so, an English user
// gets its messages untranslated and no report; other users as before.
TEST_F(Database, SourceLanguageNeedsNoCatalogue) {
    catalogue(dir.path(), "de", "editor", {"m"});
    const struct {
        const char *name, *lang, *language_list, *source, *chosen, *language, *expected;
        bool reported = false;
    } cases[] = {
        {"English user", "en_GB.UTF-8", nullptr, "English", nullptr, "English", "m"},
        {"regional settings", nullptr, nullptr, "en", nullptr, "English", "m"},
        {"first in the list", "de_DE.UTF-8", "en:de", "English", nullptr, "English", "m"},
        {"German user", "de_DE.UTF-8", nullptr, "English", nullptr, "German", "de:m"},
        // Chosen explicitly: no report, and no fallback to the environment's language.
        {"chosen", "de_DE.UTF-8", nullptr, "English", "English", "English", "m"},
        {"nothing declared", "en_US.UTF-8", nullptr, "", nullptr, "English", "m", true},
    };
    for (const auto& c : cases) {
        nlstest::forget_languages();
        nlstest::ScopedEnv lang("LANG", c.lang), list("LANGUAGE", c.language_list);
        nlsDomainManager::set_source_language(utString(c.source));
        DataBase db(dir.path().c_str(), "editor");
        if (c.chosen) {
            EXPECT_EQ(db.language(utString(c.chosen)), 1) << c.name;
        }
        EXPECT_STREQ(db.language(), c.language) << c.name;
        EXPECT_STREQ(db.gettext("m"), c.expected) << c.name;
        EXPECT_EQ(reports.take(), c.reported ? Lines{kMissing + "English>"} : Lines{}) << c.name;
    }
}

std::vector<std::string> g_opened;

TEST_F(Database, NamesThatCouldLeaveTheDirectoryNameNoCatalogue) {
    const std::string app = dir / "app", nlspath = dir / "nlspath";
    catalogue(app, "German", "editor", {"m"});
    catalogue(nlspath, "French", "editor", {"m"});
    nlstest::ScopedEnv env("NLSPATH", nlspath.c_str());
    // Where the names below would lead (Windows allows no control character in a file name).
    for (const char* planted : {"evil/LC_MESSAGES/editor.mo", "LC_MESSAGES/editor.mo",
                                "app/x\x1b/LC_MESSAGES/editor.mo"}) {
        try {
            nlstest::write_file(dir / planted, nlstest::build_mo({{"m", "planted"}}));
        } catch (const std::exception&) {
        }
    }
    const std::string too_long(10000, 'x');
    const struct {
        const char *name, *variable, *value, *language, *domain, *expected;
    } cases[] = {
        {"LANG up a folder", "LANG", "../evil", nullptr, "editor", "m"},
        {"LANGUAGE up a folder", "LANGUAGE", "../evil", nullptr, "editor", "German:m"},
        {"language ..", "LANG", "German", "..", "editor", "German:m"},
        {"backslash, a separator on Windows", "LANG", "German", "..\\evil", "editor", "German:m"},
        {"control character", "LANG", "German", "x\x1b", "editor", "German:m"},
        {"domain up folders", "LANG", "German", nullptr, "../../../evil/LC_MESSAGES/editor", "m"},
        {"long domain", "LANG", "German", nullptr, too_long.c_str(), "m"},
        {"long LANG", "LANG", too_long.c_str(), nullptr, "editor", "m"},
    };
    apCrtSeam watch;
    watch.open = [](const char* path, int flags) { // notes the path, then opens as usual
        g_opened.push_back(path);
        const apCrtSeam* self = ap_set_crt_seam(nullptr);
        int fd = ap_crt_open(path, flags);
        ap_set_crt_seam(self);
        return fd;
    };
    g_opened.clear(); // the binary may run this test more than once
    ap_set_crt_seam(&watch);
    for (const auto& c : cases) {
        nlstest::ScopedEnv variable(c.variable, c.value);
        DataBase db(app.c_str(), c.domain);
        if (c.language) nlsDomainManager::language(utString(c.language));
        nlsDomainManager::textdomain(c.domain);
        EXPECT_STREQ(nlsDomainManager::gettext("m"), c.expected) << c.name;
        std::string listed; // nor is a catalogue listed through such a domain
        db.list_available_languages(coiFillers::make_filler<nlsLanguage>(
            [&](nlsLanguage language) { listed += language.name().c_str(); }));
        EXPECT_EQ(listed, std::string(c.domain) == "editor" ? "German" : "") << c.name;
        nlstest::forget_languages();
    }
    ap_set_crt_seam(nullptr);
    // Only the application's own catalogue was ever opened.
    EXPECT_FALSE(g_opened.empty());
    for (const std::string& path : g_opened)
        EXPECT_EQ(path, app + "/German/LC_MESSAGES/editor.mo");
}

} // namespace

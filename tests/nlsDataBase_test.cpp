#include <nls/nlsErrorData.h>
#include <platform/apCrtIo.h>

#include "nlsManagerTestSupport.h"

#include <cstdio>
#include <cstdlib>
#include <exception>

namespace {

using nlstest::DataBase;
using nlstest::Manager;

class Database : public nlstest::ManagerTest {
protected:
    nlstest::ScopedEnv german{"LANG", "German"};
};

TEST_F(Database, SearchesItsDirectoryBeforeNlspath) {
    for (bool in_own : {true, false}) { // a catalogue in NLSPATH's tree always
        nlstest::TempDir own, nlspath;
        if (in_own) catalogue(own.path(), "German", "editor", {"m"});
        catalogue(nlspath.path(), "German", "editor", {"m"});
        nlstest::ScopedEnv env("NLSPATH", nlspath.path().c_str());
        DataBase db(own.path().c_str(), "editor");
        std::string root = in_own ? own.path() : nlspath.path();
        EXPECT_EQ(db.domain(), utString((root + "/German/LC_MESSAGES/editor.mo").c_str()));
    }
}

TEST_F(Database, WithoutAnyDirectoryNothingIsSearched) {
    testing::internal::CaptureStderr();
    DataBase db("editor");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(db.m_initialised, 0);
    EXPECT_STREQ(db.domain().text(), "");
    EXPECT_STREQ(db.language(), "German");

    // A default directory, set by a derived class, serves a database without a directory.
    catalogue(dir.path(), "German", "editor", {"m"});
    DataBase::the_default_pathlist = utString(dir.path().c_str());
    DataBase with_default("editor");
    DataBase::the_default_pathlist = utString();
    EXPECT_NE(with_default.m_loaded_domain, nullptr);

    nlstest::ScopedEnv empty("NLSPATH", "");
    if (!std::getenv("NLSPATH")) return; // a C run time that keeps no empty variable (Windows)
    testing::internal::CaptureStderr();
    DataBase searched("editor");
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "NLS Warning: Catalog <editor> failed to load for language <German>\n");
    EXPECT_EQ(searched.m_initialised, 1);
}

TEST_F(Database, ShortFormIsTriedAndReportedWhenVerbose) {
    catalogue(dir.path(), "German", "editor", {"m"});
    for (int verbose : {0, 1}) {
        nlsDomainManager::set_verbose_info(verbose);
        nlstest::ScopedEnv austrian("LANG", "German-AUT");
        testing::internal::CaptureStderr();
        DataBase db(dir.path().c_str(), "editor");
        EXPECT_EQ(testing::internal::GetCapturedStderr(),
                  verbose ? "NLS Warning: Catalog <editor> failed to load for language "
                            "<German-AUT> so fallback language <German> was used\n"
                          : "");
        EXPECT_STREQ(db.language(), "German");
        EXPECT_NE(db.m_loaded_domain, nullptr);
    }
}

TEST_F(Database, LanguageSwitchFallsBackToEnvironmentThenC) {
    catalogue(dir.path(), "German", "editor", {"m"});
    catalogue(dir.path(), "French", "editor", {"m"});
    DataBase db(dir.path().c_str(), "editor");
    EXPECT_EQ(db.language(utString("french")), 1);
    EXPECT_STREQ(db.language(), "French");
    EXPECT_EQ(db.language(utString("French")), 1); // already in effect: no search

    testing::internal::CaptureStderr();
    EXPECT_EQ(db.language(utString("Latin")), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "NLS Warning: Catalog <editor> failed to load for language <Latin>\n");
    EXPECT_STREQ(db.language(), "German"); // the environment's language
    EXPECT_NE(db.m_loaded_domain, nullptr);

    std::remove((dir / "German/LC_MESSAGES/editor.mo").c_str());
    testing::internal::CaptureStderr();
    EXPECT_EQ(db.language(utString("Latin")), 0);
    testing::internal::GetCapturedStderr();
    EXPECT_STREQ(db.language(), "C");
    EXPECT_EQ(db.m_loaded_domain, nullptr);
}

TEST_F(Database, UnloadableCatalogueIsReportedAsAnError) {
    nlstest::write_file(dir / "German/LC_MESSAGES/editor.mo",
                        "this is plain text, not a catalogue");
    nlstest::AssertCapture asserts;
    testing::internal::CaptureStderr();
    DataBase db(dir.path().c_str(), "editor");
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "NLS Error: Catalog Magic number failed\n"
              "NLS Warning: Catalog <editor> failed to load for language <German>\n");
    ASSERT_EQ(asserts.reports().size(), 1u);
    EXPECT_EQ(asserts.reports()[0],
              "nls/nlsDataBase:492: nlsDataBase failed - with error 33 in nlsDataBase::error (0)");
}

std::vector<std::string> g_opened;

TEST_F(Database, NamesThatCouldLeaveTheDirectoryNameNoCatalogue) {
    const std::string app = dir / "app", nlspath = dir / "nlspath";
    catalogue(app, "German", "editor", {"m"});
    catalogue(nlspath, "French", "editor", {"m"});
    nlstest::ScopedEnv env("NLSPATH", nlspath.c_str());
    // Where each name below would lead; "." and the control character stay inside, but are no
    // language names either (Windows allows no control character in a file name).
    for (const char* planted : {"evil/LC_MESSAGES/editor.mo", "LC_MESSAGES/editor.mo",
                                "app/LC_MESSAGES/editor.mo", "app/x\x1b/LC_MESSAGES/editor.mo"}) {
        try {
            nlstest::write_file(dir / planted, nlstest::build_mo({{"m", "planted"}}));
        } catch (const std::exception&) {
        }
    }
    const std::string too_long(10000, 'x');
    const struct {
        const char *variable, *value, *language, *domain, *expected;
    } cases[] = {
        {"LANG", "../evil", nullptr, "editor", "m"},
        {"LANGUAGE", "../evil", nullptr, "editor", "German:m"},
        {"LANG", "German", "..", "editor", "German:m"},
        {"LANG", "German", "..\\evil", "editor", "German:m"}, // a separator on Windows only
        {"LANG", "German", ".", "editor", "German:m"},
        {"LANG", "German", "x\x1b", "editor", "German:m"},
        {"LANG", "German", nullptr, "../../../evil/LC_MESSAGES/editor", "m"},
        {"LANG", "German", nullptr, too_long.c_str(), "m"},
    };
    apCrtSeam watch;
    watch.open = [](const char* path, int flags) { // notes the path, then opens as usual
        g_opened.push_back(path);
        const apCrtSeam* self = ap_set_crt_seam(nullptr);
        int fd = ap_crt_open(path, flags);
        ap_set_crt_seam(self);
        return fd;
    };
    ap_set_crt_seam(&watch);
    for (const auto& c : cases) {
        nlstest::ScopedEnv variable(c.variable, c.value);
        testing::internal::CaptureStderr();
        std::string translated;
        {
            DataBase db(app.c_str(), c.domain);
            if (c.language) nlsDomainManager::language(utString(c.language));
            nlsDomainManager::textdomain(c.domain);
            translated = nlsDomainManager::gettext("m");
        }
        testing::internal::GetCapturedStderr();
        EXPECT_EQ(translated, c.expected) << c.variable << "=" << c.value << " " << c.domain;
        Manager::the_current_language = utString();
    }
    ap_set_crt_seam(nullptr);
    // Only the application's own catalogue was ever opened.
    EXPECT_FALSE(g_opened.empty());
    for (const std::string& path : g_opened)
        EXPECT_EQ(path, app + "/German/LC_MESSAGES/editor.mo");
}

TEST_F(Database, CatalogueFoldersMayHaveNamesBeyondAscii) {
    // "Catálogos" in code page 1252: Windows takes 8-bit paths in the ANSI code page.
    const std::string root = dir / "Cat\xE1logos";
    catalogue(root, "German", "editor", {"m"});
    DataBase db(root.c_str(), "editor");
    EXPECT_NE(db.m_loaded_domain, nullptr);
    EXPECT_EQ(db.domain(), utString((root + "/German/LC_MESSAGES/editor.mo").c_str()));
}

TEST_F(Database, VeryLongLanguageFromTheEnvironmentFindsNothing) {
    catalogue(dir.path(), "German", "editor", {"m"});
    const std::string long_value(30000, 'x'); // near Windows' limit for one variable
    nlstest::ScopedEnv lang("LANG", long_value.c_str());
    testing::internal::CaptureStderr();
    DataBase db(dir.path().c_str(), "editor");
    const std::string reports = testing::internal::GetCapturedStderr();
    EXPECT_NE(reports.find("NLS Warning: Setting up locale for language <xxx"), std::string::npos);
    EXPECT_EQ(db.m_loaded_domain, nullptr);
    EXPECT_EQ(db.language(), long_value);
}

} // namespace

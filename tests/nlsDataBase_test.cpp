#include <nls/nlsErrorData.h>

#include "nlsManagerTestSupport.h"

#include <cstdio>
#include <cstdlib>

namespace {

using nlstest::DataBase;

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
    EXPECT_EQ(db.pathlist(), db.locale_path());

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

TEST_F(Database, HostileDomainNamesFindNothing) {
    nlstest::ScopedEnv env("NLSPATH", dir.path().c_str());
    for (const std::string& domain : {std::string("../../etc/passwd"), std::string(10000, 'x')}) {
        testing::internal::CaptureStderr();
        DataBase db(domain.c_str());
        testing::internal::GetCapturedStderr();
        EXPECT_EQ(db.m_loaded_domain, nullptr);
        EXPECT_EQ(nlsDomainManager::textdomain(domain.c_str()), std::string(""));
    }
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

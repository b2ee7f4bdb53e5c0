#include <nls/fillers/coiFillers.h>
#include <nls/nlsErrorData.h>
#include <nls/nlsLanguage.h>

#include <nls/internal/nlsChangeGuard.h>

#include "nlsManagerTestSupport.h"

#include <memory>
#include <string>
#include <vector>

namespace {

using nlstest::DataBase;
using nlstest::Manager;

class DomainManager : public nlstest::ManagerTest {
protected:
    nlstest::ScopedEnv german{"LANG", "German"};
};

TEST_F(DomainManager, TranslatesThroughTheSelectedDomain) {
    const char* message = "Open";
    std::string path = catalogue(dir.path(), "German", "editor", {"Open", "Save"});
    auto editor = std::make_unique<DataBase>(dir.path().c_str(), "editor");
    DataBase no_catalogue(dir.path().c_str(), "missing");

    EXPECT_EQ(nlsDomainManager::textdomain("editor"), path);
    EXPECT_STREQ(nlsDomainManager::gettext("Open"), "German:Open");
    EXPECT_EQ(nlsDomainManager::textdomain("nobody"), nullptr);   // keeps the selection
    EXPECT_STREQ(nlsDomainManager::textdomain(""), path.c_str()); // as null: the current one's
    EXPECT_STREQ(nlsDomainManager::textdomain("missing"), "");
    EXPECT_EQ(nlsDomainManager::gettext(message), message);
    // Destroying the selected database forgets the selection.
    nlsDomainManager::textdomain("editor");
    editor.reset();
    EXPECT_EQ(nlsDomainManager::textdomain(nullptr), nullptr);
    EXPECT_EQ(nlsDomainManager::gettext(message), message);
}

TEST_F(DomainManager, DatabaseIsRegisteredOnce) {
    DataBase editor(dir.path().c_str(), "editor");
    nlsErrorData twice = Manager::add(&editor);
    EXPECT_EQ(twice.code(), nlsERROR_DOMAIN_EXISTS);
    EXPECT_EQ(twice.get_string(0), utString("editor"));
    EXPECT_EQ(Manager::remove(&editor), 0u);
    EXPECT_EQ(Manager::remove(&editor), nlsERROR_NO_DOMAIN);
    EXPECT_EQ(Manager::add(&editor).code(), 0u); // back in, for its destructor
}

TEST_F(DomainManager, DomainLookupsLeaveTheSelectionAlone) {
    const std::string plural("%d file\0%d files", 16), in_menu = "menu\x04Open";
    auto write = [&](const std::string& root, const std::string& domain,
                     std::vector<nlstest::MoEntry> entries) {
        nlstest::write_file(root + "/German/LC_MESSAGES/" + domain + ".mo",
                            nlstest::build_mo(std::move(entries)));
    };
    write(dir.path(), "editor",
          {{"", "Plural-Forms: nplurals=3; plural=n%3;\n"},
           {"Open", "E:Open"},
           {plural, std::string("E0\0E1\0E2", 8)},
           {in_menu, "E:menu"}});
    write(dir.path(), "viewer",
          {{"Open", "V:Open"}, {plural, std::string("V0\0V1", 5)}, {in_menu, "V:menu"}});
    write(dir / "second", "viewer", {{"Open", "second viewer"}});
    const char *one = "%d file", *many = "%d files", *open = "Open";

    EXPECT_EQ(nlsDomainManager::dngettext("viewer", one, many, 0), many); // nothing registered

    DataBase editor(dir.path().c_str(), "editor");
    DataBase viewer(dir.path().c_str(), "viewer");
    DataBase second_viewer((dir / "second").c_str(), "viewer");
    nlsDomainManager::textdomain("editor");

    EXPECT_STREQ(nlsDomainManager::dgettext("viewer", open), "V:Open"); // the first registered
    EXPECT_EQ(nlsDomainManager::dgettext("no-such-domain", open), open);
    EXPECT_EQ(nlsDomainManager::dpgettext("no-such-domain", "menu", open), open);
    EXPECT_STREQ(nlsDomainManager::dngettext("viewer", one, many, 5), "V1");
    EXPECT_STREQ(nlsDomainManager::dngettext(nullptr, one, many, 5), "E2");
    EXPECT_STREQ(nlsDomainManager::dpgettext("viewer", "menu", open), "V:menu");
    EXPECT_STREQ(nlsDomainManager::dnpgettext("viewer", "menu", open, many, 2), "V:menu");
    EXPECT_STREQ(nlsDomainManager::dnpgettext(nullptr, "menu", open, many, 2), "E:menu");
    EXPECT_STREQ(second_viewer.gettext(open), "second viewer");
    EXPECT_STREQ(editor.npgettext("menu", "Open", many, 4), "E:menu"); // one form only

    EXPECT_STREQ(nlsDomainManager::gettext(open), "E:Open");
    EXPECT_STREQ(nlsDomainManager::pgettext("menu", open), "E:menu");
}

TEST_F(DomainManager, DatabasesOfOneFileShareOneCatalogue) {
    catalogue(dir.path(), "German", "editor", {"Open"});
    auto first = std::make_unique<DataBase>(dir.path().c_str(), "editor");
    // The same directory spelled in other ways still names the same file.
    DataBase second((dir.path() + "/").c_str(), "editor");
    DataBase third((dir.path() + "/.").c_str(), "editor");
    ASSERT_NE(second.m_loaded_domain, nullptr);
    EXPECT_EQ(first->m_loaded_domain, second.m_loaded_domain);
    EXPECT_EQ(third.m_loaded_domain, second.m_loaded_domain);
    first.reset();
    EXPECT_STREQ(second.gettext("Open"), "German:Open");
}

// A database that shares its catalogue reports the environment's language, whatever file it
// holds; after any switches, each must still answer from what a new search would find.
TEST_F(DomainManager, EveryDatabaseAnswersInTheLanguageASearchWouldFindNow) {
    for (const char* language : {"German", "French"})
        catalogue(dir.path(), language, "editor", {"m"});
    // Steps: a language (Latin has none: German, the environment's, serves), or ~1 and ~2 to
    // destroy the first or the second database. LANGUAGE=fr finds French first.
    const struct {
        const char *name, *language_list;
        std::vector<std::string> steps;
    } cases[] = {
        {"first destroyed", nullptr, {"French", "German", "~1", "French", "German"}},
        {"no catalogue", nullptr, {"Latin", "German", "French", "~2", "Latin"}},
        {"LANGUAGE", "fr", {"German", "~1", "French"}},
    };
    for (const auto& c : cases) {
        nlstest::forget_languages();
        nlstest::ScopedEnv language_list("LANGUAGE", c.language_list);
        std::unique_ptr<DataBase> databases[2];
        for (auto& database : databases)
            database = std::make_unique<DataBase>(dir.path().c_str(), "editor");
        std::string expected = c.language_list ? "French:m" : "German:m", trace = c.name;
        for (const std::string& step : c.steps) {
            trace += " " + step;
            if (step[0] == '~') {
                databases[step[1] - '1'].reset();
            } else {
                nlsDomainManager::language(utString(step.c_str()));
                expected = (step == "Latin" ? "German" : step) + ":m";
            }
            for (const auto& database : databases)
                EXPECT_EQ(database ? database->gettext("m") : expected.c_str(), expected) << trace;
        }
    }
}

// What the application chose holds against the environment, in whatever order things happen.
TEST_F(DomainManager, ApplicationsChoiceHolds) {
    for (const char* language : {"German", "French"})
        catalogue(dir.path(), language, "editor", {"m"});
    nlstest::ScopedEnv french_first("LANGUAGE", "fr");
    const struct {
        const char* name;
        const char* before; // chosen before the database is made; null: none
        const char* after;  // chosen once it is made; null: none
        const char* expected;
    } cases[] = {
        {"C after the environment's", nullptr, "C", "m"},
        {"made after a choice", "French", nullptr, "French:m"},
        {"the environment's own language, chosen, beats LANGUAGE", "German", nullptr, "German:m"},
        {"LANGUAGE while nothing is chosen", nullptr, nullptr, "French:m"},
    };
    for (const auto& c : cases) {
        nlstest::forget_languages();
        if (c.before) nlsDomainManager::language(utString(c.before));
        DataBase editor(dir.path().c_str(), "editor");
        if (c.after) nlsDomainManager::language(utString(c.after));
        EXPECT_STREQ(editor.gettext("m"), c.expected) << c.name;
    }
}

// A switch is one change: the lock taken once, and lookups, even from a report handler called
// in the middle of it, see the state before it or after it, never part of it.
nlsDataBase* g_watched = nullptr;
std::string g_seen;

TEST_F(DomainManager, SwitchIsOneChange) {
    catalogue(dir.path(), "German", "editor", {"m"});
    catalogue(dir.path(), "French", "editor", {"m"});
    catalogue(dir.path(), "German", "viewer", {"m"});
    DataBase editor(dir.path().c_str(), "editor");
    DataBase viewer(dir.path().c_str(), "viewer"); // has no French: reports while switching
    const unsigned long before = nlsChangeGuard::acquisitions();
    nlsDomainManager::language(utString("Italian")); // none: German, the environment's, serves
    EXPECT_EQ(nlsChangeGuard::acquisitions() - before, 1u);
    g_watched = &editor;
    nlsDataBase::error_handler([](const nlsDataBase&, const nlsErrorData&) {
        g_watched->language(); // a query in the middle of the change is no end of it
        g_seen += std::string(g_watched->gettext("m")) + " ";
        return 1;
    });
    nlsDomainManager::language(utString("French"));
    EXPECT_EQ(g_seen, "German:m ");
    EXPECT_STREQ(editor.gettext("m"), "French:m");
}

// Names handed out stay valid whatever changes afterwards, and two calls share no buffer.
TEST_F(DomainManager, LanguageNamesLiveAsLongAsTheProcess) {
    catalogue(dir.path(), "German", "editor", {"m"});
    catalogue(dir.path(), "French", "viewer", {"m"});
    DataBase editor(dir.path().c_str(), "editor");
    DataBase viewer(dir.path().c_str(), "viewer");
    viewer.language(utString("French"));
    const char* editors = editor.language();
    const char* viewers = viewer.language();
    const utString& current = nlsDomainManager::language();
    const char* environment = nlsDomainManager::env_language(nlsLANG_DATABASE);
    nlsDomainManager::language(utString("Italian"));
    EXPECT_STREQ(editors, "German");
    EXPECT_STREQ(viewers, "French");
    EXPECT_STREQ(current.c_str(), "");
    EXPECT_STREQ(environment, "German");
}

using Names = std::vector<std::string>;

class Listing : public nlstest::ManagerTest {
protected:
    std::string first = dir / "first", second = dir / "second";
    /// What the manager delivers, as "name iso-name"; each delivery destroys `doomed`.
    Names delivered;
    std::unique_ptr<nlsDataBase> doomed;
    coiFiller<nlsLanguage> sink =
        coiFillers::make_filler<nlsLanguage>([this](nlsLanguage language) {
            delivered.push_back(std::string(language.name().c_str()) + " " +
                                language.iso_name().c_str());
            doomed.reset();
        });
};

TEST_F(Listing, ManagerListsTheLanguagesEveryDatabaseHas) {
    // German a second time through "de-DE"; "ja-JP" names a table language, but no catalogue lies
    // under the table's name; Latin and English-GBR have no row.
    for (const char* language :
         {"German", "French", "Polish", "de-DE", "ja-JP", "Latin", "English-GBR"})
        catalogue(first, language, "editor", {"m"});
    catalogue(first, "Italian", "viewer", {"m"});
    nlstest::write_file(first + "/pl-PL", "a plain file named like a language");
    for (const char* language : {"Italian", "German", "French"})
        catalogue(second, language, "viewer", {"m"});
    nlstest::ScopedEnv nlspath("NLSPATH", first.c_str()); // searched for catalogues, not listed

    // With one database, its own languages in name order, as full table records.
    nlsDataBase editor(first.c_str(), "editor");
    EXPECT_EQ(nlsDomainManager::list_available_languages(sink).code(), nlsERROR_NONE);
    EXPECT_EQ(delivered, (Names{"French fr-FR", "German de-DE", "German de-DE", "Polish pl-PL"}));
    // With two, those common to both; German twice, as the first database lists it twice.
    nlsDataBase viewer(second.c_str(), "viewer");
    delivered.clear();
    nlsDomainManager::list_available_languages(sink);
    EXPECT_EQ(delivered, (Names{"French fr-FR", "German de-DE", "German de-DE"}));
}

TEST_F(Listing, SinkMayDestroyTheDatabasesListed) {
    catalogue(first, "French", "editor", {"m"});
    catalogue(first, "German", "editor", {"m"});
    doomed = std::make_unique<nlsDataBase>(first.c_str(), "editor");
    nlsDomainManager::list_available_languages(sink);
    EXPECT_EQ(nlsDomainManager::list_available_languages(sink).code(), nlsERROR_NONE); // none left
    // German too: with no database left, none lacks it.
    EXPECT_EQ(delivered, (Names{"French fr-FR", "German de-DE"}));
}

TEST_F(Listing, PosixFolderNamesStandForTheirLanguages) {
    for (const char* folder : {"de", "de_DE", "de_DE.UTF-8", "pt_BR", "fr", "nl", "en_GB"})
        catalogue(first, folder, "shop", {"Open"});
    nlsDataBase shop(first.c_str(), "shop");
    nlsDomainManager::list_available_languages(sink);
    // nl (Dutch) and en_GB (English-GBR) have no table row; de_DE.UTF-8 is not searched.
    EXPECT_EQ(delivered, (Names{"French fr-FR", "German de-DE", "Portuguese-BRA pt-BR"}));

    // de_DE before de; fr_CA falls back to fr.
    const char* cases[][3] = {{"German", "German", "de_DE"}, {"fr_CA.UTF-8", "French-CAN", "fr"}};
    nlsDomainManager::textdomain("shop");
    for (auto& c : cases) {
        nlsDomainManager::language(utString(c[0]));
        EXPECT_STREQ(shop.language(), c[1]);
        EXPECT_EQ(nlsDomainManager::gettext("Open"), std::string(c[2]) + ":Open") << c[0];
    }

    // Beside a folder of the library's name, found first as always, de adds no second German.
    catalogue(second, "German", "mixed", {"Open"});
    catalogue(second, "de", "mixed", {"Open"});
    nlsDataBase mixed(second.c_str(), "mixed");
    nlsDomainManager::textdomain("mixed");
    nlsDomainManager::language(utString("de_DE.UTF-8"));
    EXPECT_STREQ(nlsDomainManager::gettext("Open"), "German:Open");
    delivered.clear();
    mixed.list_available_languages(sink);
    EXPECT_EQ(delivered, (Names{"German de-DE"}));
}

} // namespace

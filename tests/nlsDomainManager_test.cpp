#include <nls/fillers/coiFillers.h>
#include <nls/internal/nlsChangeGuard.h>
#include <nls/nlsLanguage.h>

#include "nlsTestSupport.h"

namespace {

using nlstest::DataBase;
using nlstest::Manager;

class DomainManager : public nlstest::ManagerTest {
protected:
    nlstest::ScopedEnv german{"LANG", "German"};
};

// The selected domain answers lookups without one; a named one answers from its first database.
TEST_F(DomainManager, LookupsGoThroughTheSelectedOrTheNamedDomain) {
    const char *message = "Open", *one = "%d file", *many = "%d files";
    const std::string path = catalogue(dir.path(), "German", "editor", {"Open", "Save"});
    const std::string plural("%d file\0%d files", 16);
    catalogue(dir.path(), "French", "viewer", {"Open", "menu\x04Open", "menu\x04" + plural});
    catalogue(dir / "second", "German", "viewer", {"Open"});
    EXPECT_EQ(nlsDomainManager::dngettext("viewer", one, many, 0), many); // nothing registered
    auto editor = std::make_unique<DataBase>(dir.path().c_str(), "editor");
    DataBase missing(dir.path().c_str(), "missing"), viewer(dir.path().c_str(), "viewer");
    DataBase second_viewer((dir / "second").c_str(), "viewer");
    viewer.language(utString("French"));
    DataBase spelled((dir.path() + "/.").c_str(), "editor");
    EXPECT_EQ(spelled.m_loaded_domain, editor->m_loaded_domain); // one catalogue for both

    EXPECT_EQ(nlsDomainManager::textdomain("editor"), path);
    EXPECT_STREQ(nlsDomainManager::gettext("Open"), "German:Open");
    EXPECT_STREQ(nlsDomainManager::dgettext("viewer", message), "French:Open");
    EXPECT_STREQ(nlsDomainManager::dpgettext("viewer", "menu", message), "French:menu\x04Open");
    EXPECT_STREQ(nlsDomainManager::dnpgettext("viewer", "menu", one, many, 1),
                 "French:menu\x04%d file");
    EXPECT_EQ(nlsDomainManager::dngettext("viewer", one, many, 2), many);
    EXPECT_EQ(nlsDomainManager::dgettext("no-such-domain", message), message); // not the current
    EXPECT_STREQ(second_viewer.gettext(message), "German:Open");
    EXPECT_EQ(nlsDomainManager::textdomain("nobody"), nullptr);   // keeps the selection
    EXPECT_STREQ(nlsDomainManager::textdomain(""), path.c_str()); // as null: the current one's
    EXPECT_STREQ(nlsDomainManager::gettext("Save"), "German:Save");
    EXPECT_STREQ(nlsDomainManager::textdomain("missing"), "");
    EXPECT_EQ(nlsDomainManager::gettext(message), message);
    nlsDomainManager::textdomain("editor"); // destroyed, the selection is forgotten
    editor.reset();
    EXPECT_EQ(nlsDomainManager::textdomain(nullptr), nullptr);
    EXPECT_EQ(nlsDomainManager::gettext(message), message);
    EXPECT_STREQ(spelled.gettext("Save"), "German:Save");
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

// What the application chose holds against the environment in any order of events, and each
// database, sharing its catalogue or not, answers from what a new search would find.
TEST_F(DomainManager, EveryDatabaseAnswersInTheLanguageChosenOrTheEnvironments) {
    for (const char* language : {"German", "French"})
        catalogue(dir.path(), language, "editor", {"m"});
    // + makes a database, ~1 and ~2 destroy one, any other step chooses a language (Latin has no
    // catalogue: German, the environment's, serves); LANGUAGE=fr finds French first.
    const struct {
        const char *name, *language_list;
        std::vector<std::string> steps;
    } cases[] = {
        {"first destroyed", nullptr, {"+", "+", "French", "German", "~1", "French", "German"}},
        {"no catalogue", nullptr, {"+", "+", "Latin", "German", "French", "~2", "Latin"}},
        {"LANGUAGE while nothing is chosen", "fr", {"+", "+", "German", "~1", "French"}},
        {"C after the environment's", "fr", {"+", "C"}},
        {"made after a choice", "fr", {"French", "+"}},
        {"the environment's own language, chosen, beats LANGUAGE", "fr", {"German", "+"}},
    };
    for (const auto& c : cases) {
        nlstest::forget_languages();
        nlstest::ScopedEnv language_list("LANGUAGE", c.language_list);
        std::vector<std::unique_ptr<DataBase>> databases;
        std::string expected = c.language_list ? "French:m" : "German:m", trace = c.name;
        for (const std::string& step : c.steps) {
            trace += " " + step;
            if (step == "+") {
                databases.push_back(std::make_unique<DataBase>(dir.path().c_str(), "editor"));
            } else if (step[0] == '~') {
                databases[step[1] - '1'].reset();
            } else {
                nlsDomainManager::language(utString(step.c_str()));
                expected = step == "C" ? "m" : (step == "Latin" ? "German" : step) + ":m";
            }
            for (const auto& database : databases)
                if (database) {
                    EXPECT_STREQ(database->gettext("m"), expected.c_str()) << trace;
                }
        }
    }
}

// A switch is one change: the lock taken once, and lookups, even from a report handler in the
// middle of it, see the state before or after it. Names handed out stay valid, in no shared buffer.
nlsDataBase* g_watched = nullptr;
std::string g_seen;

TEST_F(DomainManager, SwitchIsOneChangeThatNamesHandedOutOutlive) {
    catalogue(dir.path(), "German", "editor", {"m"});
    catalogue(dir.path(), "French", "editor", {"m"});
    catalogue(dir.path(), "German", "viewer", {"m"});
    DataBase editor(dir.path().c_str(), "editor");
    DataBase viewer(dir.path().c_str(), "viewer"); // has no French: reports while switching
    editor.language(utString("French"));
    const char *editors = editor.language(), *viewers = viewer.language();
    const utString& current = nlsDomainManager::language();
    const char* environment = nlsDomainManager::env_language(nlsLANG_DATABASE);
    const unsigned long before = nlsChangeGuard::acquisitions();
    nlsDomainManager::language(utString("Italian")); // none: German, the environment's
    EXPECT_EQ(nlsChangeGuard::acquisitions() - before, 1u);
    EXPECT_STREQ(editors, "French");
    EXPECT_STREQ(viewers, "German");
    EXPECT_STREQ(current.c_str(), "");
    EXPECT_STREQ(environment, "German");
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

using Names = std::vector<std::string>;

// The languages delivered, as "name iso-name"; each delivery destroys `doomed`.
class Listing : public nlstest::ManagerTest {
protected:
    std::string first = dir / "first", second = dir / "second";
    Names delivered;
    std::unique_ptr<nlsDataBase> doomed;
    coiFiller<nlsLanguage> sink =
        coiFillers::make_filler<nlsLanguage>([this](nlsLanguage language) {
            delivered.push_back(std::string(language.name().c_str()) + " " +
                                language.iso_name().c_str());
            doomed.reset();
        });
    Names list() {
        delivered.clear();
        EXPECT_EQ(nlsDomainManager::list_available_languages(sink).code(), nlsERROR_NONE);
        return delivered;
    }
};

TEST_F(Listing, ManagerListsTheLanguagesEveryDatabaseHas) {
    // German again as "de-DE"; "ja-JP" is not the table's name; Latin, English-GBR have no row.
    for (const char* language :
         {"German", "French", "Polish", "de-DE", "ja-JP", "Latin", "English-GBR"})
        catalogue(first, language, "editor", {"m"});
    catalogue(first, "Italian", "viewer", {"m"});
    nlstest::write_file(first + "/pl-PL", "a plain file named like a language");
    for (const char* language : {"Italian", "German", "French"})
        catalogue(second, language, "viewer", {"m"});
    nlstest::ScopedEnv nlspath("NLSPATH", first.c_str()); // searched for catalogues, not listed

    nlsDataBase editor(first.c_str(), "editor");
    EXPECT_EQ(list(), (Names{"French fr-FR", "German de-DE", "German de-DE", "Polish pl-PL"}));
    // With two, those both have, as the first lists them; the sink may destroy a database listed.
    nlsDataBase viewer(second.c_str(), "viewer");
    EXPECT_EQ(list(), (Names{"French fr-FR", "German de-DE", "German de-DE"}));
    doomed = std::make_unique<nlsDataBase>(second.c_str(), "viewer");
    EXPECT_EQ(list(), (Names{"French fr-FR", "German de-DE", "German de-DE"}));
}

TEST_F(Listing, PosixFolderNamesStandForTheirLanguages) {
    for (const char* folder : {"de", "de_DE", "de_DE.UTF-8", "pt_BR", "fr", "nl", "en_GB"})
        catalogue(first, folder, "shop", {"Open"});
    nlsDataBase shop(first.c_str(), "shop");
    // nl and en_GB have no table row; de_DE.UTF-8 is not searched.
    EXPECT_EQ(list(), (Names{"French fr-FR", "German de-DE", "Portuguese-BRA pt-BR"}));

    const char* cases[][3] = {{"German", "German", "de_DE"}, {"fr_CA.UTF-8", "French-CAN", "fr"}};
    nlsDomainManager::textdomain("shop");
    for (auto& c : cases) {
        nlsDomainManager::language(utString(c[0]));
        EXPECT_STREQ(shop.language(), c[1]);
        EXPECT_EQ(nlsDomainManager::gettext("Open"), std::string(c[2]) + ":Open") << c[0];
    }

    // Beside a folder of the library's name, found first, de adds no second German.
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

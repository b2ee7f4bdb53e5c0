#include <nls/fillers/coiFillers.h>
#include <nls/nlsErrorData.h>
#include <nls/nlsLanguage.h>
#include <platform/apFileFinder.h>

#include "nlsManagerTestSupport.h"

#include <map>
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
    EXPECT_EQ(nlsDomainManager::gettext(message), message);
    EXPECT_EQ(nlsDomainManager::textdomain(nullptr), nullptr);
    EXPECT_EQ(nlsDomainManager::textdomain(""), nullptr);

    std::string path = catalogue(dir.path(), "German", "editor", {"Open", "Save"});
    auto editor = std::make_unique<DataBase>(dir.path().c_str(), "editor");
    DataBase no_catalogue(dir.path().c_str(), "missing");
    EXPECT_EQ(nlsDomainManager::gettext(message), message); // nothing selected yet

    EXPECT_EQ(nlsDomainManager::textdomain("editor"), path);
    EXPECT_STREQ(nlsDomainManager::gettext("Open"), "German:Open");
    const char* absent = "absent";
    EXPECT_EQ(nlsDomainManager::gettext(absent), absent);

    EXPECT_EQ(nlsDomainManager::textdomain("nobody"), nullptr); // keeps the selection
    EXPECT_STREQ(nlsDomainManager::textdomain(nullptr), path.c_str());
    EXPECT_STREQ(nlsDomainManager::textdomain("missing"), "");
    EXPECT_EQ(nlsDomainManager::gettext(message), message);

    // An empty name means the environment's language; the name of no language, English.
    nlsDomainManager::textdomain("editor");
    EXPECT_EQ(nlsDomainManager::language(utString("")), 0u);
    EXPECT_STREQ(editor->language(), "German");
    EXPECT_STREQ(nlsDomainManager::gettext("Open"), "German:Open");
    nlsDomainManager::language(utString("NO_TRANSLATION"));
    EXPECT_EQ(nlsDomainManager::language(), utString("English"));

    nlsErrorData twice = Manager::add(editor.get());
    EXPECT_EQ(twice.code(), nlsERROR_DOMAIN_EXISTS);
    EXPECT_EQ(twice.get_string(0), utString("editor"));
    EXPECT_EQ(twice.string_count(), 2);
    EXPECT_EQ(Manager::remove(&no_catalogue), 0u);
    EXPECT_EQ(Manager::remove(&no_catalogue), nlsERROR_NO_DOMAIN);
    EXPECT_EQ(Manager::add(&no_catalogue).code(), 0u); // back in, for its destructor

    // Destroying the selected database forgets the selection.
    editor.reset();
    EXPECT_EQ(nlsDomainManager::textdomain(nullptr), nullptr);
    EXPECT_EQ(nlsDomainManager::gettext(message), message);
}

TEST_F(DomainManager, LookupsByDomainAndByDatabaseLeaveTheSelectionAlone) {
    using nlstest::MoEntry;
    const std::string plural("%d file\0%d files", 16), in_menu = "menu\x04Open";
    auto write = [&](const std::string& root, const std::string& domain,
                     std::vector<MoEntry> entries) {
        nlstest::write_file(root + "/German/LC_MESSAGES/" + domain + ".mo",
                            nlstest::build_mo(std::move(entries)));
    };
    write(dir.path(), "editor",
          {{"", "Plural-Forms: nplurals=3; plural=n%3;\n"},
           {"Open", "E:Open"},
           {plural, std::string("E0\0E1\0E2", 8)},
           {in_menu, "E:menu"}});
    write(dir.path(), "viewer", {{"Open", "V:Open"}, {plural, std::string("V0\0V1", 5)}});
    write(dir / "second", "viewer", {{"Open", "second viewer"}});
    const char *one = "%d file", *many = "%d files", *open = "Open";

    // Nothing selected, nothing registered: the untranslated pointers.
    EXPECT_EQ(nlsDomainManager::ngettext(one, many, 1), one);
    EXPECT_EQ(nlsDomainManager::npgettext("menu", one, many, 2), many);
    EXPECT_EQ(nlsDomainManager::dngettext("viewer", one, many, 0), many);
    EXPECT_EQ(nlsDomainManager::dgettext("viewer", open), open);

    DataBase editor(dir.path().c_str(), "editor");
    DataBase viewer(dir.path().c_str(), "viewer");
    DataBase second_viewer((dir / "second").c_str(), "viewer");
    DataBase none(dir.path().c_str(), "missing");
    std::string selected = nlsDomainManager::textdomain("editor");

    EXPECT_STREQ(nlsDomainManager::dgettext("viewer", open), "V:Open"); // the first registered
    EXPECT_STREQ(nlsDomainManager::dngettext("viewer", one, many, 5), "V1");
    EXPECT_STREQ(nlsDomainManager::dngettext(nullptr, one, many, 5), "E2");
    EXPECT_EQ(nlsDomainManager::dgettext("nobody", open), open);
    EXPECT_EQ(nlsDomainManager::dngettext("missing", one, many, 1), one);
    EXPECT_STREQ(second_viewer.gettext(open), "second viewer");
    EXPECT_STREQ(viewer.ngettext(one, many, 1), "V0");
    EXPECT_EQ(viewer.pgettext("menu", open), open);
    EXPECT_STREQ(editor.npgettext("menu", "Open", many, 4), "E:menu"); // one form only
    EXPECT_EQ(none.ngettext(one, many, 2), many);

    EXPECT_EQ(nlsDomainManager::textdomain(nullptr), selected);
    EXPECT_STREQ(nlsDomainManager::gettext(open), "E:Open");
    EXPECT_STREQ(nlsDomainManager::ngettext(one, many, 4), "E1");
    EXPECT_STREQ(nlsDomainManager::pgettext("menu", open), "E:menu");
    EXPECT_EQ(nlsDomainManager::npgettext("tool", one, many, 1), one);
}

TEST_F(DomainManager, DatabasesOfOneFileShareOneCatalogue) {
    std::string path = catalogue(dir.path(), "German", "editor", {"Open"});
    auto first = std::make_unique<DataBase>(dir.path().c_str(), "editor");
    // The same directory spelled in other ways still names the same file.
    DataBase second((dir.path() + "/").c_str(), "editor");
    DataBase third((dir.path() + "/.").c_str(), "editor");
    ASSERT_NE(second.m_loaded_domain, nullptr);
    EXPECT_EQ(first->m_loaded_domain, second.m_loaded_domain);
    EXPECT_EQ(third.m_loaded_domain, second.m_loaded_domain);
    EXPECT_EQ(second.m_loaded_domain->references, 3u);
    EXPECT_EQ(second.domain(), utString(path.c_str()));
    EXPECT_EQ(nlsDomainManager::textdomain("editor"), path); // the first registered
    first.reset();
    EXPECT_EQ(second.m_loaded_domain->references, 2u);
    nlsDomainManager::textdomain("editor");
    EXPECT_STREQ(nlsDomainManager::gettext("Open"), "German:Open");
}

// A database that shares its catalogue reports the environment's language, whatever file it
// holds; after any switches, each must still answer from what a new search would find.
TEST_F(DomainManager, EveryDatabaseAnswersInTheLanguageASearchWouldFindNow) {
    for (const char* language : {"German", "French"})
        for (const char* domain : {"editor", "viewer"})
            catalogue(dir.path(), language, domain, {"m"});
    // Steps: a language to switch to (Latin has no catalogue: German, the environment's, serves),
    // or ~1 and ~2 to destroy the first or the second database. LANGUAGE=fr finds French first.
    const struct {
        const char *second_domain, *language_list;
        std::vector<std::string> steps;
    } cases[] = {
        {"editor", nullptr, {"French", "German", "~1", "French", "German"}},
        {"editor", nullptr, {"French", "German", "~2", "French"}},
        {"editor", nullptr, {"French", "Latin", "French", "~1", "German"}},
        {"editor", nullptr, {"Latin", "German", "French", "~2", "Latin"}},
        {"viewer", nullptr, {"French", "German", "Latin", "~1", "French"}},
        {"editor", "fr", {"German", "~1", "French"}},
    };
    for (const auto& c : cases) {
        Manager::the_current_language = utString();
        nlstest::ScopedEnv language_list("LANGUAGE", c.language_list);
        const char* domains[] = {"editor", c.second_domain};
        std::unique_ptr<DataBase> databases[2];
        for (int i = 0; i < 2; ++i)
            databases[i] = std::make_unique<DataBase>(dir.path().c_str(), domains[i]);
        std::string expected = c.language_list ? "French:m" : "German:m", trace;
        for (const std::string& step : c.steps) {
            trace += " " + step;
            if (step[0] == '~')
                databases[step[1] - '1'].reset();
            else
                nlsDomainManager::language(utString(step.c_str()));
            if (step[0] != '~') expected = (step == "Latin" ? "German" : step) + ":m";

            std::map<const nlsLoadedDomain*, unsigned int> holders;
            for (int i = 0; i < 2; ++i) {
                if (!databases[i]) continue;
                const nlsLoadedDomain* held = databases[i]->m_loaded_domain;
                ASSERT_NE(held, nullptr) << trace;
                ++holders[held];
                EXPECT_EQ(held->translate("m"), expected) << trace << ": database " << i + 1;
                nlsDomainManager::textdomain(domains[i]);
                EXPECT_EQ(nlsDomainManager::gettext("m"), expected) << trace;
            }
            // Each catalogue counts exactly its holders, and every held one is listed.
            for (nlsLoadedDomain* entry = Manager::the_loaded_domains; entry; entry = entry->next) {
                EXPECT_EQ(entry->references, holders[entry]) << trace;
                holders.erase(entry);
            }
            EXPECT_TRUE(holders.empty()) << trace;
        }
    }
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

TEST_F(Listing, DatabasesListTheirOwnLanguagesAndTheManagerThoseOfAll) {
    // German a second time through "de-DE"; "russian" and "ja-JP" name table languages, but no
    // catalogue lies under the table's names (unless letter case does not count in file names,
    // as on Windows: then Russian is found); Latin and English-GBR have no row.
    for (const char* language :
         {"German", "French", "Polish", "de-DE", "russian", "ja-JP", "Latin", "English-GBR"})
        catalogue(first, language, "editor", {"m"});
    const bool names_ignore_case =
        apFileFinder::check_path_exists(utString((first + "/RUSSIAN").c_str())) == apFILE_EXISTS;
    catalogue(first, "Italian", "viewer", {"m"});
    nlstest::write_file(first + "/pl-PL", "a plain file named like a language");
    for (const char* language : {"Russian", "German", "French"})
        catalogue(second, language, "viewer", {"m"});
    nlstest::ScopedEnv nlspath("NLSPATH", first.c_str()); // searched for catalogues, not listed

    // With one database, its own languages in name order, as full table records.
    nlsDataBase editor(first.c_str(), "editor");
    EXPECT_EQ(nlsDomainManager::list_available_languages(sink).code(), nlsERROR_NONE);
    Names own = {"French fr-FR", "German de-DE", "German de-DE", "Polish pl-PL"};
    if (names_ignore_case) own.push_back("Russian ru-RU");
    EXPECT_EQ(delivered, own);
    // With two, those common to both; German twice, as the first database lists it twice.
    nlsDataBase viewer(second.c_str(), "viewer");
    delivered.clear();
    nlsDomainManager::list_available_languages(sink);
    Names common = {"French fr-FR", "German de-DE", "German de-DE"};
    if (names_ignore_case) common.push_back("Russian ru-RU");
    EXPECT_EQ(delivered, common);
}

TEST_F(Listing, ManagerWithoutDatabasesDeliversNothingAndASinkMayDestroyThem) {
    EXPECT_EQ(nlsDomainManager::list_available_languages(sink).code(), nlsERROR_NONE); // none yet
    catalogue(first, "French", "editor", {"m"});
    catalogue(first, "German", "editor", {"m"});
    doomed = std::make_unique<nlsDataBase>(first.c_str(), "editor");
    nlsDomainManager::list_available_languages(sink);
    EXPECT_EQ(nlsDomainManager::list_available_languages(sink).code(), nlsERROR_NONE); // none left
    // German too: with no database left, none lacks it.
    EXPECT_EQ(delivered, (Names{"French fr-FR", "German de-DE"}));
}

TEST_F(Listing, TreesLaidOutAsUsrShareLocaleAreSearchedAndListed) {
    for (const char* folder : {"de", "de_DE", "de_DE.UTF-8", "pt_BR", "fr", "nl", "en_GB"})
        catalogue(first, folder, "shop", {"Open"});
    nlsDataBase shop(first.c_str(), "shop");
    nlsDomainManager::list_available_languages(sink);
    // nl (Dutch) and en_GB (English-GBR) have no table row; de_DE.UTF-8 is not searched.
    EXPECT_EQ(delivered, (Names{"French fr-FR", "German de-DE", "Portuguese-BRA pt-BR"}));

    const char* cases[][3] = {
        {"German", "German", "de_DE"}, // de_DE before de
        {"German-AUT", "German-AUT", "de"},
        {"fr_CA.UTF-8", "French-CAN", "fr"},
        {"pt_BR.UTF-8", "Portuguese-BRA", "pt_BR"},
        {"Dutch-NLD", "Dutch-NLD", "nl"},
    };
    nlsDomainManager::textdomain("shop");
    for (auto& c : cases) {
        nlsDomainManager::language(utString(c[0]));
        EXPECT_STREQ(shop.language(), c[1]);
        EXPECT_EQ(nlsDomainManager::gettext("Open"), std::string(c[2]) + ":Open") << c[0];
    }

    // Beside a folder of the library's name, which is found first as it always was, de adds no
    // second German.
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

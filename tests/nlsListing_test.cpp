#include <nls/fillers/coiFillers.h>
#include <nls/nlsErrorData.h>
#include <nls/nlsLanguage.h>
#include <platform/apFileFinder.h>

#include "nlsManagerTestSupport.h"

#include <memory>
#include <string>
#include <vector>

namespace {

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

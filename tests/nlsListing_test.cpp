#include <nls/fillers/coiFillers.h>
#include <nls/nlsErrorData.h>
#include <nls/nlsLanguage.h>

#include "nlsManagerTestSupport.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

using Names = std::vector<std::string>;

class Listing : public nlstest::ManagerTest {
protected:
    // Missing catalogues for the environment's language are no concern here.
    nlsDataBase::handler_type saved = nlsDataBase::error_handler(nullptr);
    ~Listing() override { nlsDataBase::error_handler(saved); }

    std::string first = dir / "first";
    std::string second = dir / "second";

    /// The names that `database` lists, sorted: the database gives the file system's order.
    static Names listed(const nlsDataBase& database) {
        std::vector<nlsLanguage> found;
        database.list_available_languages(coiFillers::make_filler(found));
        Names names;
        for (const nlsLanguage& language : found)
            names.push_back(language.name().c_str());
        std::sort(names.begin(), names.end());
        return names;
    }
};

TEST_F(Listing, DatabasesListTheirOwnLanguagesAndTheManagerThoseOfAll) {
    // German a second time through "de-DE"; "russian" and "ja-JP" name table languages, but on a
    // case-sensitive file system no catalogue lies under the table's names; Latin and English-GBR
    // have no row.
    for (const char* language :
         {"German", "French", "Polish", "de-DE", "russian", "ja-JP", "Latin", "English-GBR"})
        catalogue(first, language, "editor", {"m"});
    catalogue(first, "Italian", "viewer", {"m"});
    nlstest::write_file(first + "/pl-PL", "a plain file named like a language");
    for (const char* language : {"Russian", "German", "French"})
        catalogue(second, language, "viewer", {"m"});
    nlstest::ScopedEnv nlspath("NLSPATH", first.c_str()); // searched for catalogues, not listed

    nlsDataBase editor(first.c_str(), "editor");
    nlsDataBase viewer(second.c_str(), "viewer");
    EXPECT_EQ(listed(editor), (Names{"French", "German", "German", "Polish"}));
    EXPECT_EQ(listed(viewer), (Names{"French", "German", "Russian"}));

    Names delivered;
    auto sink = coiFillers::make_filler<nlsLanguage>([&](nlsLanguage language) {
        delivered.push_back(std::string(language.name().c_str()) + " " +
                            language.iso_name().c_str());
    });
    EXPECT_EQ(nlsDomainManager::list_available_languages(sink).code(), nlsERROR_NONE);
    // Common to both, in name order, as full table records; German twice, as the first database
    // lists it twice.
    EXPECT_EQ(delivered, (Names{"French fr-FR", "German de-DE", "German de-DE"}));
}

TEST_F(Listing, ManagerWithoutDatabasesDeliversNothingAndASinkMayDestroyThem) {
    std::unique_ptr<nlsDataBase> database;
    Names delivered;
    auto sink = coiFillers::make_filler<nlsLanguage>([&](nlsLanguage language) {
        delivered.push_back(language.name().c_str());
        database.reset();
    });
    EXPECT_EQ(nlsDomainManager::list_available_languages(sink).code(), nlsERROR_NONE); // none yet
    catalogue(first, "French", "editor", {"m"});
    catalogue(first, "German", "editor", {"m"});
    database = std::make_unique<nlsDataBase>(first.c_str(), "editor");
    EXPECT_EQ(nlsDomainManager::list_available_languages(sink).code(), nlsERROR_NONE);
    // German too: with no database left, none lacks it.
    EXPECT_EQ(delivered, (Names{"French", "German"}));
    EXPECT_EQ(nlsDomainManager::list_available_languages(sink).code(), nlsERROR_NONE);
    EXPECT_EQ(delivered.size(), 2u);
}

} // namespace

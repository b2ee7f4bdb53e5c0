#include <nls/fillers/coiFillers.h>
#include <nls/nlsErrorData.h>
#include <nls/nlsLanguage.h>

#include "nlsManagerTestSupport.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

using Names = std::vector<std::string>;

Names names_of(const std::vector<nlsLanguage>& languages) {
    Names names;
    for (const nlsLanguage& language : languages)
        names.push_back(language.name().c_str());
    return names;
}

class Listing : public nlstest::ManagerTest {
protected:
    // Missing catalogues for the environment's language are no concern here.
    nlsDataBase::handler_type saved = nlsDataBase::error_handler(nullptr);
    ~Listing() override { nlsDataBase::error_handler(saved); }

    std::string first = dir / "first";
    std::string second = dir / "second";

    /// `first` for the domain "editor": French, German and Polish, German once more through
    /// "de-DE", and entries that must not count.
    void first_tree() {
        for (const char* language :
             {"German", "French", "Polish", "de-DE", "russian", "ja-JP", "Latin", "English-GBR"})
            catalogue(first, language, "editor", {"m"});
        catalogue(first, "Italian", "viewer", {"m"}); // another domain's catalogue
        nlstest::write_file(first + "/pl-PL", "a plain file named like a language");
    }
};

TEST_F(Listing, DatabaseListsTableLanguagesWhoseCatalogueLiesUnderTheName) {
    first_tree();
    nlsDataBase db(first.c_str(), "editor");
    std::vector<nlsLanguage> found;
    db.list_available_languages(coiFillers::make_filler(found));
    Names names = names_of(found); // in the file system's order
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (Names{"French", "German", "German", "Polish"}));
    auto german = std::find(found.begin(), found.end(), nlsLanguage("German"));
    ASSERT_NE(german, found.end());
    EXPECT_STREQ(german->iso_name().c_str(), "de-DE");
    EXPECT_STREQ(german->akn_code().c_str(), "DEU");
}

TEST_F(Listing, DatabaseLooksOnlyAtItsOwnDirectory) {
    catalogue(first, "French", "editor", {"m"});
    catalogue(second, "German", "editor", {"m"});
    nlstest::ScopedEnv nlspath("NLSPATH", second.c_str());
    std::vector<nlsLanguage> found;
    nlsDataBase without("editor");
    without.list_available_languages(coiFillers::make_filler(found));
    EXPECT_TRUE(found.empty());

    nlsDataBase own(first.c_str(), "editor");
    own.list_available_languages(coiFillers::make_filler(found));
    EXPECT_EQ(names_of(found), Names{"French"});
}

TEST_F(Listing, ManagerDeliversInNameOrderWhatEveryDatabaseLists) {
    first_tree();
    for (const char* language : {"Russian", "German", "French"})
        catalogue(second, language, "viewer", {"m"});
    nlsDataBase editor(first.c_str(), "editor");
    std::vector<nlsLanguage> found;
    EXPECT_EQ(nlsDomainManager::list_available_languages(coiFillers::make_filler(found)).code(),
              nlsERROR_NONE);
    EXPECT_EQ(names_of(found), (Names{"French", "German", "German", "Polish"}));

    nlsDataBase viewer(second.c_str(), "viewer");
    Names delivered;
    nlsDomainManager::list_available_languages(coiFillers::make_filler<nlsLanguage>(
        [&](nlsLanguage language) { delivered.push_back(language.name().c_str()); }));
    EXPECT_EQ(delivered, (Names{"French", "German", "German"}));
}

TEST_F(Listing, ManagerWithoutDatabasesDeliversNothing) {
    int calls = 0;
    auto count = coiFillers::make_filler<nlsLanguage>([&](nlsLanguage) { ++calls; });
    EXPECT_EQ(nlsDomainManager::list_available_languages(count).code(), nlsERROR_NONE);
    catalogue(first, "German", "editor", {"m"});
    { nlsDataBase gone(first.c_str(), "editor"); }
    EXPECT_EQ(nlsDomainManager::list_available_languages(count).code(), nlsERROR_NONE);
    EXPECT_EQ(calls, 0);
}

TEST_F(Listing, SinkMayDestroyTheDatabases) {
    catalogue(first, "French", "editor", {"m"});
    catalogue(first, "German", "editor", {"m"});
    auto db = std::make_unique<nlsDataBase>(first.c_str(), "editor");
    Names delivered;
    nlsDomainManager::list_available_languages(
        coiFillers::make_filler<nlsLanguage>([&](nlsLanguage language) {
            delivered.push_back(language.name().c_str());
            db.reset();
        }));
    // German too: with no database left, none lacks it.
    EXPECT_EQ(delivered, (Names{"French", "German"}));

    db = std::make_unique<nlsDataBase>(first.c_str(), "editor");
    delivered.clear();
    db->list_available_languages(coiFillers::make_filler<nlsLanguage>([&](nlsLanguage language) {
        delivered.push_back(language.name().c_str());
        db.reset();
    }));
    EXPECT_EQ(delivered.size(), 2u);
}

TEST(Fillers, CopiesShareOneReceiver) {
    std::vector<int> items;
    coiFiller<int> sink = coiFillers::make_filler(items);
    coiFiller<int> copy = sink;
    sink.add(4);
    copy.add(5);
    EXPECT_EQ(items, (std::vector<int>{4, 5}));

    coiFiller<int>(nullptr).add(1); // no receiver: dropped
    coiFiller<int> empty = coiFillers::make_filler(std::function<void(int)>());
    EXPECT_THROW(empty.add(1), std::bad_function_call);
}

} // namespace

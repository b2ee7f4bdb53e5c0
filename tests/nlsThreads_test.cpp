// Lookups from several threads while other threads switch language and create and destroy
// databases. Run under ThreadSanitizer in CI (scripts/test.sh --tsan).

#include <nls/fillers/coiFillers.h>
#include <nls/nlsErrorData.h>

#include "nlsManagerTestSupport.h"

#include <atomic>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {

using nlstest::DataBase;

const char* const kLanguages[] = {"German", "French", "Japanese"};
const char* const kMessages[] = {"Open", "Save", "Close"};

class Threads : public nlstest::ManagerTest {
protected:
    nlstest::ScopedEnv german{"LANG", "German"};

    void SetUp() override {
        for (const char* language : kLanguages)
            for (const char* domain : {"editor", "viewer", "other"})
                catalogue(dir.path(), language, domain,
                          {"Open", "Save", "Close", std::string("menu\x04Open")});
    }
};

// Every answer is the message itself or one language's translation of it.
bool plausible(const char* message, const char* answer) {
    if (answer == message) return true;
    for (const char* language : kLanguages)
        if (std::string(answer) == std::string(language) + ":" + message) return true;
    return false;
}

TEST_F(Threads, LookupsSeeWholeStatesWhileLanguagesAndDatabasesChange) {
    DataBase editor(dir.path().c_str(), "editor");
    DataBase viewer(dir.path().c_str(), "viewer");
    constexpr int kRounds = 400;
    std::atomic<int> wrong{0};
    std::atomic<bool> done{false};

    // Two readers each select a domain and translate: they once walked the database list with its
    // one shared cursor at the same time.
    auto reader = [&](const char* domain) {
        const char* other = std::strcmp(domain, "editor") == 0 ? "viewer" : "editor";
        DataBase& held = std::strcmp(domain, "editor") == 0 ? editor : viewer;
        for (int i = 0; !done || i < kRounds; ++i) {
            const char* path = nlsDomainManager::textdomain(domain);
            if (!path) ++wrong;
            for (const char* message : kMessages) {
                // Every lookup form, in the selected domain, another one and a held database.
                const char* answers[] = {
                    nlsDomainManager::gettext(message),
                    nlsDomainManager::dgettext(other, message),
                    nlsDomainManager::ngettext(message, "plural", 1),
                    nlsDomainManager::dngettext(other, message, "plural", 1),
                    held.gettext(message),
                    held.ngettext(message, "plural", 1),
                };
                for (const char* answer : answers)
                    if (!plausible(message, answer)) ++wrong;
            }
            const char* context[] = {nlsDomainManager::pgettext("menu", "Open"),
                                     nlsDomainManager::npgettext("menu", "Open", "plural", 1),
                                     held.pgettext("menu", "Open"),
                                     held.npgettext("menu", "Open", "plural", 1)};
            for (const char* answer : context)
                if (!plausible("menu\x04Open", answer) && std::strcmp(answer, "Open") != 0) ++wrong;
            if (std::strcmp(held.domain().c_str(), "") == 0 || !*held.language()) ++wrong;
            if (std::strlen(nlsDomainManager::language().c_str()) > 20) ++wrong;
            if (!nlsDomainManager::env_language(nlsLANG_DATABASE)) ++wrong;
            if (i % 50 == 0) {
                std::vector<nlsLanguage> languages;
                nlsDomainManager::list_available_languages(coiFillers::make_filler(languages));
                if (languages.size() != 3) ++wrong;
            }
        }
    };
    std::thread readers[] = {std::thread(reader, "editor"), std::thread(reader, "viewer")};
    std::thread switcher([&] {
        for (int i = 0; i < kRounds; ++i)
            nlsDomainManager::language(utString(kLanguages[i % 3]));
    });
    std::thread maker([&] {
        for (int i = 0; i < kRounds; ++i) {
            DataBase shared(dir.path().c_str(), i % 2 ? "editor" : "viewer");
            DataBase own(dir.path().c_str(), "other");
        }
    });
    switcher.join();
    maker.join();
    done = true;
    for (std::thread& t : readers)
        t.join();
    EXPECT_EQ(wrong, 0);
}

TEST_F(Threads, TranslationsOutliveLanguageSwitches) {
    DataBase editor(dir.path().c_str(), "editor");
    const char* path = nlsDomainManager::textdomain("editor");
    const char* open = nlsDomainManager::gettext("Open");
    ASSERT_STREQ(open, "German:Open");
    std::string kept_path = path;
    for (const char* language : {"French", "Japanese", "German", "French"})
        nlsDomainManager::language(utString(language));
    // Switched away three times, the first catalogue is still the memory they point into.
    EXPECT_STREQ(open, "German:Open");
    EXPECT_EQ(kept_path, path);
    EXPECT_STREQ(nlsDomainManager::gettext("Open"), "French:Open");
    // The German file, wanted again, is taken up from memory rather than read again.
    nlsDomainManager::language(utString("German"));
    EXPECT_EQ(nlsDomainManager::gettext("Open"), open);
    // A file rewritten since is read again.
    catalogue(dir.path(), "French", "editor", {"Open", "Reopen"});
    nlsDomainManager::language(utString("French"));
    EXPECT_STREQ(nlsDomainManager::gettext("Reopen"), "French:Reopen");
}

} // namespace

// Lookups while other threads switch language and make and destroy databases (run under TSan).

#include <nls/fillers/coiFillers.h>

#include "nlsTestSupport.h"

#include <atomic>
#include <cstring>
#include <thread>

namespace {

using nlstest::DataBase;

const char* const kLanguages[] = {"German", "French", "Japanese"};

class Threads : public nlstest::ManagerTest {
protected:
    nlstest::ScopedEnv german{"LANG", "German"};

    void SetUp() override {
        for (const char* language : kLanguages)
            for (const char* domain : {"editor", "viewer"})
                catalogue(dir.path(), language, domain, {"Open", "Save", "menu\x04Open"});
    }
};

// Every answer is the message itself or one language's translation of it.
bool plausible(const char* message, const char* answer, const char* untranslated) {
    for (const char* language : kLanguages)
        if (std::string(answer) == std::string(language) + ":" + message) return true;
    return answer == untranslated;
}

TEST_F(Threads, LookupsSeeWholeStatesDuringChanges) {
    DataBase editor(dir.path().c_str(), "editor"), viewer(dir.path().c_str(), "viewer");
    constexpr int kRounds = 400;
    std::atomic<int> wrong{0};
    std::atomic<bool> done{false};
    // Two readers select a domain and translate: they once shared the database list's cursor.
    auto reader = [&](const char* domain) {
        const char* other = std::strcmp(domain, "editor") == 0 ? "viewer" : "editor";
        DataBase& held = std::strcmp(domain, "editor") == 0 ? editor : viewer;
        for (int i = 0; !done || i < kRounds; ++i) {
            if (!nlsDomainManager::textdomain(domain)) ++wrong;
            for (const char* message : {"Open", "Save", "Close"})
                for (const char* answer : {nlsDomainManager::gettext(message),
                                           nlsDomainManager::dngettext(other, message, "p", 1),
                                           held.ngettext(message, "p", 1)})
                    wrong += !plausible(message, answer, message);
            const char* open = "Open";
            for (const char* answer :
                 {nlsDomainManager::pgettext("menu", open), held.npgettext("menu", open, "p", 1)})
                wrong += !plausible("menu\x04Open", answer, open);
            if (held.domain().empty() || !*held.language()) ++wrong;
            std::vector<nlsLanguage> languages; // now and then, those of all databases
            if (i % 50 == 0) {
                nlsDomainManager::list_available_languages(coiFillers::make_filler(languages));
                wrong += languages.size() != 3;
            }
        }
    };
    std::thread readers[] = {std::thread(reader, "editor"), std::thread(reader, "viewer")};
    std::thread switcher([&] {
        for (int i = 0; i < kRounds; ++i)
            nlsDomainManager::language(utString(kLanguages[i % 3]));
    });
    std::thread maker([&] {
        for (int i = 0; i < kRounds; ++i)
            DataBase shared(dir.path().c_str(), i % 2 ? "editor" : "viewer");
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
    for (const char* language : {"French", "Japanese", "German", "French"})
        nlsDomainManager::language(utString(language));
    // Switched away three times, the first catalogue is still the memory they point into; wanted
    // again, it is taken up from memory rather than read again.
    EXPECT_STREQ(open, "German:Open");
    EXPECT_EQ(path, dir / "German/LC_MESSAGES/editor.mo");
    EXPECT_STREQ(nlsDomainManager::gettext("Open"), "French:Open");
    nlsDomainManager::language(utString("German"));
    EXPECT_EQ(nlsDomainManager::gettext("Open"), open);
    // A file rewritten since is read again.
    catalogue(dir.path(), "French", "editor", {"Open", "Reopen"});
    nlsDomainManager::language(utString("French"));
    EXPECT_STREQ(nlsDomainManager::gettext("Reopen"), "French:Reopen");
}

} // namespace

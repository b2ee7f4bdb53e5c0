// Translations in other charsets: charset names, conversion into a codeset given, the converted
// texts' lifetime, threads. posix/msgfmt_oracle_test.cpp compares with glibc.

#include <nls/nlsLoadedDomain.h>
#include <platform/internal/apCharset.h>

#include "nlsTestSupport.h"

#include <atomic>
#include <clocale>
#include <thread>
#include <tuple>

namespace {

// A catalogue whose header names `charset` (none when null), its file followed by `tail`.
std::unique_ptr<nlstest::Loaded> catalogue(const char* charset,
                                           std::vector<nlstest::MoEntry> entries,
                                           const std::string& tail = "") {
    entries.push_back(
        {"", charset ? std::string("Content-Type: text/plain; charset=") + charset : "X: y"});
    return nlstest::load(nlstest::build_mo(entries) + tail);
}

const char* converted(const nlsLoadedDomain& d, const char* msgid, const char* codeset) {
    return d.converted(d.translate(msgid), codeset, msgid);
}

TEST(apCharset, NamesCompareAsTheConverterTakesThem) {
    const std::tuple<const char*, const char*, bool> names[] = {
        {"UTF-8", "utf8", true},       {"UTF-8//TRANSLIT", "ISO-10646/UTF8/", true},
        {"ISO8859-1", "latin1", true}, {"ISO-8859-1", "ISO-8859-10", false},
        {"EUC-JP", "ujis", true},      {"CP1252", "windows-1252", true},
        {"UTF-8", "UTF_8", false},     {"x-unknown", "X-UNKNOWN", true}};
    for (const auto& [a, b, same] : names) {
        EXPECT_EQ(ap_same_charset(a, b), same) << a << " " << b;
        EXPECT_EQ(ap_same_charset(b, a), same) << b << " " << a;
    }
}

// Converted, or the text as stored (the very pointer), or untranslated (the key itself).
TEST(nlsLoadedDomain, TranslationsComeInTheCodesetAskedFor) {
    const std::string kStored = "(stored)", kUntranslated = "(untranslated)";
    const std::tuple<const char*, const char*, const char*, std::string> cases[] = {
        {"ISO-8859-1", "Gr\xf6\xdf", "UTF-8", "Gr\u00f6\u00df"},
        {"ISO-8859-1", "Gr\xf6\xdf", "latin1", kStored},
        {"ISO-8859-1", "Gr\xf6\xdf", "ISO-8859-2", kStored}, // converted into the same bytes
        {"EUC-JP", "\xc6\xfc\xcb\xdc", "UTF-8", "\u65e5\u672c"},
        {"UTF-8", "a\xff!", "utf8", kStored}, // not UTF-8, but not converted either
        {"UTF-8", "a\xff!", "ISO-8859-1", kUntranslated},
        {nullptr, "a\xff!", "ISO-8859-1", kStored},
        {"CHARSET", "Open", "UTF-8", kUntranslated}, // a charset the system does not know
        {"UTF-8", "Open", "UTF_8", kUntranslated}};
    for (const auto& [charset, stored, codeset, expected] : cases) {
        const auto c = catalogue(charset, {{"key", stored}});
        const char* key = "key";
        const char* want = expected == kStored         ? c->domain->translate(key)
                           : expected == kUntranslated ? key
                                                       : expected.c_str();
        const char* got = converted(*c->domain, key, codeset);
        EXPECT_STREQ(got, want) << (charset ? charset : "none") << " to " << codeset;
        if (want != expected.c_str()) {
            EXPECT_EQ(got, want);
        }
    }
}

using Conversions = nlstest::StateSavingTest;

// Threads convert the same texts at once beside one that changes the LC_CTYPE locale: each text
// is made once, for every spelling of its charset, and lives on as the tables grow.
TEST_F(Conversions, EachTextIsMadeOnceForAllThreads) {
    std::vector<nlstest::MoEntry> entries;
    for (int i = 0; i < 500; ++i)
        entries.push_back({"m" + std::to_string(i), "\xe4 " + std::to_string(i)});
    const auto c = catalogue("ISO-8859-1", entries, "\xe4\xe4"); // the file ends without a NUL
    const nlsLoadedDomain& d = *c->domain;
    std::vector<const char*> answers[4];
    std::atomic<int> wrong{0};
    auto reader = [&](int t) {
        answers[t].resize(500);
        for (int n = 0; n < 500; ++n) {
            int i = t % 2 ? n : 499 - n;
            std::string key = "m" + std::to_string(i);
            answers[t][i] = converted(d, key.c_str(), t < 2 ? "UTF-8" : "utf-8");
            // UTF-8 or Latin-1 (on Windows the code page 1252, which holds these texts alike).
            const char* now = converted(d, key.c_str(), nullptr);
            if (now != d.translate(key.c_str()) && now != answers[t][i]) ++wrong;
        }
    };
    std::setlocale(LC_CTYPE, "de_DE.UTF-8");
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back(reader, t);
    for (int i = 0; i < 200; ++i)
        std::setlocale(LC_CTYPE, i % 2 ? "de_DE.UTF-8" : "de_DE.ISO-8859-1");
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(wrong, 0);
    for (int i = 0; i < 500; ++i) {
        EXPECT_EQ(answers[0][i], "\u00e4 " + std::to_string(i));
        for (int t = 1; t < 4; ++t)
            EXPECT_EQ(answers[t][i], answers[0][i]);
    }
    // Only the catalogue's own texts are converted, and only up to its end.
    const char* unterminated = reinterpret_cast<const char*>(d.image + d.image_size - 2);
    for (const char* text : {"\xe4", unterminated})
        EXPECT_EQ(d.converted(text, "UTF-8", "x"), text);
}

} // namespace

// Translations in other charsets: charset names, conversions into a codeset given explicitly, the
// converted texts' lifetime and threads. posix/charset_oracle_test.cpp compares with glibc.

#include <nls/nlsLoadedDomain.h>
#include <platform/internal/apCharset.h>

#include "moWriter.h"
#include "nlsManagerTestSupport.h"

#include <algorithm>
#include <atomic>
#include <clocale>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

namespace {

using namespace std::string_literals;

// A catalogue whose header names `charset` (none when null).
struct Catalogue {
    nlstest::TempDir dir;
    std::unique_ptr<nlsLoadedDomain> domain;

    Catalogue(const char* charset, std::vector<nlstest::MoEntry> entries,
              const std::string& tail = "") {
        entries.push_back({"", charset ? "Content-Type: text/plain; charset="s + charset + "\n"
                                       : "Project-Id-Version: x\n"});
        nlstest::write_file(dir / "c.mo", nlstest::build_mo(entries) + tail);
        unsigned int code = 0;
        domain = std::make_unique<nlsLoadedDomain>(utString((dir / "c.mo").c_str()), &code);
    }
    // The translation of `msgid` in `codeset`.
    const char* get(const char* msgid, const char* codeset) const {
        return domain->converted(domain->translate(msgid), codeset, msgid);
    }
};

TEST(apCharset, NamesCompareAsTheConverterTakesThem) {
    const std::tuple<const char*, const char*, bool> names[] = {
        {"UTF-8", "utf8", true},
        {"UTF-8//TRANSLIT", "ISO-10646/UTF8/", true},
        {"ISO-8859-1", "latin1", true},
        {"ISO8859-1", "iso_8859-1", true},
        {"ISO88591", "L1", true},
        {"ISO-8859-15", "LATIN-9", true},
        {"ISO-8859-1", "ISO-8859-10", false},
        {"EUC-JP", "ujis", true},
        {"CP1252", "windows-1252", true},
        {"CP437", "IBM437", true},
        {"ANSI_X3.4-1968", "ascii", true},
        {"UTF-8", "UTF_8", false}, // the converter knows no such name
        {"x-unknown", "X-UNKNOWN", true},
        {"UTF-8", "", false},
    };
    for (const auto& [a, b, same] : names) {
        EXPECT_EQ(ap_same_charset(a, b), same) << a << " " << b;
        EXPECT_EQ(ap_same_charset(b, a), same) << b << " " << a;
    }
    const std::pair<const char*, unsigned int> code_pages[] = {
        {"iso-8859-2", 28592}, {"utf8", 65001}, {"windows-1252", 1252}, {"ujis", 20932},
        {"CP850", 850},        {"CP99999", 0},  {"CHARSET", 0},
    };
    for (const auto& [name, code_page] : code_pages)
        EXPECT_EQ(ap_charset_code_page(name), code_page) << name;
}

TEST(nlsLoadedDomain, TranslationsComeInTheCodesetAskedFor) {
    const std::string kStored = "(stored)", kUntranslated = "(untranslated)";
    const std::tuple<const char*, std::string, const char*, std::string> cases[] = {
        {"ISO-8859-1",
         "Gr\xf6\xdf"
         "e",
         "UTF-8", "Gr\u00f6\u00dfe"},
        {"ISO-8859-1",
         "Gr\xf6\xdf"
         "e",
         "latin1", kStored},
        {"ISO-8859-1",
         "Gr\xf6\xdf"
         "e",
         "ISO-8859-2", kStored}, // converted to the same bytes
        {"UTF-8", "Gr\u00f6\u00dfe", "ISO-8859-1",
         "Gr\xf6\xdf"
         "e"},
        {"EUC-JP", "\xc6\xfc\xcb\xdc", "UTF-8", "\u65e5\u672c"},
        {"UTF-8", "\u65e5\u672c", "EUC-JP", "\xc6\xfc\xcb\xdc"},
        {"UTF-8",
         "a\xff"
         "b",
         "utf8", kStored}, // invalid, but nothing to convert
        {"UTF-8",
         "a\xff"
         "b",
         "ISO-8859-1", kUntranslated},
        {"UTF-8", "ab\xc3", "ISO-8859-1", kUntranslated}, // cut short
        {nullptr, "Gr\u00f6\u00dfe", "ISO-8859-1", kStored},
        {"", "Gr\u00f6\u00dfe", "ISO-8859-1", kStored},
        {"CHARSET", "Open", "UTF-8", kUntranslated}, // msgfmt's placeholder names no charset
        {"UTF-8", "Open", "UTF_8", kUntranslated},
    };
    for (const auto& [charset, stored, codeset, expected] : cases) {
        Catalogue c(charset, {{"key", stored}});
        const char* key = "key";
        const char* translation = c.domain->translate(key);
        const char* got = c.domain->converted(translation, codeset, key);
        const std::string row = std::string(charset ? charset : "none") + " to " + codeset;
        if (expected == kStored)
            EXPECT_EQ(got, translation) << row;
        else if (expected == kUntranslated)
            EXPECT_EQ(got, key) << row;
        else
            EXPECT_EQ(got, expected) << row;
    }
}

TEST(nlsLoadedDomain, ConvertedTextsAreMadeOnceAndLastWithTheCatalogue) {
    std::vector<nlstest::MoEntry> entries = {{"file\0files"s, "eine \xe4\0zwei \xf6"s}};
    for (int i = 0; i < 300; ++i)
        entries.push_back({"m" + std::to_string(i), "\xe4 " + std::to_string(i)});
    Catalogue c("ISO-8859-1", entries, "\xe4\xe4"); // the file ends without a NUL
    std::vector<const char*> first;
    for (int i = 0; i < 300; ++i)
        first.push_back(c.get(("m" + std::to_string(i)).c_str(), "UTF-8"));
    for (int i = 0; i < 300; ++i) { // another spelling of the charset shares them
        EXPECT_EQ(c.get(("m" + std::to_string(i)).c_str(), "utf8"), first[i]);
        EXPECT_EQ(first[i], "\u00e4 " + std::to_string(i));
    }
    const nlsLoadedDomain& d = *c.domain;
    EXPECT_STREQ(d.converted(d.ngettext("file", "files", 1), "UTF-8", "file"), "eine \u00e4");
    EXPECT_STREQ(d.converted(d.ngettext("file", "files", 2), "UTF-8", "files"), "zwei \u00f6");
    // Only the catalogue's own texts are converted, and only up to its end.
    const char* message = "\xe4";
    EXPECT_EQ(d.converted(message, "UTF-8", "x"), message);
    const char* unterminated = reinterpret_cast<const char*>(d.image + d.image_size - 2);
    EXPECT_EQ(d.converted(unterminated, "UTF-8", "x"), unterminated);
}

class Conversions : public nlstest::StateSavingTest {};

// Threads convert the same texts at once, beside one that changes the LC_CTYPE locale: each
// text is made once, and an answer is always whole.
TEST_F(Conversions, ThreadsShareEachConvertedText) {
    std::vector<nlstest::MoEntry> entries;
    std::vector<std::string> keys;
    for (int i = 0; i < 500; ++i) {
        keys.push_back("m" + std::to_string(i));
        entries.push_back({keys.back(), "\xe4 " + std::to_string(i)});
    }
    Catalogue c("ISO-8859-1", entries);
    std::vector<const char*> answers[4];
    std::atomic<int> wrong{0};
    auto reader = [&](int t) {
        for (std::size_t n = 0; n < keys.size(); ++n) {
            std::size_t i = t % 2 ? n : keys.size() - 1 - n;
            answers[t].push_back(c.get(keys[i].c_str(), t < 2 ? "UTF-8" : "utf-8"));
            // The locale's charset now: UTF-8, or Latin-1 (on Windows the code page 1252).
            const char* now = c.get(keys[i].c_str(), nullptr);
            if (now != c.domain->translate(keys[i].c_str()) && now != answers[t].back()) ++wrong;
        }
        if (t % 2 == 0) std::reverse(answers[t].begin(), answers[t].end());
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
    for (std::size_t i = 0; i < keys.size(); ++i) {
        EXPECT_EQ(answers[0][i], "\u00e4 " + std::to_string(i));
        for (int t = 1; t < 4; ++t)
            EXPECT_EQ(answers[t][i], answers[0][i]);
    }
}

} // namespace

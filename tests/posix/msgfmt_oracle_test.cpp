// Catalogues compiled by plain msgfmt against glibc's dgettext on the same file: POSIX only, where
// glibc and msgfmt run beside the tests.

#include <nls/nlsLoadedDomain.h>

#include "moWriter.h"
#include "nlsManagerTestSupport.h"

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <libintl.h>
#include <string>
#include <vector>

namespace {

const std::string kHeader = "msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=UTF-8\\n\"\n"
                            "\"Plural-Forms: ";

// glibc reads the catalogues of `dir` for a German user; ours are the same files.
class MsgfmtOracle : public nlstest::StateSavingTest {
protected:
    nlstest::TempDir dir;
    nlstest::ScopedEnv language{"LANGUAGE", nullptr};

    void SetUp() override {
        std::filesystem::create_directories(dir / "de/LC_MESSAGES");
        ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr) << "Debian package locales-all";
    }
    // Compiles `po` with msgfmt and `options` as the catalogue of `domain`, converted by msgconv
    // into `charset` first when one is given; returns its path.
    std::string compile(const std::string& domain, const std::string& po,
                        const std::string& options = "", const std::string& charset = "") {
        nlstest::write_file(dir / "in.po", po);
        std::string mo = dir / ("de/LC_MESSAGES/" + domain + ".mo");
        std::string command = NLS_MSGFMT " " + options + " -o " + mo + " " + (dir / "in.po");
        if (!charset.empty())
            command = "msgconv --to-code=" + charset + " " + (dir / "in.po") +
                      " | " NLS_MSGFMT " " + options + " -o " + mo + " -";
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        ::bindtextdomain(domain.c_str(), dir.path().c_str());
        ::bind_textdomain_codeset(domain.c_str(), "UTF-8");
        return mo;
    }
};

// Every message that glibc finds in a catalogue with a hash table is found with the same text,
// whether its bytes are ASCII or not, it has a plural form or a context, or it is long.
TEST_F(MsgfmtOracle, EveryMessageThatDgettextFindsIsFoundAlike) {
    std::string po = kHeader + "nplurals=2; plural=(n != 1);\\n\"\n\n" +
                     "msgctxt \"menu\"\nmsgid \"Open\"\nmsgstr \"\u00d6ffnen\"\n\n";
    std::vector<std::string> keys = {"menu\x04Open", std::string(5000, 'x')};
    for (int i = 0; i < 100; ++i)
        for (const char* stem : {"Gr\u00f6\u00dfe ", "caf\u00e9 ", "%d \u00e9l\u00e9ment "})
            keys.push_back(stem + std::to_string(i));
    for (std::size_t i = 1; i < keys.size(); ++i) { // "%d" keys have a plural form
        std::string str = "\"t" + std::to_string(i) + "\"\n";
        po += "msgid \"" + keys[i] + "\"\n" +
              (keys[i][0] == '%' ? "msgid_plural \"s\"\nmsgstr[0] " + str + "msgstr[1] "
                                 : "msgstr ") +
              str + "\n";
    }
    unsigned int code = 1;
    nlsLoadedDomain domain(utString(compile("oracle", po).c_str()), &code);
    ASSERT_GT(domain.hash_size, 2u) << code;
    for (const std::string& key : keys) {
        const char* expected = ::dgettext("oracle", key.c_str());
        EXPECT_NE(expected, key.c_str()); // the reference itself finds every one
        EXPECT_STREQ(domain.translate(key.c_str()), expected) << key.substr(0, 20);
        EXPECT_STREQ(domain.translate_by_binary_chop(key.c_str()), expected);
    }
    for (const char* absent : {"Gr\u00f6\u00dfe", "Open", "caf\u00e9 100"})
        EXPECT_EQ(domain.translate(absent), absent);
}

// Plural forms and contexts: the same text for every count, in catalogues with the rules of
// languages of one to six forms, with and without a hash table.
TEST_F(MsgfmtOracle, PluralFormsAndContextsAgreeWithGlibc) {
    const char* const languages[][2] = {
        {"en", "nplurals=2; plural=(n != 1);"},
        {"fr", "nplurals=2; plural=(n > 1);"},
        {"ru", "nplurals=3; plural=(n%10==1 && n%100!=11 ? 0 : n%10>=2 && n%10<=4 && "
               "(n%100<10 || n%100>=20) ? 1 : 2);"},
        {"cs", "nplurals=3; plural=(n==1) ? 0 : (n>=2 && n<=4) ? 1 : 2;"},
        {"ar", "nplurals=6; plural=n==0 ? 0 : n==1 ? 1 : n==2 ? 2 : n%100>=3 && n%100<=10 ? 3 "
               ": n%100>=11 ? 4 : 5;"},
        {"ga", "nplurals=5; plural=n==1 ? 0 : n==2 ? 1 : (n>2 && n<7) ? 2 :(n>6 && n<11) ? 3 : 4;"},
        {"sl", "nplurals=4; plural=(n%100==1 ? 0 : n%100==2 ? 1 : n%100==3 || n%100==4 ? 2 : 3);"},
        {"ro", "nplurals=3; plural=(n==1 ? 0 : (n==0 || (n%100 > 0 && n%100 < 20)) ? 1 : 2);"},
        {"ja", "nplurals=1; plural=0;"},
    };
    std::vector<unsigned long> counts = {2147483648ul, 4294967295ul};
    for (unsigned long n = 0; n <= 1000; ++n)
        counts.push_back(n);

    for (const auto& [name, rule] : languages) {
        std::string po = kHeader + rule + "\\n\"\n";
        for (std::string context : {"", "count"}) {
            po += (context.empty() ? "\n" : "\nmsgctxt \"" + context + "\"\n") +
                  "msgid \"%d file\"\nmsgid_plural \"%d files\"\n";
            for (int i = 0; i < std::atoi(rule + 9); ++i) // nplurals
                po += "msgstr[" + std::to_string(i) + "] \"" + name + context + std::to_string(i) +
                      "\"\n";
        }
        for (const char* options : {"", "--no-hash"}) {
            std::string domain = std::string(name) + (*options ? "-nohash" : "");
            unsigned int code = 1;
            nlsLoadedDomain ours(utString(compile(domain, po, options).c_str()), &code);
            ASSERT_TRUE(code == 0 && ours.plural_forms.parsed()) << domain;
            const char* d = domain.c_str();
            for (unsigned long n : counts) { // the first difference ends the test
                ASSERT_STREQ(ours.ngettext("%d file", "%d files", n),
                             ::dngettext(d, "%d file", "%d files", n))
                    << d << " n=" << n;
                ASSERT_STREQ(ours.npgettext("count", "%d file", "%d files", n),
                             ::dcngettext(d, "count\004%d file", "%d files", n, LC_MESSAGES))
                    << n;
            }
        }
    }
}

// Translations in the output charset under the same LC_CTYPE locale and codeset bound, from
// catalogues in ISO-8859-1, ISO-8859-2, EUC-JP and UTF-8 and ones with bytes that are no text of
// their charset. Text i is the translation of "t<i>"; texts 0 and 1 are the forms of "%d file".
TEST_F(MsgfmtOracle, TranslationsComeInTheCharsetGlibcGivesThem) {
    const std::pair<std::string, std::vector<std::string>> sources[] = {
        {"ISO-8859-1", {"Gr\u00f6\u00dfe", "na\u00efve fa\u00e7ade"}},
        {"ISO-8859-2", {"\u0141\u00f3d\u017a", "Gr\u00f3f \u0151 \u0171"}},
        {"EUC-JP", {"\u65e5\u672c\u8a9e", "Gr\u00f6\u00dfe"}},
        {"UTF-8", {"Gr\u00f6\u00dfe \u0151", "5 \u20ac", "\u65e5\u672c", "Open"}}};
    std::vector<std::pair<std::string, std::vector<std::string>>> catalogues; // path, keys
    for (const auto& [charset, texts] : sources) {
        std::string po = kHeader + "nplurals=2; plural=(n != 1);\\n\"\n\nmsgid \"%d file\"\n" +
                         "msgid_plural \"%d files\"\nmsgstr[0] \"" + texts[0] + "\"\nmsgstr[1] \"" +
                         texts[1] + "\"\n";
        std::vector<std::string> keys = {"%d file"};
        for (const std::string& text : texts) {
            keys.push_back("t" + std::to_string(keys.size() - 1));
            po += "\nmsgid \"" + keys.back() + "\"\nmsgstr \"" + text + "\"\n";
        }
        catalogues.push_back({compile(charset, po, "", charset), keys});
    }
    // glibc cannot convert from msgfmt's placeholder for a charset.
    for (std::string charset : {"UTF-8", "CHARSET"}) {
        catalogues.push_back({dir / (charset + ".mo"), {"t0", "t1", "t2"}});
        nlstest::write_file(catalogues.back().first,
                            nlstest::build_mo({{"", "Content-Type: text/plain; charset=" + charset},
                                               {"t0", "a\xff!"},
                                               {"t1", "ab\xc3"},
                                               {"t2", "Gr\u00f6\u00dfe"}}));
    }
    // The LC_CTYPE locale, and the codeset bound (none: the locale's).
    const std::pair<const char*, const char*> readers[] = {
        {"de_DE.UTF-8", nullptr},       {"de_DE.ISO-8859-1", nullptr}, {"ja_JP.EUC-JP", nullptr},
        {"de_DE.UTF-8", "ISO-8859-2"},  {"de_DE.UTF-8", "ASCII"},      {"de_DE.UTF-8", "utf8"},
        {"de_DE.ISO-8859-1", "EUC-JP"},
    };
    int domains = 0;
    for (const auto& [path, keys] : catalogues) {
        unsigned int code = 1;
        nlsLoadedDomain ours(utString(path.c_str()), &code);
        ASSERT_EQ(code, 0u) << path;
        for (const auto& [ctype, codeset] : readers) {
            ASSERT_NE(std::setlocale(LC_CTYPE, ctype), nullptr) << ctype;
            // A domain of its own for each reader: glibc keeps what it converted per domain.
            std::string domain = "d" + std::to_string(++domains);
            std::filesystem::copy_file(path, dir / ("de/LC_MESSAGES/" + domain + ".mo"));
            ::bindtextdomain(domain.c_str(), dir.path().c_str());
            if (codeset) ::bind_textdomain_codeset(domain.c_str(), codeset);
            for (const std::string& key : keys) {
                const char* k = key.c_str();
                const std::string where =
                    path + " " + ctype + " " + (codeset ? codeset : "") + " " + key;
                const char* theirs = ::dgettext(domain.c_str(), k);
                const char* got = ours.converted(ours.translate(k), codeset, k);
                EXPECT_STREQ(got, theirs) << where;
                EXPECT_EQ(got == k, theirs == k) << where;
                for (unsigned long n : {1ul, 2ul}) {
                    const char* untranslated = n == 1 ? k : "%d files";
                    EXPECT_STREQ(
                        ours.converted(ours.ngettext(k, "%d files", n), codeset, untranslated),
                        ::dngettext(domain.c_str(), k, "%d files", n))
                        << where << " n=" << n;
                }
            }
        }
    }
}

} // namespace

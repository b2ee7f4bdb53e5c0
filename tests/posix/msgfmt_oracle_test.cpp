// Catalogues compiled by plain msgfmt against glibc's dgettext on the same file: POSIX only, where
// glibc and msgfmt run beside the tests.

#include <nls/nlsLoadedDomain.h>

#include "nlsManagerTestSupport.h"

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <libintl.h>
#include <string>
#include <vector>

namespace {

// Compiles `po` with msgfmt and the given options; returns the .mo path.
std::string compile(const nlstest::TempDir& dir, const std::string& po,
                    const std::string& options) {
    nlstest::write_file(dir / "in.po", po);
    std::string mo = dir / "out.mo";
    std::string command =
        std::string(NLS_MSGFMT) + " " + options + " -o " + mo + " " + (dir / "in.po");
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    return mo;
}

// glibc's dgettext is the reference: every message it finds in a catalogue that plain msgfmt
// wrote (hash table on) is found with the same text, whether its bytes are ASCII or not, it has a
// plural form or a context, or it is long.
using MsgfmtOracle = nlstest::StateSavingTest;

TEST_F(MsgfmtOracle, EveryMessageThatDgettextFindsIsFoundAlike) {
    std::string po = "msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=UTF-8\\n\"\n"
                     "\"Plural-Forms: nplurals=2; plural=(n != 1);\\n\"\n\n";
    std::vector<std::string> keys;
    auto add = [&](const std::string& key, const std::string& entry) {
        keys.push_back(key);
        po += entry + "\n";
    };
    auto single = [&](const std::string& id, const std::string& str) {
        add(id, "msgid \"" + id + "\"\nmsgstr \"" + str + "\"\n");
    };
    auto plural = [&](const std::string& id, const std::string& str) {
        add(id, "msgid \"" + id + "\"\nmsgid_plural \"" + id + "s\"\nmsgstr[0] \"" + str +
                    "\"\nmsgstr[1] \"" + str + "en\"\n");
    };
    for (int i = 0; i < 100; ++i) {
        std::string n = std::to_string(i);
        single("Gr\u00f6\u00dfe " + n, "size " + n);
        single("caf\u00e9 " + n, "Kaffee " + n);
        single("plain " + n, "schlicht " + n);
    }
    for (int i = 0; i < 50; ++i)
        plural("%d file " + std::to_string(i), "%d Datei " + std::to_string(i));
    plural("%d \u00e9l\u00e9ment", "%d Element");
    add("menu\x04Open", "msgctxt \"menu\"\nmsgid \"Open\"\nmsgstr \"\u00d6ffnen\"\n");
    single(std::string(5000, 'x'), "lang");

    nlstest::TempDir dir;
    std::string mo = compile(dir, po, "");
    std::filesystem::create_directories(dir / "de/LC_MESSAGES");
    std::filesystem::copy_file(mo, dir / "de/LC_MESSAGES/oracle.mo");
    nlstest::ScopedEnv language("LANGUAGE", nullptr);
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr) << "Debian package locales-all";
    ::bindtextdomain("oracle", dir.path().c_str());
    ::bind_textdomain_codeset("oracle", "UTF-8");

    unsigned int code = 1;
    nlsLoadedDomain domain(utString(mo.c_str()), &code);
    ASSERT_EQ(code, 0u);
    ASSERT_GT(domain.hash_size, 2u);
    std::size_t found = 0;
    for (const std::string& key : keys) {
        const char* expected = ::dgettext("oracle", key.c_str());
        found += expected != key.c_str();
        EXPECT_STREQ(domain.translate(key.c_str()), expected) << key.substr(0, 20);
        EXPECT_STREQ(domain.translate_by_binary_chop(key.c_str()), expected);
    }
    EXPECT_EQ(found, keys.size()); // the reference itself found every one
    for (const char* absent : {"Gr\u00f6\u00dfe", "%d file 1s", "Open", "caf\u00e9 100"})
        EXPECT_EQ(domain.translate(absent), absent);
}

// glibc is the reference for plural forms and contexts too: the same text for every count, in
// catalogues with the rules of languages of one to six forms, with and without a hash table.
TEST_F(MsgfmtOracle, PluralFormsAndContextsAgreeWithGlibc) {
    struct Language {
        const char* name;
        const char* rule;
        int forms;
    };
    const Language languages[] = {
        {"en", "nplurals=2; plural=(n != 1);", 2},
        {"fr", "nplurals=2; plural=(n > 1);", 2},
        {"de", "nplurals=2; plural=n != 1;", 2},
        {"ru",
         "nplurals=3; plural=(n%10==1 && n%100!=11 ? 0 : n%10>=2 && n%10<=4 && "
         "(n%100<10 || n%100>=20) ? 1 : 2);",
         3},
        {"pl",
         "nplurals=3; plural=(n==1 ? 0 : n%10>=2 && n%10<=4 && (n%100<10 || n%100>=20) "
         "? 1 : 2);",
         3},
        {"cs", "nplurals=3; plural=(n==1) ? 0 : (n>=2 && n<=4) ? 1 : 2;", 3},
        {"ar",
         "nplurals=6; plural=n==0 ? 0 : n==1 ? 1 : n==2 ? 2 : n%100>=3 && n%100<=10 ? 3 "
         ": n%100>=11 ? 4 : 5;",
         6},
        {"ga", "nplurals=5; plural=n==1 ? 0 : n==2 ? 1 : (n>2 && n<7) ? 2 :(n>6 && n<11) ? 3 : 4;",
         5},
        {"lt",
         "nplurals=3; plural=(n%10==1 && n%100!=11 ? 0 : n%10>=2 && (n%100<10 || "
         "n%100>=20) ? 1 : 2);",
         3},
        {"sl", "nplurals=4; plural=(n%100==1 ? 0 : n%100==2 ? 1 : n%100==3 || n%100==4 ? 2 : 3);",
         4},
        {"ro", "nplurals=3; plural=(n==1 ? 0 : (n==0 || (n%100 > 0 && n%100 < 20)) ? 1 : 2);", 3},
        {"ja", "nplurals=1; plural=0;", 1},
    };
    nlstest::TempDir dir;
    std::filesystem::create_directories(dir / "de/LC_MESSAGES");
    nlstest::ScopedEnv language("LANGUAGE", nullptr);
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr) << "Debian package locales-all";
    std::vector<unsigned long> counts;
    for (unsigned long n = 0; n <= 1000; ++n)
        counts.push_back(n);
    counts.insert(counts.end(), {2147483648ul, 4294967295ul});

    for (const Language& l : languages) {
        auto forms = [&](const std::string& stem) {
            std::string text;
            for (int i = 0; i < l.forms; ++i)
                text += "msgstr[" + std::to_string(i) + "] \"" + l.name + " " + stem + " " +
                        std::to_string(i) + "\"\n";
            return text;
        };
        std::string po = std::string("msgid \"\"\nmsgstr \"Content-Type: text/plain; "
                                     "charset=UTF-8\\n\"\n\"Plural-Forms: ") +
                         l.rule + "\\n\"\n\n" + "msgid \"%d file\"\nmsgid_plural \"%d files\"\n" +
                         forms("file") + "\nmsgctxt \"count\"\nmsgid \"%d file\"\n" +
                         "msgid_plural \"%d files\"\n" + forms("counted") +
                         "\nmsgid \"Open\"\nmsgstr \"open\"\n\n" +
                         "msgctxt \"menu\"\nmsgid \"Open\"\nmsgstr \"menu open\"\n";
        for (const char* options : {"", "--no-hash"}) {
            std::string domain = std::string(l.name) + (*options ? "-nohash" : "");
            SCOPED_TRACE(domain);
            std::string mo = compile(dir, po, options);
            std::filesystem::rename(mo, dir / ("de/LC_MESSAGES/" + domain + ".mo"));
            ::bindtextdomain(domain.c_str(), dir.path().c_str());
            ::bind_textdomain_codeset(domain.c_str(), "UTF-8");
            unsigned int code = 1;
            nlsLoadedDomain ours(utString((dir / ("de/LC_MESSAGES/" + domain + ".mo")).c_str()),
                                 &code);
            ASSERT_EQ(code, 0u);
            EXPECT_TRUE(ours.plural_forms.parsed());
            EXPECT_STREQ(ours.pgettext("menu", "Open"),
                         ::dcgettext(domain.c_str(), "menu\004Open", LC_MESSAGES));
            EXPECT_STREQ(ours.pgettext("menu", "Open"), "menu open");
            int differences = 0;
            for (unsigned long n : counts) {
                std::string plain = ::dngettext(domain.c_str(), "%d file", "%d files", n);
                std::string in_context =
                    ::dcngettext(domain.c_str(), "count\004%d file", "%d files", n, LC_MESSAGES);
                bool same = plain == ours.ngettext("%d file", "%d files", n) &&
                            in_context == ours.npgettext("count", "%d file", "%d files", n);
                differences += !same;
                EXPECT_TRUE(same || differences > 3)
                    << "n=" << n << ": glibc " << plain << ", " << in_context;
            }
            EXPECT_EQ(differences, 0);
        }
    }
}

} // namespace

// Translations in the output charset against glibc's dgettext and dngettext on the same files,
// under the same LC_CTYPE locale and codeset bound: msgfmt catalogues in ISO-8859-1, ISO-8859-2,
// EUC-JP and UTF-8, and catalogues with bytes that are no text of their charset.

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

struct Source {
    const char* name;
    const char* charset;
    std::vector<std::pair<std::string, std::string>> texts; ///< UTF-8; "%d file" has two forms
};

const Source kSources[] = {
    {"latin1",
     "ISO-8859-1",
     {{"size", "Gr\u00f6\u00dfe"},
      {"naive", "na\u00efve fa\u00e7ade"},
      {"%d file", "eine Datei \u00e4|%d Dateien \u00f6"}}},
    {"latin2",
     "ISO-8859-2",
     {{"city", "\u0141\u00f3d\u017a"},
      {"count", "Gr\u00f3f \u0151 \u0171"},
      {"%d file", "plik \u0142|%d pliki \u017c"}}},
    {"eucjp",
     "EUC-JP",
     {{"japan", "\u65e5\u672c\u8a9e"},
      {"size", "Gr\u00f6\u00dfe"},
      {"%d file", "\u30d5\u30a1\u30a4\u30eb|%d \u500b"}}},
    {"utf8",
     "UTF-8",
     {{"size", "Gr\u00f6\u00dfe"},
      {"city", "\u0141\u00f3d\u017a \u0151"},
      {"price", "5 \u20ac"},
      {"japan", "\u65e5\u672c\u8a9e"},
      {"open", "Open"},
      {"%d file", "eine Datei \u00e4|%d \u500b"}}},
};

class CharsetOracle : public nlstest::StateSavingTest {
protected:
    nlstest::TempDir dir;
    nlstest::ScopedEnv language{"LANGUAGE", nullptr};

    void SetUp() override {
        std::filesystem::create_directories(dir / "de/LC_MESSAGES");
        ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr) << "Debian package locales-all";
    }
    // Compiles `source` with msgfmt, in its charset; returns the file's path.
    std::string compile(const Source& source) {
        std::string po = "msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=UTF-8\\n\"\n"
                         "\"Plural-Forms: nplurals=2; plural=(n != 1);\\n\"\n";
        for (const auto& [key, text] : source.texts) {
            std::size_t bar = text.find('|');
            po += "\nmsgid \"" + key + "\"\n" +
                  (bar == std::string::npos
                       ? "msgstr \"" + text + "\"\n"
                       : "msgid_plural \"%d files\"\nmsgstr[0] \"" + text.substr(0, bar) +
                             "\"\nmsgstr[1] \"" + text.substr(bar + 1) + "\"\n");
        }
        nlstest::write_file(dir / "in.po", po);
        std::string mo = dir / (std::string(source.name) + ".mo");
        std::string command = "msgconv --to-code=" + std::string(source.charset) + " -o " +
                              (dir / "out.po") + " " + (dir / "in.po") + " && " NLS_MSGFMT " -o " +
                              mo + " " + (dir / "out.po");
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        return mo;
    }
};

TEST_F(CharsetOracle, TranslationsComeInTheCharsetGlibcGivesThem) {
    struct Catalogue {
        std::string path;
        std::vector<std::string> keys;
    };
    std::vector<Catalogue> catalogues;
    for (const Source& source : kSources) {
        catalogues.push_back({compile(source), {}});
        for (const auto& text : source.texts)
            catalogues.back().keys.push_back(text.first);
    }
    // Bytes that are no UTF-8, and msgfmt's placeholder for a charset, which glibc cannot
    // convert from.
    for (const char* charset : {"UTF-8", "CHARSET"}) {
        catalogues.push_back({dir / (std::string(charset) + ".mo"), {"bad", "cut", "size"}});
        nlstest::write_file(catalogues.back().path,
                            nlstest::build_mo({{"", "Content-Type: text/plain; charset=" +
                                                        std::string(charset) + "\n"},
                                               {"bad", "a\xff"
                                                       "b"},
                                               {"cut", "ab\xc3"},
                                               {"size", "Gr\u00f6\u00dfe"}}));
    }
    // The LC_CTYPE locale, and the codeset bound (none: the locale's).
    const std::pair<const char*, const char*> readers[] = {
        {"de_DE.UTF-8", nullptr},       {"de_DE.ISO-8859-1", nullptr}, {"ja_JP.EUC-JP", nullptr},
        {"de_DE.UTF-8", "ISO-8859-2"},  {"de_DE.UTF-8", "ASCII"},      {"de_DE.UTF-8", "utf8"},
        {"de_DE.ISO-8859-1", "EUC-JP"},
    };
    int domains = 0;
    for (const Catalogue& catalogue : catalogues) {
        unsigned int code = 1;
        nlsLoadedDomain ours(utString(catalogue.path.c_str()), &code);
        ASSERT_EQ(code, 0u) << catalogue.path;
        for (const auto& [ctype, codeset] : readers) {
            ASSERT_NE(std::setlocale(LC_CTYPE, ctype), nullptr) << ctype;
            // A domain of its own for each reader: glibc keeps what it converted per domain.
            std::string domain = "d" + std::to_string(++domains);
            std::filesystem::copy_file(catalogue.path, dir / ("de/LC_MESSAGES/" + domain + ".mo"));
            ::bindtextdomain(domain.c_str(), dir.path().c_str());
            if (codeset) ::bind_textdomain_codeset(domain.c_str(), codeset);
            for (const std::string& key : catalogue.keys) {
                const char* k = key.c_str();
                const std::string where =
                    catalogue.path + " " + ctype + " " + (codeset ? codeset : "") + " " + key;
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

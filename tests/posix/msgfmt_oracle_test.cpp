// Catalogues compiled by plain msgfmt against glibc's dgettext on the same files: POSIX only, where
// glibc and msgfmt run beside the tests.

#include <nls/nlsLoadedDomain.h>

#include "nlsTestSupport.h"

#include <cinttypes>
#include <clocale>
#include <cstdlib>
#include <libintl.h>
#include <sstream>

namespace {

const std::string kHeader = "msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=UTF-8\\n\"\n";

class Oracle : public nlstest::StateSavingTest {
protected:
    nlstest::TempDir dir;
    std::deque<nlstest::ScopedEnv> cleared =
        nlstest::scoped_env("LANGUAGE LC_ALL LC_MESSAGES NLSPATH");

    // Compiles `po` with msgfmt and `options` into `mo` (under `dir`), converted by msgconv into
    // `charset` first when one is given; returns its path.
    std::string msgfmt(const std::string& po, const std::string& mo,
                       const std::string& options = "", const std::string& charset = "") {
        const std::string in = dir / "in.po", out = dir / mo;
        nlstest::write_file(in, po);
        nlstest::write_file(out, ""); // its folders
        const std::string tool = NLS_MSGFMT " " + options + " -o " + out;
        const std::string command =
            charset.empty() ? tool + " " + in
                            : "msgconv --to-code=" + charset + " " + in + " | " + tool + " -";
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        return out;
    }
    // A catalogue that glibc reads for a German user, in UTF-8.
    std::string compile(const std::string& domain, const std::string& po,
                        const std::string& options = "") {
        EXPECT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr) << "Debian package locales-all";
        ::bindtextdomain(domain.c_str(), dir.path().c_str());
        ::bind_textdomain_codeset(domain.c_str(), "UTF-8");
        return msgfmt(po, "de/LC_MESSAGES/" + domain + ".mo", options);
    }
};

// Every message that glibc finds in a catalogue with a hash table is found with the same text,
// whether its bytes are ASCII or not, it has a plural form or a context, an <inttypes.h>
// conversion (which msgfmt stores as a system-dependent string of a revision-1 catalogue), or it
// is long.
TEST_F(Oracle, EveryMessageThatDgettextFindsIsFoundAlike) {
    std::string po = kHeader + "\"Plural-Forms: nplurals=2; plural=(n != 1);\\n\"\n\n" +
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
    po += "#, c-format\nmsgid \"%d of %<PRIxPTR>\"\nmsgstr \"%Id von %<PRIxPTR>\"\n";
    keys.push_back(std::string("%d of %") + PRIxPTR);
    const std::pair<std::string, std::string> conversions[] = {
        {"PRIu64", PRIu64},         {"PRId32", PRId32}, {"PRIdMAX", PRIdMAX},
        {"PRIXLEAST8", PRIXLEAST8}, {"PRIo64", PRIo64}, {"PRIuFAST16", PRIuFAST16}};
    for (const auto& [name, spelling] : conversions) { // plain, and in a context with plurals
        const std::string in = "%<" + name + "> " + name;
        po += "\n#, c-format\nmsgid \"" + in + "\"\nmsgstr \"t " + in + "\"\n\n#, c-format\n" +
              "msgctxt \"c\"\nmsgid \"" + in + "\"\nmsgid_plural \"s\"\nmsgstr[0] \"t0 " + in +
              "\"\nmsgstr[1] \"t1\"\n";
        keys.push_back("%" + spelling + " " + name);
        keys.push_back("c\x04" + keys.back());
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
TEST_F(Oracle, EveryCountGivesGlibcsForm) {
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
        std::string po = kHeader + "\"Plural-Forms: " + rule + "\\n\"\n";
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
TEST_F(Oracle, TranslationsComeInTheCharsetGlibcGivesThem) {
    const std::pair<std::string, std::vector<std::string>> sources[] = {
        {"ISO-8859-1", {"Gr\u00f6\u00dfe", "na\u00efve fa\u00e7ade"}},
        {"ISO-8859-2", {"\u0141\u00f3d\u017a", "Gr\u00f3f \u0151 \u0171"}},
        {"EUC-JP", {"\u65e5\u672c\u8a9e", "Gr\u00f6\u00dfe"}},
        {"UTF-8", {"Gr\u00f6\u00dfe \u0151", "5 \u20ac", "\u65e5\u672c", "Open"}}};
    std::vector<std::pair<std::string, std::vector<std::string>>> catalogues; // path, keys
    for (const auto& [charset, texts] : sources) {
        std::string po = kHeader + "\"Plural-Forms: nplurals=2; plural=(n != 1);\\n\"\n\n" +
                         "msgid \"%d file\"\nmsgid_plural \"%d files\"\nmsgstr[0] \"" + texts[0] +
                         "\"\nmsgstr[1] \"" + texts[1] + "\"\n";
        std::vector<std::string> keys = {"%d file"};
        for (const std::string& text : texts) {
            keys.push_back("t" + std::to_string(keys.size() - 1));
            po += "\nmsgid \"" + keys.back() + "\"\nmsgstr \"" + text + "\"\n";
        }
        catalogues.push_back({msgfmt(po, charset + ".mo", "", charset), keys});
    }
    // glibc cannot convert from msgfmt's placeholder for a charset.
    for (std::string charset : {"UTF-8", "CHARSET"}) {
        catalogues.push_back({dir / (charset + "-bad.mo"), {"t0", "t1", "t2"}});
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
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr) << "Debian package locales-all";
    int domains = 0;
    for (const auto& [path, keys] : catalogues) {
        unsigned int code = 1;
        nlsLoadedDomain ours(utString(path.c_str()), &code);
        ASSERT_EQ(code, 0u) << path;
        for (const auto& [ctype, codeset] : readers) {
            ASSERT_NE(std::setlocale(LC_CTYPE, ctype), nullptr) << ctype;
            // A domain of its own for each reader: glibc keeps what it converted per domain.
            std::string domain = "d" + std::to_string(++domains);
            nlstest::write_file(dir / ("de/LC_MESSAGES/" + domain + ".mo"),
                                nlstest::read_file(path));
            ::bindtextdomain(domain.c_str(), dir.path().c_str());
            if (codeset) ::bind_textdomain_codeset(domain.c_str(), codeset);
            for (const std::string& key : keys) {
                const char* k = key.c_str();
                SCOPED_TRACE(path + " " + ctype + " " + (codeset ? codeset : "") + " " + key);
                const char* theirs = ::dgettext(domain.c_str(), k);
                const char* got = ours.converted(ours.translate(k), codeset, k);
                EXPECT_STREQ(got, theirs);
                EXPECT_EQ(got == k, theirs == k);
                for (unsigned long n : {1ul, 2ul}) {
                    const char* untranslated = n == 1 ? k : "%d files";
                    EXPECT_STREQ(
                        ours.converted(ours.ngettext(k, "%d files", n), codeset, untranslated),
                        ::dngettext(domain.c_str(), k, "%d files", n))
                        << n;
                }
            }
        }
    }
}

// Trees of partial catalogues under POSIX folder names, some in Latin-1, read by a database and by
// glibc in the same environment: each message comes from the same catalogue, or from none in
// both, in the charset of the user's locale or one bound to the domain.
TEST_F(Oracle, DatabasesAnswerAsGlibcInEachEnvironment) {
    const struct {
        // the folders as "folder=messages[=charset]" (no messages: a header alone)
        const char *name, *environment, *folders, *codeset = nullptr;
    } cases[] = {
        {"regional over base", "LANG=de_AT.UTF-8", "de_AT=m1 de=m1,m2,m3"},
        {"header-only regional", "LANG=de_CH.UTF-8", "de_CH= de=m1,m2"},
        {"list with gaps", "LANG=de_DE.UTF-8 LANGUAGE=fr:xx:de", "fr=m1 de=m2"},
        {"list ended by C", "LANG=de_DE.UTF-8 LANGUAGE=de_AT:C:fr", "de_AT=m1 fr=m1,m2,m3"},
        {"modifier", "LANG=ca_ES.UTF-8@valencia", "ca@valencia=m1 ca=m1,m2"},
        {"modifier in the list", "LANG=ca_ES.UTF-8 LANGUAGE=ca@valencia", "ca@valencia=m1"},
        {"latin script", "LANG=sr_RS.UTF-8@latin", "sr@latin=m1 sr=m2"},
        {"unknown language", "LANG=nb_NO.UTF-8", "nb_NO=m1 nb=m1,m2"},
        {"another country's variety", "LANG=pt_BR.UTF-8", "pt_PT=m1 pt=m2"},
        {"territory in the list", "LANG=ro_RO.UTF-8 LANGUAGE=ro_MD", "ro_MD=m1 ro=m2"},
        {"quotes", "LANG=en_US.UTF-8 LANGUAGE=en@quot", "en@quot=m1"},
        {"list in C.UTF-8", "LANG=C.UTF-8 LANGUAGE=de", "de=m1,m2"},
        {"codeset folder", "LANG=de_DE.UTF-8", "de_DE.utf8=m1 de=m2"},
        {"UTF-8 user", "LANG=de_AT.UTF-8", "de_AT=m1 de=m1,m2=ISO-8859-1"},
        {"Latin-1 user", "LANG=de_AT.ISO-8859-1", "de_AT=m1 de=m1,m2=ISO-8859-1"},
        {"bound Latin-1", "LANG=de_AT.UTF-8", "de_AT=m1 de=m1,m2=ISO-8859-1", "ISO-8859-1"},
        {"bound UTF-8", "LANG=de_AT.ISO-8859-1", "de_AT=m1 de=m1,m2=ISO-8859-1", "UTF-8"},
    };
    const std::string messages[] = {"m1", "m2", "m3"};
    int row = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        nlstest::forget_languages();
        auto environment = nlstest::scoped_env(c.environment);
        // A domain of each row's own: glibc keeps what it loaded for a domain.
        const std::string domain = "chain" + std::to_string(row++);
        std::istringstream folders(c.folders);
        for (std::string folder; folders >> folder;) {
            const std::size_t equals = folder.find('='), second = folder.find('=', equals + 1);
            const std::string held = "," + folder.substr(equals + 1, second - equals - 1) + ",";
            const std::string charset =
                second == std::string::npos ? "" : folder.substr(second + 1);
            folder.resize(equals);
            std::string po = kHeader;
            for (const std::string& m : messages)
                if (held.find("," + m + ",") != std::string::npos)
                    po += "msgid \"" + m + "\"\nmsgstr \"" + folder + ":" + m + " \u00f6\"\n";
            // The plural entry goes with m2, with the catalogue's own rule.
            if (held.find(",m2,") != std::string::npos)
                po += "msgid \"%d file\"\nmsgid_plural \"%d files\"\nmsgstr[0] \"" + folder +
                      "0\"\nmsgstr[1] \"" + folder + "1\"\n";
            msgfmt(po, folder + "/LC_MESSAGES/" + domain + ".mo", "", charset);
        }
        nlsDataBase database(dir.path().c_str(), domain.c_str());
        if (c.codeset) database.bind_codeset(c.codeset);
        ASSERT_NE(std::setlocale(LC_ALL, ""), nullptr) << c.environment << ": locales-all";
        ::bindtextdomain(domain.c_str(), dir.path().c_str());
        if (c.codeset) ::bind_textdomain_codeset(domain.c_str(), c.codeset);
        for (const std::string& m : messages) {
            const char* theirs = ::dgettext(domain.c_str(), m.c_str());
            EXPECT_STREQ(database.gettext(m.c_str()), theirs) << m;
            EXPECT_STREQ(nlsDomainManager::dgettext(domain.c_str(), m.c_str()), theirs) << m;
        }
        for (unsigned long n : {1ul, 2ul})
            EXPECT_STREQ(database.ngettext("%d file", "%d files", n),
                         ::dngettext(domain.c_str(), "%d file", "%d files", n))
                << n;
    }
}

} // namespace

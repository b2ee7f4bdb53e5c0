// nls-catalog, run as a build or a user runs it, on msgfmt's output and on files gone wrong.

#include "moWriter.h"
#include "nlsTestSupport.h"

#include <gtest/gtest.h>
#include <string>

namespace {

using nlstest::Outcome;

const char* const kPo = "msgid \"\"\n"
                        "msgstr \"Content-Type: text/plain; charset=UTF-8\\n\"\n"
                        "\"Language: pt_BR\\n\"\n"
                        "\"Plural-Forms: nplurals=2; plural=(n > 1);\\n\"\n\n"
                        "msgid \"Open\"\nmsgstr \"Abrir\"\n\n"
                        "msgctxt \"menu\"\nmsgid \"Open\"\nmsgstr \"Abrir (menu)\"\n\n"
                        "msgid \"%d file\"\nmsgid_plural \"%d files\"\n"
                        "msgstr[0] \"%d arquivo\"\nmsgstr[1] \"%d arquivos\"\n";

class CatalogTool : public testing::Test {
protected:
    nlstest::TempDir dir;

    Outcome run(const std::string& arguments) { return nlstest::run(NLS_CATALOG_TOOL, arguments); }
    // Compiles kPo with msgfmt and the given options into dir/name.
    std::string compile(const std::string& name, const std::string& options = "") {
        nlstest::write_file(dir / "in.po", kPo);
        std::string mo = dir / name;
        Outcome r = nlstest::run(NLS_MSGFMT, options + " -o " + mo + " " + (dir / "in.po"));
        EXPECT_EQ(r.status, 0) << r.out;
        return mo;
    }
};

TEST_F(CatalogTool, CheckDescribesGoodFilesAndNamesWhatIsWrong) {
    std::string little = compile("little.mo"), big = compile("big.mo", "--endianness=big");
    Outcome good = run("check " + little + " " + big);
    EXPECT_EQ(good.status, 0);
    const std::string described =
        "-endian, 4 messages, 5 hash slots, plural rule \"nplurals=2; plural=(n > 1);\" (parsed)\n";
    EXPECT_EQ(good.out, little + ": little" + described + big + ": big" + described);

    // A pair that the hash table does not lead to, and a header whose rule does not parse.
    std::string image = nlstest::build_mo(
        {{"", "Plural-Forms: nplurals=2; plural=n ! 1;\n"}, {"a", "A"}, {"menu\x04z", "Z"}});
    std::uint32_t table = nlstest::mo_word(image, nlstest::kMoHashOffset);
    for (std::uint32_t slot = 0; slot < nlstest::mo_word(image, nlstest::kMoHashSize); ++slot)
        if (nlstest::mo_word(image, table + 4 * slot) == 3)
            nlstest::set_mo_word(image, table + 4 * slot, 0);
    nlstest::write_file(dir / "unreachable.mo", image);
    Outcome damaged = run("check " + (dir / "unreachable.mo"));
    EXPECT_EQ(damaged.status, 1);
    EXPECT_NE(damaged.out.find("plural rule \"nplurals=2; plural=n ! 1;\" (not parsed, so n != 1)"),
              std::string::npos)
        << damaged.out;
    EXPECT_NE(damaged.out.find("message 3 cannot be reached: \"menu\\004z\"\n"), std::string::npos);
    EXPECT_NE(damaged.out.find("1 of 3 messages cannot be reached\n"), std::string::npos);

    std::string revision = nlstest::build_mo({{"a", "A"}});
    nlstest::set_mo_word(revision, nlstest::kMoRevision, 1);
    nlstest::write_file(dir / "revision1.mo", revision);
    nlstest::write_file(dir / "short.mo", "\xde\x12\x04\x95");
    nlstest::write_file(dir / "catalogue.mo", kPo); // a .po under a .mo name
    const std::pair<std::string, std::string> bad[] = {
        {"revision1.mo",
         "not loadable: NLS Error: Catalog revision number is incompatible (code 65)"},
        {"short.mo", "not loadable: NLS Error: Could not stat the catalog (code 9)"},
        {"missing.mo", "not loadable: NLS Error: Could not open the catalog (code 17)"},
        {"in.po", "a .po source, not a compiled catalogue: compile it with msgfmt"},
        {"catalogue.mo", "a .po source, not a compiled catalogue: compile it with msgfmt"},
    };
    for (const auto& [file, reason] : bad) {
        Outcome r = run("check " + (dir / file));
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.out, (dir / file) + ": " + reason + "\n");
    }
    EXPECT_EQ(run("check " + little + " " + (dir / "missing.mo")).status, 1); // any one fails
}

TEST_F(CatalogTool, LookupAnswersAsTheLibrary) {
    std::string mo = compile("pt.mo");
    const std::pair<std::string, std::string> cases[] = {
        {"Open", "Abrir\n"},
        {"Open --context menu", "Abrir (menu)\n"},
        {"'%d file' 1", "%d arquivo\n"},
        {"'%d file' 2", "%d arquivos\n"},
        {"'%d file' 0", "%d arquivo\n"}, // n > 1: zero is singular
        {"Absent 2", "Absent\n"},
        {"Open --context toolbar", "Open\n"},
    };
    for (const auto& [arguments, answer] : cases) {
        Outcome r = run("lookup " + mo + " " + arguments);
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.out, answer) << arguments;
    }
    for (const char* wrong : {"lookup", "lookup x.mo", "lookup x.mo m 2 3", "lookup x.mo m two",
                              "lookup x.mo m --context", "frobnicate", ""})
        EXPECT_EQ(run(wrong).status, 2) << wrong;
    EXPECT_EQ(run("lookup " + (dir / "missing.mo") + " Open").status, 1);
}

TEST_F(CatalogTool, LanguageNamesTheCatalogueFolder) {
    nlstest::write_file(dir / "header.po", kPo); // Language: pt_BR
    nlstest::write_file(dir / "de.po", "msgid \"a\"\nmsgstr \"b\"\n");
    nlstest::write_file(dir / "po/de_AT.po", "");
    nlstest::write_file(dir / "editor.po", "msgid \"a\"\nmsgstr \"b\"\n");
    const std::pair<std::string, std::string> cases[] = {
        {"header.po", "Portuguese-BRA\n"},
        {"de.po", "German\n"},
        {"po/de_AT.po", "German-AUT\n"},
    };
    for (const auto& [file, name] : cases) {
        Outcome r = run("language " + (dir / file));
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.out, name);
    }
    Outcome unnamed = run("language " + (dir / "editor.po"));
    EXPECT_EQ(unnamed.status, 1);
    EXPECT_EQ(unnamed.out, (dir / "editor.po") + ": names no language (\"editor\"): give it a "
                                                 "Language: header such as de or pt_BR\n");
    EXPECT_EQ(run("language " + (dir / "none.po")).status, 1);
}

} // namespace

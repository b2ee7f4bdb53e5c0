// nls-catalog, run as a build or a user runs it, on msgfmt's output and on files gone wrong.

#include "moWriter.h"
#include "nlsTestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <tuple>

const char* const kPo =
    "msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=UTF-8\\n\"\n\"Language: pt_BR\\n\"\n"
    "\"Plural-Forms: nplurals=2; plural=(n > 1);\\n\"\n\nmsgid \"Open\"\nmsgstr \"Abrir\"\n\n"
    "msgctxt \"menu\"\nmsgid \"Open\"\nmsgstr \"Abrir (menu)\"\n\nmsgid \"%d file\"\n"
    "msgid_plural \"%d files\"\nmsgstr[0] \"%d arquivo\"\nmsgstr[1] \"%d arquivos\"\n";

TEST(CatalogTool, ChecksLooksUpAndNamesLanguages) {
    nlstest::TempDir dir;
    const std::filesystem::path home = std::filesystem::current_path();
    std::filesystem::current_path(dir.path()); // the tool names the files as given
    for (auto [name, text] :
         {std::pair{"in.po", kPo}, {"catalogue.mo", kPo}, {"po/de_AT.po", ""}, {"editor.po", ""}})
        nlstest::write_file(name, text);
    nlstest::run(NLS_MSGFMT, "--endianness=big -o pt.mo in.po");
    // A pair that the hash table does not lead to, and a header whose rule does not parse.
    std::string image = nlstest::build_mo(
        {{"", "Plural-Forms: nplurals=2; plural=n ! 1;\n"}, {"a", "A"}, {"menu\x04z", "Z"}});
    image[image.find("menu\x04z") + 5] = 'y'; // stored where "menu\x04z" hashes to
    nlstest::write_file("unreachable.mo", image);
    nlstest::set_mo_word(image, nlstest::kMoRevision, 0x20000);
    nlstest::write_file("revision2.mo", image);
    const std::tuple<const char*, int, const char*> cases[] = {
        {"check pt.mo missing.mo", 1, // any one fails
         "pt.mo: big-endian, 4 messages, 5 hash slots, plural rule \"nplurals=2; plural=(n > 1);\" "
         "(parsed)\nmissing.mo: not loadable: NLS Error: Could not open the catalog (code 17)\n"},
        {"check unreachable.mo", 1,
         "unreachable.mo: little-endian, 3 messages, 5 hash slots, plural rule \"nplurals=2; "
         "plural=n ! 1;\" (not parsed, so n != 1)\nunreachable.mo: message 3 cannot be reached: "
         "\"menu\\004y\"\nunreachable.mo: 1 of 3 messages cannot be reached\n"},
        {"check revision2.mo", 1,
         "revision2.mo: not loadable: NLS Error: Catalog revision number "
         "is incompatible (code 65)\n"},
        {"check catalogue.mo", 1, // a .po under a .mo name
         "catalogue.mo: a .po source, not a compiled catalogue: compile it with msgfmt\n"},
        {"lookup pt.mo Open", 0, "Abrir\n"},
        {"lookup pt.mo Open --context menu", 0, "Abrir (menu)\n"},
        {"lookup pt.mo '%d file' 0", 0, "%d arquivo\n"}, // n > 1: zero is singular
        {"lookup pt.mo '%d file' 2", 0, "%d arquivos\n"},
        {"language in.po", 0, "Portuguese-BRA\n"},
        {"language po/de_AT.po", 0, "German-AUT\n"},
        {"language editor.po", 1,
         "editor.po: names no language (\"editor\"): give it a Language: "
         "header such as de or pt_BR\n"},
    };
    for (const auto& [arguments, status, out] : cases) {
        nlstest::Outcome r = nlstest::run(NLS_CATALOG_TOOL, arguments);
        EXPECT_EQ(r.status, status) << arguments;
        EXPECT_EQ(r.out, out);
    }
    for (const char* wrong : {"lookup a", "lookup a m two", "lookup a m --context", "x", ""})
        EXPECT_EQ(nlstest::run(NLS_CATALOG_TOOL, wrong).status, 2) << wrong;
    std::filesystem::current_path(home);
}

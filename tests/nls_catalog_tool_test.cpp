// nls-catalog, run on the build machine as a build or a user runs it, on msgfmt's output and on
// files gone wrong.

#include "nlsTestSupport.h"

#include <filesystem>
#include <tuple>
#include <unistd.h>

const char* const kPo =
    "msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=UTF-8\\n\"\n\"Language: pt_BR\\n\"\n"
    "\"Plural-Forms: nplurals=2; plural=(n > 1);\\n\"\n\nmsgid \"Open\"\nmsgstr \"Abrir\"\n\n"
    "msgctxt \"menu\"\nmsgid \"Open\"\nmsgstr \"Abrir (menu)\"\n\nmsgid \"%d file\"\n"
    "msgid_plural \"%d files\"\nmsgstr[0] \"%d arquivo\"\nmsgstr[1] \"%d arquivos\"\n";

TEST(CatalogTool, EachCommandGivesItsDocumentedAnswer) {
    nlstest::TempDir dir;
    const std::filesystem::path home = std::filesystem::current_path();
    std::filesystem::current_path(dir.path()); // the tool names the files as given
    for (auto [name, text] : {std::pair{"in.po", kPo},
                              {"catalogue.mo", kPo},
                              {"tiny.mo", "msgid \"a\"\nmsgstr \"b\"\n"}, // a .po, and short
                              {"notes.po", "# notes, and not one message among them\n"},
                              {"short.mo", "hello"},
                              {"po/de_AT.po", ""},
                              {"editor.po", ""}})
        nlstest::write_file(name, text);
    std::filesystem::create_directory("folder.mo");
    nlstest::run(NLS_MSGFMT, "--endianness=big -o pt.mo in.po");
    // A pair that the hash table does not lead to, and a header whose rule does not parse.
    std::string image = nlstest::build_mo(
        {{"", "Plural-Forms: nplurals=2; plural=n ! 1;\n"}, {"a", "A"}, {"menu\x04z", "Z"}});
    image[image.find("menu\x04z") + 5] = 'y'; // stored where "menu\x04z" hashes to
    nlstest::write_file("unreachable.mo", image);
    nlstest::set_mo_word(image, nlstest::kMoRevision, 0x20000);
    nlstest::write_file("revision2.mo", image);
    const std::string pt = "pt.mo: big-endian, 4 messages, 5 hash slots, plural rule \"nplurals=2; "
                           "plural=(n > 1);\" (parsed)\n";
    const std::tuple<const char*, int, std::string, std::string> cases[] = {
        // arguments, status, standard output, standard error
        {"check folder.mo short.mo pt.mo missing.mo", 1, pt, // every file, whatever came before
         "folder.mo: a directory, not a catalogue\nshort.mo: 5 bytes, too short to be a "
         "catalogue\nmissing.mo: no such file\n"},
        {"check unreachable.mo", 1,
         "unreachable.mo: little-endian, 3 messages, 5 hash slots, plural rule \"nplurals=2; "
         "plural=n ! 1;\" (not parsed, so n != 1)\n",
         "unreachable.mo: message 3 cannot be reached: \"menu\\004y\"\nunreachable.mo: 1 of 3 "
         "messages cannot be reached\n"},
        {"check revision2.mo", 1, "",
         "revision2.mo: not loadable: NLS Error: Catalog revision number is incompatible (code "
         "65)\n"},
        {"check catalogue.mo tiny.mo notes.po", 1, "",
         "catalogue.mo: a .po source, not a compiled catalogue: compile it with msgfmt\n"
         "tiny.mo: a .po source, not a compiled catalogue: compile it with msgfmt\n"
         "notes.po: not loadable: NLS Error: Catalog Magic number failed (code 33)\n"},
        {"lookup pt.mo Open", 0, "Abrir\n", ""},
        {"lookup pt.mo Open --context menu", 0, "Abrir (menu)\n", ""},
        {"lookup pt.mo '%d file' 0", 0, "%d arquivo\n", ""}, // n > 1: zero is singular
        {"lookup pt.mo '%d file' 2", 0, "%d arquivos\n", ""},
        {"language in.po", 0, "pt_BR\n", ""},
        {"language --library-names in.po", 0, "Portuguese-BRA\n", ""},
        {"language po/de_AT.po", 0, "de_AT\n", ""},
        {"language editor.po", 1, "",
         "editor.po: names no language (\"editor\"): give it a Language: header such as de or "
         "pt_BR\n"},
    };
    for (const auto& [arguments, status, out, err] : cases) {
        // Standard error apart; the shell ends with the tool's status.
        nlstest::Outcome r =
            nlstest::run(NLS_CATALOG_TOOL, arguments + std::string(" 2>err; exit $?"));
        EXPECT_EQ(r.status, status) << arguments;
        EXPECT_EQ(r.out, out) << arguments;
        EXPECT_EQ(nlstest::read_file("err"), err) << arguments;
    }
    for (const char* wrong : {"lookup a", "lookup a m two", "lookup a m --context", "x", ""})
        EXPECT_EQ(nlstest::run(NLS_CATALOG_TOOL, wrong).status, 2) << wrong;
    std::filesystem::current_path(home);
}

// A file that the user may not read: root reads any file, so the tool then runs as nobody.
TEST(CatalogTool, NamesAFileItCannotRead) {
    nlstest::TempDir dir;
    nlstest::write_file(dir / "locked.mo", kPo);
    std::filesystem::permissions(dir / "locked.mo", std::filesystem::perms::none);
    std::string as_user = ::geteuid() == 0 ? "--reuid=65534 --regid=65534 --clear-groups " : "";
    nlstest::Outcome r =
        nlstest::run("setpriv", as_user + NLS_CATALOG_TOOL " check " + dir / "locked.mo");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, dir / "locked.mo" + ": cannot be read: Permission denied\n");
}

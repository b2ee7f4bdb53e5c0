// Catalogues compiled by GNU msgfmt load and translate as the gettext tools intend.

#include <nls/nlsLoadedDomain.h>

#include "nlsTestSupport.h"

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <libintl.h>
#include <string>
#include <utility>
#include <vector>

namespace {

std::vector<std::pair<std::string, std::string>> messages() {
    std::vector<std::pair<std::string, std::string>> all = {
        {"Open", "Oeffnen"}, {"Save as...", "Speichern unter..."}, {"%d files", "%d Dateien"}};
    for (int i = 0; i < 200; ++i)
        all.push_back({"message number " + std::to_string(i), "Meldung " + std::to_string(i)});
    return all;
}

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

const std::string kHeader = "msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=UTF-8\\n\"\n\n";

TEST(msgfmt, CompiledCataloguesTranslateEveryMessage) {
    std::string po = kHeader;
    for (const auto& [id, str] : messages())
        po += "msgid \"" + id + "\"\nmsgstr \"" + str + "\"\n\n";
    for (const char* options :
         {"", "--no-hash", "--endianness=big", "--endianness=big --no-hash"}) {
        SCOPED_TRACE(options);
        nlstest::TempDir dir;
        unsigned int code = 1;
        nlsLoadedDomain domain(utString(compile(dir, po, options).c_str()), &code);
        ASSERT_EQ(code, 0u);
        EXPECT_EQ(std::string(options).find("big") != std::string::npos, domain.swapped == 1);
        EXPECT_EQ(std::string(options).find("no-hash") == std::string::npos, domain.hash_size > 2);
        for (const auto& [id, str] : messages())
            EXPECT_STREQ(domain.translate(id.c_str()), str.c_str());
        const char* absent = "not in the catalogue";
        EXPECT_EQ(domain.translate(absent), absent);
    }
}

// glibc's dgettext is the reference: every message it finds in a catalogue that plain msgfmt
// wrote (hash table on) is found with the same text, whether its bytes are ASCII or not, it has a
// plural form or a context, or it is long.
TEST(msgfmt, EveryMessageThatDgettextFindsIsFoundAlike) {
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

} // namespace

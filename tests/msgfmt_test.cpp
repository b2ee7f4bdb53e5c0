// Catalogues compiled by GNU msgfmt load and translate as the gettext tools intend.

#include <nls/nlsLoadedDomain.h>

#include "nlsTestSupport.h"

#include <cstdlib>
#include <gtest/gtest.h>
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

TEST(msgfmt, HighBytesHashDifferentlyButBinarySearchFindsThem) {
    // The gettext tools hash bytes 0x80 to 0xFF as unsigned; this library takes them as signed,
    // so such a message may be missed through a msgfmt-built hash table. The order of the
    // message table is the same either way.
    const char* id = "caf\xC3\xA9";
    nlstest::TempDir dir;
    std::string po = kHeader + "msgid \"" + id + "\"\nmsgstr \"coffee\"\n";
    unsigned int code = 1;
    nlsLoadedDomain domain(utString(compile(dir, po, "").c_str()), &code);
    ASSERT_EQ(code, 0u);
    EXPECT_STREQ(domain.translate_by_binary_chop(id), "coffee");

    EXPECT_NE(nlsLoadedDomain::hash(id), 6914777u); // the hash with bytes taken unsigned
}

} // namespace

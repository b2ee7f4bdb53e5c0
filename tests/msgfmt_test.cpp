// Catalogues compiled by GNU msgfmt load and translate as the gettext tools intend. The build
// compiles them (tests/CMakeLists.txt) with the build machine's msgfmt, which a cross-built test
// could not run.

#include <nls/nlsLoadedDomain.h>

#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace {

utString compiled(const char* name) {
    return utString((std::string(NLS_MSGFMT_DIR) + "/" + name).c_str());
}

TEST(msgfmt, CompiledCataloguesTranslateEveryMessage) {
    // The messages of messages.po, as tests/CMakeLists.txt writes it.
    std::vector<std::pair<std::string, std::string>> messages = {
        {"Open", "Oeffnen"}, {"Save as...", "Speichern unter..."}, {"%d files", "%d Dateien"}};
    for (int i = 0; i < 200; ++i)
        messages.push_back({"message number " + std::to_string(i), "Meldung " + std::to_string(i)});
    for (const char* file : {"le.mo", "le-nohash.mo", "be.mo", "be-nohash.mo"}) {
        SCOPED_TRACE(file);
        unsigned int code = 1;
        nlsLoadedDomain domain(compiled(file), &code);
        ASSERT_EQ(code, 0u);
        EXPECT_EQ(domain.swapped == 1, file[0] == 'b');
        EXPECT_EQ(domain.hash_size > 2, std::string(file).find("nohash") == std::string::npos);
        for (const auto& [id, str] : messages)
            EXPECT_STREQ(domain.translate(id.c_str()), str.c_str());
        const char* absent = "not in the catalogue";
        EXPECT_EQ(domain.translate(absent), absent);
    }
}

TEST(msgfmt, HighBytesAreFoundThroughMsgfmtsHashTable) {
    // msgfmt hashes bytes 0x80 to 0xFF unsigned, this library signed: a miss of such a message
    // walks the table once more with msgfmt's hash.
    const char* id = "caf\xC3\xA9";
    unsigned int code = 1;
    nlsLoadedDomain domain(compiled("cafe.mo"), &code);
    ASSERT_EQ(code, 0u);
    ASSERT_GT(domain.hash_size, 2u);
    EXPECT_NE(nlsLoadedDomain::hash(id), 6914777u); // the hash with bytes taken unsigned
    EXPECT_STREQ(domain.translate_by_hash_table(id), "coffee");
}

} // namespace

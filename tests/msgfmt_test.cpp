// Catalogues compiled by GNU msgfmt translate as the gettext tools intend; the build compiles them
// (tests/CMakeLists.txt) with the build machine's msgfmt, which a cross-built test could not run.

#include <nls/nlsLoadedDomain.h>

#include <gtest/gtest.h>
#include <string>

namespace {

utString compiled(const char* name) {
    return utString((std::string(NLS_MSGFMT_DIR) + "/" + name).c_str());
}

TEST(msgfmt, CompiledCataloguesTranslateEveryMessage) {
    for (const char* file : {"le.mo", "le-nohash.mo", "be.mo", "be-nohash.mo"}) {
        unsigned int code = 1;
        nlsLoadedDomain domain(compiled(file), &code);
        ASSERT_EQ(code, 0u) << file;
        for (int i = 0; i < 200; ++i) // as tests/CMakeLists.txt writes them
            EXPECT_EQ(domain.translate(("message number " + std::to_string(i)).c_str()),
                      "Meldung " + std::to_string(i));
        const char* absent = "not in the catalogue";
        EXPECT_EQ(domain.translate(absent), absent);
    }
}

TEST(msgfmt, HighBytesAreFoundThroughMsgfmtsHashTable) {
    // msgfmt hashes bytes 0x80 to 0xFF unsigned, this library signed: a miss of such a message
    // walks the table once more with msgfmt's hash.
    unsigned int code = 1;
    nlsLoadedDomain domain(compiled("cafe.mo"), &code);
    ASSERT_GT(domain.hash_size, 2u) << code;
    EXPECT_STREQ(domain.translate_by_hash_table("caf\xC3\xA9"), "coffee");
}

} // namespace

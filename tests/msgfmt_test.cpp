// Catalogues compiled by GNU msgfmt translate as the gettext tools intend; the build compiles them
// (tests/CMakeLists.txt) with the build machine's msgfmt, which a cross-built test could not run.

#include <nls/nlsLoadedDomain.h>

#include "fuzz/catalogFuzzer.h"
#include "moWriter.h"
#include "nlsTestSupport.h"

#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <string>

namespace {

using nlstest::mo_word;
using nlstest::set_mo_word;

TEST(msgfmt, HighBytesAreFoundThroughMsgfmtsHashTable) {
    // msgfmt hashes bytes 0x80 to 0xFF unsigned, this library signed: a miss of such a message
    // walks the table once more with msgfmt's hash.
    unsigned int code = 1;
    nlsLoadedDomain domain(utString(NLS_MSGFMT_DIR "/seed-le.mo"), &code);
    ASSERT_GT(domain.hash_size, 2u) << code;
    EXPECT_STREQ(domain.translate_by_hash_table("caf\xC3\xA9"), "Kaffee");
}

// fuzz/seed-system.po as msgfmt wrote it (revision 1.1, for the flag I; both byte orders are the
// seed replay's) and as it could have been written, and with damaged tables: a damaged string is
// left out, and the others still answer.
TEST(msgfmt, SystemDependentMessagesAreExpanded) {
    using Patch = std::function<void(std::string&)>;
    auto header = [](std::size_t field, std::uint32_t value) -> Patch {
        return [=](std::string& image) { set_mo_word(image, field, value); };
    };
    // A word of every system-dependent message: `at` bytes into its description (4 and 8: its
    // first segment's length and conversion number), or with `at` -1 its entry in the table.
    auto messages = [](int at, std::uint32_t value) -> Patch {
        return [=](std::string& image) {
            const std::uint32_t table = mo_word(image, nlstest::kMoSystemMessages);
            for (std::uint32_t i = 0; i < mo_word(image, nlstest::kMoSystemCount); ++i) {
                const std::uint32_t entry = table + 4 * i;
                set_mo_word(image, at < 0 ? entry : mo_word(image, entry) + at, value);
            }
        };
    };
    // The conversion PRIu64 with the last byte of its name and the length given.
    auto rename_u64 = [](char last, std::uint32_t length) -> Patch {
        return [=](std::string& image) {
            const std::uint32_t table = mo_word(image, nlstest::kMoSegments);
            for (std::uint32_t i = 0; i < mo_word(image, nlstest::kMoSegmentCount); ++i) {
                const std::uint32_t name = mo_word(image, table + 8 * i + 4);
                if (std::strcmp(image.c_str() + name, "PRIu64") != 0) continue;
                image[name + 5] = last;
                set_mo_word(image, table + 8 * i, length);
            }
        };
    };
    const struct {
        const char* name;
        const char* file;
        Patch patch;
        const char* found; // which of the seed's lookups answer (the first is a plain message)
    } cases[] = {
        {"no hash table", "seed-system-be.mo", header(nlstest::kMoHashSize, 0), "111111"},
        {"revision 0.1", "seed-system-le.mo", header(nlstest::kMoRevision, 1), "111111"},
        {"revision 0 has none", "seed-system-le.mo", header(nlstest::kMoRevision, 0), "100000"},
        {"unknown conversion", "seed-system-le.mo", rename_u64('5', 7), "100111"},
        {"conversion name without its NUL", "seed-system-be.mo", rename_u64('4', 6), "100111"},
        {"conversion number past the segments", "seed-system-le.mo", messages(8, 99), "100000"},
        {"segment past the end", "seed-system-be.mo", messages(4, 0x7fffffff), "100000"},
        {"descriptions past the end", "seed-system-le.mo", messages(-1, 0xfffffff0), "100000"},
    };
    for (const auto& c : cases) {
        std::string image = nlstest::read_file(std::string(NLS_MSGFMT_DIR) + "/" + c.file);
        c.patch(image);
        nlstest::TempDir dir;
        nlstest::write_file(dir / "system.mo", image);
        unsigned int code = 1;
        nlsLoadedDomain domain(utString((dir / "system.mo").c_str()), &code);
        ASSERT_EQ(code, 0u) << c.name;
        const auto& lookups = nlsfuzz::system_seed_lookups();
        for (std::size_t i = 0; i < lookups.size(); ++i) {
            const nlsfuzz::SeedLookup& lookup = lookups[i];
            const char* got = nlsfuzz::look_up(domain, lookup);
            if (c.found[i] == '1')
                EXPECT_EQ(got, lookup.answer) << c.name << ": " << lookup.message;
            else // the very pointer passed in
                EXPECT_TRUE(got == lookup.message.c_str() || got == lookup.plural)
                    << c.name << ": " << lookup.message << " gives " << got;
        }
    }
}

} // namespace

// Catalogues the build machine's msgfmt wrote: its hash table, and fuzz/seed-system.po (revision
// 1.1, for the flag I; both byte orders are the seed replay's) as written, as it could have been
// written, and with damaged tables: a damaged string is left out, and the others still answer.

#include <nls/nlsLoadedDomain.h>

#include "fuzz/catalogFuzzer.h"
#include "nlsTestSupport.h"

#include <cstring>
#include <functional>

namespace {

using nlstest::mo_word;
using nlstest::set_mo_word;
using Patch = std::function<void(std::string&)>;

TEST(msgfmt, HighBytesAreFoundThroughMsgfmtsHashTable) {
    // msgfmt hashes bytes 0x80 to 0xFF unsigned, this library signed: a miss of such a message
    // walks the table once more with msgfmt's hash.
    unsigned int code = 1;
    nlsLoadedDomain domain(utString(NLS_MSGFMT_DIR "/seed-le.mo"), &code);
    ASSERT_GT(domain.hash_size, 2u) << code;
    EXPECT_STREQ(domain.translate_by_hash_table("caf\xC3\xA9"), "Kaffee");
}

Patch header(std::size_t field, std::uint32_t value) {
    return [=](std::string& image) { set_mo_word(image, field, value); };
}

// A word of every system-dependent message: `at` bytes into its description (4 and 8: its first
// segment's length and conversion number), or with `at` -1 its entry in the table.
Patch messages(int at, std::uint32_t value) {
    return [=](std::string& image) {
        const std::uint32_t table = mo_word(image, nlstest::kMoSystemMessages);
        for (std::uint32_t i = 0; i < mo_word(image, nlstest::kMoSystemCount); ++i)
            set_mo_word(image, at < 0 ? table + 4 * i : mo_word(image, table + 4 * i) + at, value);
    };
}

// The conversion PRIu64 with the last byte of its name and the length given.
Patch rename_u64(char last, std::uint32_t length) {
    return [=](std::string& image) {
        const std::uint32_t table = mo_word(image, nlstest::kMoSegments);
        for (std::uint32_t i = 0; i < mo_word(image, nlstest::kMoSegmentCount); ++i) {
            const std::uint32_t name = mo_word(image, table + 8 * i + 4);
            if (std::strcmp(image.c_str() + name, "PRIu64") != 0) continue;
            image[name + 5] = last;
            set_mo_word(image, table + 8 * i, length);
        }
    };
}

TEST(msgfmt, SystemDependentMessagesAreExpanded) {
    const struct {
        const char* name;
        const char* file;
        Patch patch;
        const char* found; // which of the seed's lookups answer (the first is a plain message)
    } cases[] = {
        {"no hash table", "be", header(nlstest::kMoHashSize, 0), "111111"},
        {"revision 0.1", "le", header(nlstest::kMoRevision, 1), "111111"},
        {"revision 0 has none", "le", header(nlstest::kMoRevision, 0), "100000"},
        {"unknown conversion", "le", rename_u64('5', 7), "100111"},
        {"conversion name without its NUL", "be", rename_u64('4', 6), "100111"},
        {"conversion number past the segments", "le", messages(8, 99), "100000"},
        {"segment past the end", "be", messages(4, 0x7fffffff), "100000"},
        {"descriptions past the end", "le", messages(-1, 0xfffffff0), "100000"},
    };
    for (const auto& c : cases) {
        std::string image =
            nlstest::read_file(NLS_MSGFMT_DIR "/seed-system-" + std::string(c.file) + ".mo");
        c.patch(image);
        const auto loaded = nlstest::load(image);
        const nlsLoadedDomain& domain = *loaded->domain;
        ASSERT_EQ(loaded->code, 0u) << c.name;
        const auto& lookups = nlsfuzz::system_seed_lookups();
        for (std::size_t i = 0; i < lookups.size(); ++i) {
            const char* got = nlsfuzz::look_up(domain, lookups[i]);
            if (c.found[i] == '1')
                EXPECT_EQ(got, lookups[i].answer) << c.name << ": " << lookups[i].message;
            else // the very pointer passed in
                EXPECT_TRUE(got == lookups[i].message.c_str() || got == lookups[i].plural)
                    << c.name << ": " << lookups[i].message << " gives " << got;
        }
    }
}

} // namespace

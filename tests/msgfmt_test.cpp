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

// Calls `patch(image, entry)` for every entry of the table of system-dependent messages: the
// offset of the message's description (its text's offset, then segment length and conversion
// number after segment length and conversion number).
void each_system_message(std::string& image,
                         const std::function<void(std::string&, std::uint32_t)>& patch) {
    const std::uint32_t table = mo_word(image, nlstest::kMoSystemMessages);
    for (std::uint32_t i = 0; i < mo_word(image, nlstest::kMoSystemCount); ++i)
        patch(image, table + 4 * i);
}

// fuzz/seed-system.po as msgfmt wrote it (revision 1.1, for the flag I) and as it could have been
// written, and with damaged tables: a damaged string is left out, and the others still answer.
TEST(msgfmt, SystemDependentMessagesAreExpanded) {
    using Patch = std::function<void(std::string&)>;
    const std::uint32_t end = 0xffffffff;
    auto revision = [](std::uint32_t value) {
        return [value](std::string& image) { set_mo_word(image, nlstest::kMoRevision, value); };
    };
    // The PRIu64 segment, whose name's last byte is at `last`; its length.
    auto rename_u64 = [](std::string& image, char last, std::uint32_t length) {
        const std::uint32_t table = mo_word(image, nlstest::kMoSegments);
        for (std::uint32_t i = 0; i < mo_word(image, nlstest::kMoSegmentCount); ++i) {
            const std::uint32_t name = mo_word(image, table + 8 * i + 4);
            if (std::strcmp(image.c_str() + name, "PRIu64") != 0) continue;
            image[name + 5] = last;
            set_mo_word(image, table + 8 * i, length);
        }
    };
    const struct {
        const char* name;
        const char* file;
        Patch patch;
        const char* found; // which of the seed's lookups answer (the first is a plain message)
    } cases[] = {
        {"little-endian", "seed-system-le.mo", nullptr, "111111"},
        {"big-endian", "seed-system-be.mo", nullptr, "111111"},
        {"no hash table", "seed-system-be.mo",
         [](std::string& image) { set_mo_word(image, nlstest::kMoHashSize, 0); }, "111111"},
        {"revision 0.1", "seed-system-le.mo", revision(1), "111111"},
        {"revision 1.2", "seed-system-be.mo", revision(0x10002), "111111"},
        {"revision 0: no system-dependent messages", "seed-system-le.mo", revision(0), "100000"},
        {"unknown conversion", "seed-system-le.mo",
         [&](std::string& image) { rename_u64(image, '5', 7); }, "100111"},
        {"conversion name without its NUL", "seed-system-be.mo",
         [&](std::string& image) { rename_u64(image, '4', 6); }, "100111"},
        {"conversion number past the segments", "seed-system-le.mo",
         [&](std::string& image) {
             each_system_message(image, [&](std::string& bytes, std::uint32_t entry) {
                 const std::uint32_t conversion = mo_word(bytes, entry) + 8;
                 if (mo_word(bytes, conversion) != end) set_mo_word(bytes, conversion, 99);
             });
         },
         "100000"},
        {"segment past the end", "seed-system-be.mo",
         [&](std::string& image) {
             each_system_message(image, [](std::string& bytes, std::uint32_t entry) {
                 set_mo_word(bytes, mo_word(bytes, entry) + 4, 0x7fffffff);
             });
         },
         "100000"},
        {"descriptions past the end", "seed-system-le.mo",
         [&](std::string& image) {
             each_system_message(image, [](std::string& bytes, std::uint32_t entry) {
                 set_mo_word(bytes, entry, static_cast<std::uint32_t>(bytes.size()));
             });
         },
         "100000"},
    };
    for (const auto& c : cases) {
        std::string image = nlstest::read_file(std::string(NLS_MSGFMT_DIR) + "/" + c.file);
        if (c.patch) c.patch(image);
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

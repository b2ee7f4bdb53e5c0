#include <nls/nlsErrorData.h>
#include <nls/nlsLoadedDomain.h>
#include <platform/apCrtIo.h>

#include "moWriter.h"
#include "nlsTestSupport.h"

#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using nlstest::build_mo;
using nlstest::MoEntry;
using nlstest::MoOptions;

const std::vector<MoEntry> kEntries = {
    {"", "Content-Type: text/plain; charset=UTF-8\n"},
    {"Cancel", "Abbrechen"},
    {"File", "Datei"},
    {"Open file", "Datei \xC3\xB6"
                  "ffnen"},
    {"Save", "Speichern"},
    {"caf\xC3\xA9", "Kaffee"},
    {"zebra", "Zebra"},
};

struct Loaded {
    nlstest::TempDir dir;
    unsigned int code = 0xdead;
    std::unique_ptr<nlsLoadedDomain> domain;
};

std::unique_ptr<Loaded> load(const std::string& bytes) {
    auto loaded = std::make_unique<Loaded>();
    std::string path = loaded->dir / "test.mo";
    nlstest::write_file(path, bytes);
    loaded->domain = std::make_unique<nlsLoadedDomain>(utString(path.c_str()), &loaded->code);
    return loaded;
}

TEST(nlsLoadedDomain, HashMatchesWorkedValues) {
    EXPECT_EQ(nlsLoadedDomain::hash("abc"), 26499u);
    EXPECT_EQ(nlsLoadedDomain::hash("abcdefgh"), 0x089ABAA8u);
    EXPECT_EQ(nlsLoadedDomain::hash("\xE9"), 0x0FFFFF19u);
    EXPECT_EQ(nlsLoadedDomain::hash(""), 0u);
}

TEST(nlsLoadedDomain, ProbesFollowTheDoubleHashSequence) {
    // With 7 slots "abc" starts at 4 and steps by 5: 4, 2, 0, 5, 3, 1, 6. Put it in the last slot
    // of that walk, behind six other entries, so only the full sequence finds it.
    std::vector<MoEntry> entries = {{"abc", "ABC"}};
    for (char c = 'a'; c < 'a' + 6; ++c)
        entries.push_back({std::string("x") + c, "other"});
    std::string image = build_mo(entries, {false, 7});
    // Sorted: abc is pair 0 (slot value 1); the others are pairs 1 to 6.
    const int walk[] = {4, 2, 0, 5, 3, 1, 6};
    for (int i = 0; i < 7; ++i)
        nlstest::set_mo_word(image, nlstest::mo_word(image, nlstest::kMoHashOffset) + 4 * walk[i],
                             i < 6 ? i + 2 : 1);
    auto loaded = load(image);
    ASSERT_EQ(loaded->code, 0u);
    EXPECT_STREQ(loaded->domain->translate_by_hash_table("abc"), "ABC");
    const char* absent = "absent";
    EXPECT_EQ(loaded->domain->translate_by_hash_table(absent), absent); // a full table ends too
}

TEST(nlsLoadedDomain, BadFilesGiveTheirCodes) {
    std::string good = build_mo(kEntries);
    auto with_word = [&](std::size_t offset, std::uint32_t value) {
        std::string image = good;
        nlstest::set_mo_word(image, offset, value);
        return image;
    };
    std::string bad_magic = good;
    bad_magic[0] ^= 0x55;
    struct Case {
        const char* what;
        std::string bytes;
        unsigned int code;
    } cases[] = {
        {"bad magic", bad_magic, nlsERROR_CATALOG_MAGIC},
        {"revision 1", build_mo(kEntries, {false, -1, 1}), nlsERROR_CATALOG_REVISION},
        {"revision high", with_word(nlstest::kMoRevision, 0x10000), nlsERROR_CATALOG_REVISION},
        {"messages past end", with_word(nlstest::kMoMessages, 0xfffffff0), nlsERROR_CATALOG_MAGIC},
        {"translations past end", with_word(nlstest::kMoTranslations, good.size() - 8),
         nlsERROR_CATALOG_MAGIC},
        {"count too large", with_word(nlstest::kMoCount, 0x20000000), nlsERROR_CATALOG_MAGIC},
        {"hash past end", with_word(nlstest::kMoHashSize, 0xffffffff), nlsERROR_CATALOG_MAGIC},
        {"header only", good.substr(0, 28), nlsERROR_CATALOG_MAGIC},
    };
    for (const Case& c : cases) {
        auto loaded = load(c.bytes);
        EXPECT_EQ(loaded->code, c.code) << c.what;
        EXPECT_EQ(loaded->domain->failed, 1u) << c.what;
    }
    for (std::size_t size = 0; size < 28; ++size) {
        auto loaded = load(good.substr(0, size));
        EXPECT_EQ(loaded->code, nlsERROR_CATALOG_STAT) << size;
        EXPECT_EQ(loaded->domain->failed, 1u);
    }
    nlstest::TempDir dir;
    unsigned int code = 0;
    nlsLoadedDomain missing(utString((dir / "none.mo").c_str()), &code);
    EXPECT_EQ(code, nlsERROR_CATALOG_OPEN);
    nlsLoadedDomain folder(utString(dir.path().c_str()), &code);
    EXPECT_EQ(code, nlsERROR_CATALOG_STAT);
}

TEST(nlsLoadedDomain, EveryLayoutTranslatesAlike) {
    for (bool swapped : {false, true}) {
        for (long slots : {0L, 1L, 2L, 7L, -1L, 101L}) {
            auto loaded = load(build_mo(kEntries, {swapped, slots}));
            const nlsLoadedDomain& d = *loaded->domain;
            SCOPED_TRACE(testing::Message() << "swapped " << swapped << " slots " << slots);
            ASSERT_EQ(loaded->code, 0u);
            EXPECT_EQ(d.swapped, swapped ? 1u : 0u);
            EXPECT_EQ(d.string_count, kEntries.size());
            for (const MoEntry& e : kEntries) {
                EXPECT_EQ(d.translate(e.msgid.c_str()), e.msgstr);
                EXPECT_EQ(d.translate_by_binary_chop(e.msgid.c_str()), e.msgstr);
                if (d.hash_size > 2) {
                    EXPECT_EQ(d.translate_by_hash_table(e.msgid.c_str()), e.msgstr);
                }
            }
            for (const char* absent : {"Absent", "A", "zzz", "Cancel ", "\xFF"}) {
                EXPECT_EQ(d.translate(absent), absent);
                EXPECT_EQ(d.translate_by_binary_chop(absent), absent);
            }
        }
    }
}

TEST(nlsLoadedDomain, HashTableAloneDecidesWhenItIsUsed) {
    std::string image = build_mo(kEntries, {false, 11});
    std::uint32_t table = nlstest::mo_word(image, nlstest::kMoHashOffset);
    for (std::uint32_t i = 0; i < 11; ++i) // drop "Save" (pair 4) from the table
        if (nlstest::mo_word(image, table + 4 * i) == 5)
            nlstest::set_mo_word(image, table + 4 * i, 0);
    auto loaded = load(image);
    EXPECT_STREQ(loaded->domain->translate("Save"), "Save");
    EXPECT_STREQ(loaded->domain->translate_by_binary_chop("Save"), "Speichern");
}

TEST(nlsLoadedDomain, EmptyCatalogueReturnsTheArgument) {
    auto loaded = load(build_mo({}, {false, 0}));
    ASSERT_EQ(loaded->code, 0u);
    const char* msg = "anything";
    EXPECT_EQ(loaded->domain->translate(msg), msg);
    const char* empty = "";
    EXPECT_EQ(loaded->domain->translate(empty), empty);
}

TEST(nlsLoadedDomain, EmbeddedNulIsFoundOnlyByBinarySearch) {
    std::vector<MoEntry> entries = {{std::string("file\0files", 10), "Datei"}, {"x", "y"}};
    for (long slots : {0L, -1L}) {
        auto loaded = load(build_mo(entries, {false, slots}));
        EXPECT_STREQ(loaded->domain->translate_by_binary_chop("file"), "Datei");
        if (slots != 0) {
            EXPECT_STREQ(loaded->domain->translate_by_hash_table("file"), "file");
        }
    }
}

TEST(nlsLoadedDomain, DamagedStringsAndSlotsMatchNothing) {
    std::string good = build_mo(kEntries, {false, 11});
    const std::uint32_t messages = 28, translations = 28 + 8 * kEntries.size();
    const std::uint32_t hash = nlstest::mo_word(good, nlstest::kMoHashOffset);
    // Pair 2 is "File".
    std::string message_past_end = good, translation_past_end = good, slots_too_big = good,
                unterminated = good;
    nlstest::set_mo_word(message_past_end, messages + 8 * 2 + 4, 0x7fffffff);
    nlstest::set_mo_word(translation_past_end, translations + 8 * 2 + 4, good.size());
    for (std::uint32_t i = 0; i < 11; ++i)
        if (nlstest::mo_word(slots_too_big, hash + 4 * i) != 0)
            nlstest::set_mo_word(slots_too_big, hash + 4 * i, 1000);
    unterminated.back() = 'Z'; // the last translation now runs into the end of the file
    for (const std::string* image :
         {&message_past_end, &translation_past_end, &slots_too_big, &unterminated}) {
        auto loaded = load(*image);
        ASSERT_EQ(loaded->code, 0u);
        const nlsLoadedDomain& d = *loaded->domain;
        for (const MoEntry& e : kEntries) {
            for (const char* got :
                 {d.translate(e.msgid.c_str()), d.translate_by_binary_chop(e.msgid.c_str())}) {
                // Either the right translation or the argument: never a string past the image.
                if (got != e.msgid.c_str()) {
                    EXPECT_EQ(got, e.msgstr);
                }
            }
        }
    }
    auto loaded = load(unterminated);
    EXPECT_STREQ(loaded->domain->translate("zebra"), "zebra");
}

// Seams for the read and allocation failures that a real file cannot be made to produce.
int g_reads = 0;
int read_fails(int, void*, unsigned int) {
    return -1;
}
int read_shrinks(int fd, void* buffer, unsigned int count) {
    if (g_reads++ > 0) return 0; // the second read finds the file shorter than its status said
    return static_cast<int>(::read(fd, buffer, count < 40 ? count : 40));
}
void* malloc_fails(std::size_t) {
    return nullptr;
}

TEST(nlsLoadedDomain, ReadAndAllocationFailuresGiveTheirCodes) {
    apCrtSeam fail_read, shrink, no_memory;
    fail_read.read = read_fails;
    shrink.read = read_shrinks;
    no_memory.malloc = malloc_fails;
    struct Case {
        const apCrtSeam* seam;
        unsigned int code;
    } cases[] = {{&fail_read, nlsERROR_CATALOG_STAT},
                 {&shrink, nlsERROR_CATALOG_STAT},
                 {&no_memory, nlsERROR_MEMORY}};
    std::string image = build_mo(kEntries);
    for (const Case& c : cases) {
        g_reads = 0;
        nlstest::TempDir dir;
        nlstest::write_file(dir / "a.mo", image);
        ap_set_crt_seam(c.seam);
        unsigned int code = 0;
        nlsLoadedDomain domain(utString((dir / "a.mo").c_str()), &code);
        ap_set_crt_seam(nullptr);
        EXPECT_EQ(code, c.code);
        EXPECT_EQ(domain.failed, 1u);
    }
}

} // namespace

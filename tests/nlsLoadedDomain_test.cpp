#include <nls/nlsLoadedDomain.h>
#include <platform/internal/apCrtIo.h>

#include "nlsTestSupport.h"

#include <unistd.h>

namespace {

using nlstest::build_mo;
using nlstest::load;
using nlstest::mo_word;
using nlstest::MoEntry;
using namespace std::string_literals; // "a\0b"s keeps its NUL

const std::vector<MoEntry> kEntries = {
    {"", "Header"}, {"Cancel", "Abbrechen"}, {"File", "Datei"}, {"caf\xC3\xA9", "Kaffee"}};

std::string with_word(std::string image, std::size_t offset, std::uint32_t value) {
    nlstest::set_mo_word(image, offset, value);
    return image;
}

// Known values: the tests' catalogue writer hashes alike, so a fault in both shows only here.
TEST(nlsLoadedDomain, HashTakesBytesAsSigned) {
    const struct {
        const char* text;
        std::uint32_t as_signed;
    } cases[] = {
        {"abc", 0x6783},
        {"abcdefgh", 0x089ABAA8},           // the top bits folded back once
        {"\xE9", 0x0FFFFF19},               // msgfmt's unsigned hash gives 0xE9
        {"caf\xC3\xA9 au lait", 0x108fd04}, // msgfmt's: 0x1f5fd04
    };
    for (const auto& c : cases)
        EXPECT_EQ(nlsLoadedDomain::hash(c.text), c.as_signed) << c.text;
}

TEST(nlsLoadedDomain, ProbesWrapAroundTheHashTable) {
    // With 7 slots "abc" walks 4, 2, 0, 5, 3, 1, 6 (2 + 5 wraps to exactly 0): put it last in a
    // full table, then at slot 0 with every later slot empty.
    std::vector<MoEntry> entries = {{"abc", "ABC"}};
    for (char c = 'a'; c < 'a' + 6; ++c)
        entries.push_back({std::string("x") + c, "other"});
    const int walk[] = {4, 2, 0, 5, 3, 1, 6};
    for (int at : {6, 2}) {
        std::string image = build_mo(entries, 7);
        for (int i = 0; i < 7; ++i) // "abc" is pair 1
            nlstest::set_mo_word(image, mo_word(image, nlstest::kMoHashOffset) + 4 * walk[i],
                                 i < at ? i + 2 : i == at);
        auto loaded = load(image);
        EXPECT_STREQ(loaded->domain->translate("abc"), "ABC") << at;
        EXPECT_STREQ(loaded->domain->translate("absent"), "absent"); // the full walk ends
    }
}

TEST(nlsLoadedDomain, BadFilesGiveTheirCodes) {
    const std::string good = build_mo(kEntries);
    // msgfmt's catalogue with system-dependent messages, of revision 1.1.
    const std::string system = nlstest::read_file(NLS_MSGFMT_DIR "/seed-system-le.mo");
    ASSERT_GT(system.size(), 48u);
    apCrtSeam fail_read, shrink, no_memory;
    fail_read.read = [](int, void*, unsigned int) { return -1; };
    shrink.read = [](int fd, void* buffer, unsigned int) { // one short read, then the file "ends"
        static int reads = 0;
        return reads++ > 0 ? 0 : static_cast<int>(::read(fd, buffer, 40));
    };
    no_memory.malloc = [](std::size_t) -> void* { return nullptr; };
    const unsigned int magic = nlsERROR_CATALOG_MAGIC, stat = nlsERROR_CATALOG_STAT;
    const std::uint32_t near_end = static_cast<std::uint32_t>(system.size() - 4);
    const struct {
        const char* name;
        std::string bytes;
        unsigned int code;
        const apCrtSeam* seam = nullptr;
    } cases[] = {
        {"wrong magic number", with_word(good, nlstest::kMoMagic, 0x950412df), magic},
        {"major revision 2", with_word(system, nlstest::kMoRevision, 0x20001),
         nlsERROR_CATALOG_REVISION},
        {"messages past the end", with_word(good, nlstest::kMoMessages, 0xfffffff0), magic},
        {"hash table past the end", with_word(good, nlstest::kMoHashSize, 0xffffffff), magic},
        {"header without its tables", good.substr(0, 28), magic},
        {"minor revision without its header", with_word(build_mo({}, 0), nlstest::kMoRevision, 1),
         magic},
        {"segments past the end", with_word(system, nlstest::kMoSegments, near_end), magic},
        {"system strings past the end", with_word(system, nlstest::kMoSystemCount, 1 << 28), magic},
        {"shorter than a header", good.substr(0, 27), stat},
        {"empty", "", stat},
        {"read fails", good, stat, &fail_read},
        {"file shrinks", good, stat, &shrink},
        {"no memory", good, nlsERROR_MEMORY, &no_memory},
    };
    for (const auto& c : cases) {
        auto loaded = load(c.bytes, c.seam);
        EXPECT_EQ(loaded->code, c.code) << c.name;
        EXPECT_EQ(loaded->domain->failed, 1u) << c.name;
    }
    unsigned int code = 0;
    nlsLoadedDomain missing(utString("/nonexistent/none.mo"), &code);
    EXPECT_EQ(code, nlsERROR_CATALOG_OPEN);
}

// An offset one past the image points at no string, through any lookup.
TEST(nlsLoadedDomain, StringsAtTheFileEndMatchNothing) {
    const char *x = "x", *y = "y", *ys = "ys";
    for (long slots : {0L, -1L}) {
        const std::string good = build_mo({{x, "X"}, {"y\0ys"s, "Y0\0Y1"s}}, slots);
        const auto end = static_cast<std::uint32_t>(good.size());
        for (auto table : {nlstest::kMoMessages, nlstest::kMoTranslations}) {
            const std::uint32_t at = mo_word(good, table);
            auto loaded = load(with_word(with_word(good, at + 4, end), at + 12, end));
            const nlsLoadedDomain& d = *loaded->domain;
            EXPECT_EQ(d.translate(x), x) << table << " " << slots;
            EXPECT_EQ(d.translate_by_binary_chop(x), x) << table << " " << slots;
            EXPECT_EQ(d.ngettext(y, ys, 2), ys) << table << " " << slots;
        }
    }
}

// With a hash table, a pair it does not lead to is not found; a pair with a plural form stores
// "singular\0plural" and is found by its singular, but a lookup without a count takes a pair of
// the message alone that follows it on the walk, one with a count the first.
TEST(nlsLoadedDomain, HashTableDecidesAndPluralPairsAreFoundBySingular) {
    std::string image = build_mo(kEntries, 11);
    std::uint32_t table = mo_word(image, nlstest::kMoHashOffset);
    for (std::uint32_t i = 0; i < 11; ++i) // drop "Cancel" (pair 1) from the hash table
        if (mo_word(image, table + 4 * i) == 2) nlstest::set_mo_word(image, table + 4 * i, 0);
    auto dropped = load(image);
    EXPECT_STREQ(dropped->domain->translate("Cancel"), "Cancel");
    EXPECT_STREQ(dropped->domain->translate_by_binary_chop("Cancel"), "Abbrechen");

    auto both = load(build_mo({{"file\0files"s, "P0\0P1"s}, {"file", "alone"}, {"fil", "F"}}));
    EXPECT_STREQ(both->domain->translate("file"), "alone");
    EXPECT_STREQ(both->domain->ngettext("file", "files", 2), "P1");
    auto plural_only = load(build_mo({{"file\0files"s, "P0\0P1"s}}));
    EXPECT_STREQ(plural_only->domain->translate("file"), "P0");
    EXPECT_STREQ(plural_only->domain->translate("files"), "files");
}

// Either byte order, mapped or read, with no hash table, one too small to use, a full one and a
// sparse one; plural forms and contexts in msgfmt's layouts are the seeds' (fuzz/).
TEST(nlsLoadedDomain, EveryLayoutTranslatesAlike) {
    std::vector<MoEntry> entries = kEntries;
    entries.push_back({"x", "X"});
    apCrtSeam read_all, map_all; // mapped or read, whoever owns the file
    map_all.mappable = [](int) { return true; };
    for (int layout = 0; layout < 4; ++layout) {
        const bool swapped = layout & 1, mapped = layout & 2;
        for (long slots : {0, 2, 11, -1}) {
            auto loaded = load(build_mo(entries, slots, swapped), mapped ? &map_all : &read_all);
            const nlsLoadedDomain& d = *loaded->domain;
            SCOPED_TRACE(std::to_string(layout) + " " + std::to_string(slots));
            ASSERT_EQ(loaded->code, 0u);
            ASSERT_EQ(d.mapped, mapped ? 1u : 0u);
            for (std::size_t i = 1; i < kEntries.size(); ++i)
                EXPECT_EQ(d.translate(kEntries[i].msgid.c_str()), kEntries[i].msgstr);
            EXPECT_STREQ(d.ngettext("File", "Files", 5), "Datei"); // one form only
            // Misses give the very pointers passed in.
            const char *open = "Open", *many = "menus";
            for (const char* absent : {"zzz", "Cancel ", open})
                EXPECT_EQ(d.translate(absent), absent);
            EXPECT_EQ(d.pgettext(nullptr, open), open);
            EXPECT_EQ(d.ngettext(open, many, 1), open);
            EXPECT_EQ(d.ngettext(nullptr, many, 2), many);
            EXPECT_EQ(d.npgettext("tool", "%d file", many, 2), many);
        }
    }
}

// A form the rule does not give, or the entry does not hold, falls back to the Germanic rule's
// form, then to the first, never past the entry's stored forms.
TEST(nlsLoadedDomain, FormsFallBackInsideTheEntry) {
    const std::pair<std::string, const char*> cases[] = {
        // the header, and the form of the three-form entry for n = 0, 1, 2, 5
        {"Content-Type: text/plain\n", "1011"},
        {"Plural-Forms: nplurals=2; plural=n;\n", "0111"},       // rule past nplurals
        {"Plural-Forms: nplurals=5; plural=(n+1)%5;\n", "1211"}, // form not stored
    };
    for (const auto& [header, forms] : cases) {
        auto loaded =
            load(build_mo({{"", header}, {"x\0xs"s, "F0\0F1\0F2"s}, {"z\0zs"s, "H0\0H1\0"s}}));
        const unsigned long ns[] = {0, 1, 2, 5};
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(loaded->domain->ngettext("x", "xs", ns[i]), "F"s + forms[i]) << header;
            // An empty last form is stored: its NUL is within the stored length.
            EXPECT_EQ(loaded->domain->ngettext("z", "zs", ns[i]),
                      forms[i] == '2' ? "" : "H"s + forms[i]);
        }
    }
    std::string cut = build_mo({{"x\0xs"s, "F0\0F1"s}});
    cut.pop_back(); // the last form runs into the end of the file: no answer
    const char* many = "xs";
    EXPECT_EQ(load(cut)->domain->ngettext("x", many, 2), many);
}

} // namespace

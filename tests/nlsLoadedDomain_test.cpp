#include <nls/nlsErrorData.h>
#include <nls/nlsLoadedDomain.h>
#include <platform/internal/apCrtIo.h>

#include "moWriter.h"
#include "nlsTestSupport.h"

#include <gtest/gtest.h>
#include <memory>
#include <unistd.h>

namespace {

using nlstest::build_mo;
using nlstest::mo_word;
using nlstest::MoEntry;
using nlstest::set_mo_word;

const std::vector<MoEntry> kEntries = {
    {"", "Header"}, {"Cancel", "Abbrechen"}, {"File", "Datei"}, {"caf\xC3\xA9", "Kaffee"}};

struct Loaded {
    nlstest::TempDir dir;
    unsigned int code = 0xdead;
    std::unique_ptr<nlsLoadedDomain> domain;
};

// `seam` serves failures that a real file cannot be made to produce.
std::unique_ptr<Loaded> load(const std::string& bytes, const apCrtSeam* seam = nullptr) {
    auto loaded = std::make_unique<Loaded>();
    nlstest::write_file(loaded->dir / "test.mo", bytes);
    ap_set_crt_seam(seam);
    loaded->domain = std::make_unique<nlsLoadedDomain>(utString((loaded->dir / "test.mo").c_str()),
                                                       &loaded->code);
    ap_set_crt_seam(nullptr);
    return loaded;
}

std::string with_word(std::string image, std::size_t offset, std::uint32_t value) {
    set_mo_word(image, offset, value);
    return image;
}

using namespace std::string_literals; // "a\0b"s keeps its NUL

// The writer hashes on its own, so that the catalogues it writes check the library's hash.
TEST(nlsLoadedDomain, HashTakesBytesAsSigned) {
    const struct {
        const char* text;
        std::uint32_t as_signed, as_msgfmt;
    } cases[] = {
        {"abc", 0x6783, 0x6783},
        {"abcdefgh", 0x089ABAA8, 0x089ABAA8}, // the top bits folded back once
        {"\xE9", 0x0FFFFF19, 0xE9},
        {"caf\xC3\xA9 au lait", 0x108fd04, 0x1f5fd04},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(nlsLoadedDomain::hash(c.text), c.as_signed) << c.text;
        EXPECT_EQ(nlstest::mo_hash(c.text), c.as_signed) << c.text;
        EXPECT_EQ(nlstest::mo_hash(c.text, true), c.as_msgfmt) << c.text;
    }
}

TEST(nlsLoadedDomain, ProbesWrapAroundTheHashTable) {
    // With 7 slots "abc" walks 4, 2, 0, 5, 3, 1, 6 (2 + 5 wraps to exactly 0): put it last in a
    // full table, then at slot 0 with every later slot empty.
    std::vector<MoEntry> entries = {{"abc", "ABC"}};
    for (char c = 'a'; c < 'a' + 6; ++c)
        entries.push_back({std::string("x") + c, "other"});
    const int walk[] = {4, 2, 0, 5, 3, 1, 6};
    for (int at : {6, 2}) {
        std::string image = build_mo(entries, {false, 7});
        for (int i = 0; i < 7; ++i) {
            std::uint32_t pair = i < at ? i + 2 : i == at ? 1 : 0; // "abc" is pair 1
            set_mo_word(image, mo_word(image, nlstest::kMoHashOffset) + 4 * walk[i], pair);
        }
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
    const struct {
        const char* name;
        std::string bytes;
        unsigned int code;
        const apCrtSeam* seam = nullptr;
    } cases[] = {
        {"wrong magic number", with_word(good, nlstest::kMoMagic, 0x950412df),
         nlsERROR_CATALOG_MAGIC},
        {"major revision 2", with_word(system, nlstest::kMoRevision, 0x20001),
         nlsERROR_CATALOG_REVISION},
        {"messages past the end", with_word(good, nlstest::kMoMessages, 0xfffffff0),
         nlsERROR_CATALOG_MAGIC},
        {"hash table past the end", with_word(good, nlstest::kMoHashSize, 0xffffffff),
         nlsERROR_CATALOG_MAGIC},
        {"header without its tables", good.substr(0, 28), nlsERROR_CATALOG_MAGIC},
        {"minor revision without its header",
         with_word(build_mo({}, {false, 0}), nlstest::kMoRevision, 1), nlsERROR_CATALOG_MAGIC},
        {"segments past the end",
         with_word(system, nlstest::kMoSegments, static_cast<std::uint32_t>(system.size() - 4)),
         nlsERROR_CATALOG_MAGIC},
        {"system strings past the end", with_word(system, nlstest::kMoSystemCount, 0x10000000),
         nlsERROR_CATALOG_MAGIC},
        {"shorter than a header", good.substr(0, 27), nlsERROR_CATALOG_STAT},
        {"empty", "", nlsERROR_CATALOG_STAT},
        {"read fails", good, nlsERROR_CATALOG_STAT, &fail_read},
        {"file shrinks", good, nlsERROR_CATALOG_STAT, &shrink},
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
        const std::string good = build_mo({{x, "X"}, {"y\0ys"s, "Y0\0Y1"s}}, {false, slots});
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

TEST(nlsLoadedDomain, HashTableAloneDecides) {
    std::string image = build_mo(kEntries, {false, 11});
    std::uint32_t table = mo_word(image, nlstest::kMoHashOffset);
    for (std::uint32_t i = 0; i < 11; ++i) // drop "Cancel" (pair 1) from the hash table
        if (mo_word(image, table + 4 * i) == 2) set_mo_word(image, table + 4 * i, 0);
    auto loaded = load(image);
    EXPECT_STREQ(loaded->domain->translate("Cancel"), "Cancel");
    EXPECT_STREQ(loaded->domain->translate_by_binary_chop("Cancel"), "Abbrechen");
}

// A pair with a plural form stores "singular\0plural" and is found by its singular. Where a pair
// of the message alone follows it on the hash walk, a lookup without a count takes that one, a
// lookup with a count the first.
TEST(nlsLoadedDomain, PluralPairsAreFoundBySingular) {
    auto loaded = load(build_mo({{"file\0files"s, "P0\0P1"s}, {"file", "alone"}, {"fil", "F"}}));
    const nlsLoadedDomain& d = *loaded->domain;
    EXPECT_STREQ(d.translate("file"), "alone");
    EXPECT_STREQ(d.ngettext("file", "files", 2), "P1");
    auto plural_only = load(build_mo({{"file\0files"s, "P0\0P1"s}}));
    EXPECT_STREQ(plural_only->domain->translate("file"), "P0");
    EXPECT_STREQ(plural_only->domain->translate("files"), "files");
}

// Plain messages, plural forms and contexts in either byte order, with no hash table, one too
// small to use, a full one and a sparse one.
TEST(nlsLoadedDomain, EveryLayoutTranslatesAlike) {
    std::vector<MoEntry> entries = kEntries;
    entries.insert(entries.end(), {{"", "Plural-Forms: nplurals=3; plural=n%3;\n"},
                                   {"%d file\0%d files"s, "F0\0F1\0F2"s},
                                   {"menu\x04Open", "Open:menu"},
                                   {"menu\x04%d file\0%d files"s, "M0\0M1\0M2"s},
                                   {"x", "X"}});
    entries.erase(entries.begin()); // a header with three forms instead of kEntries' own
    const std::pair<const char*, long> tables[] = {
        {"no hash table", 0}, {"too small", 2}, {"full", 11}, {"sparse", -1}};
    apCrtSeam read_all, map_all; // mapped or read, whoever owns the file
    map_all.mappable = [](int) { return true; };
    for (int layout = 0; layout < 4; ++layout) {
        const bool swapped = layout & 1, mapped = layout & 2;
        for (const auto& [name, slots] : tables) {
            auto loaded = load(build_mo(entries, {swapped, slots}), mapped ? &map_all : &read_all);
            const nlsLoadedDomain& d = *loaded->domain;
            ASSERT_EQ(loaded->code, 0u) << name << layout;
            ASSERT_EQ(d.mapped, mapped ? 1u : 0u);
            for (std::size_t i = 1; i < kEntries.size(); ++i) // by binary chop if no table is used
                EXPECT_EQ(d.translate(kEntries[i].msgid.c_str()), kEntries[i].msgstr) << name;
            for (auto [n, form] : {std::pair(3ul, "0"), {1ul, "1"}, {5ul, "2"}}) {
                EXPECT_EQ(d.ngettext("%d file", "%d files", n), std::string("F") + form) << n;
                EXPECT_EQ(d.npgettext("menu", "%d file", "%d files", n), std::string("M") + form);
            }
            EXPECT_STREQ(d.pgettext("menu", "Open"), "Open:menu");
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
    const struct {
        const char* name;
        std::string header;
        const char* forms; // of the three-form entry for n = 0, 1, 2, 5
    } cases[] = {
        {"no rule", "Content-Type: text/plain\n", "1011"},
        {"rule past nplurals", "Plural-Forms: nplurals=2; plural=n;\n", "0111"},
        {"form not stored", "Plural-Forms: nplurals=5; plural=(n+1)%5;\n", "1211"},
    };
    for (const auto& c : cases) {
        auto loaded =
            load(build_mo({{"", c.header}, {"x\0xs"s, "F0\0F1\0F2"s}, {"z\0zs"s, "H0\0H1\0"s}}));
        const nlsLoadedDomain& d = *loaded->domain;
        const unsigned long ns[] = {0, 1, 2, 5};
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(d.ngettext("x", "xs", ns[i]), std::string("F") + c.forms[i]) << c.name;
            // An empty last form is stored: its NUL is within the stored length.
            EXPECT_EQ(d.ngettext("z", "zs", ns[i]),
                      c.forms[i] == '2' ? "" : std::string("H") + c.forms[i]);
        }
    }
    std::string cut = build_mo({{"x\0xs"s, "F0\0F1"s}});
    cut.pop_back(); // the last form runs into the end of the file: no answer
    const char* many = "xs";
    EXPECT_EQ(load(cut)->domain->ngettext("x", many, 2), many);
}

} // namespace

#include <nls/nlsErrorData.h>
#include <nls/nlsLoadedDomain.h>
#include <nls/nlsPluralForms.h>
#include <platform/internal/apCrtIo.h>

#include "moWriter.h"
#include "nlsTestSupport.h"

#include <gtest/gtest.h>
#include <memory>
#include <tuple>
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

using namespace std::string_literals; // "a\0b"s keeps its NUL

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

TEST(nlsLoadedDomain, BadFilesGiveTheirCodesAndCutFormsNoAnswer) {
    std::string good = build_mo(kEntries);
    auto with_word = [&](std::size_t offset, std::uint32_t value) {
        std::string image = good;
        set_mo_word(image, offset, value);
        return image;
    };
    apCrtSeam fail_read, shrink, no_memory;
    fail_read.read = [](int, void*, unsigned int) { return -1; };
    shrink.read = [](int fd, void* buffer, unsigned int) { // one short read, then the file "ends"
        static int reads = 0;
        return reads++ > 0 ? 0 : static_cast<int>(::read(fd, buffer, 40));
    };
    no_memory.malloc = [](std::size_t) -> void* { return nullptr; };
    const std::tuple<std::string, unsigned int, const apCrtSeam*> cases[] = {
        {with_word(nlstest::kMoMagic, 0x950412df), nlsERROR_CATALOG_MAGIC, nullptr},
        {with_word(nlstest::kMoRevision, 1), nlsERROR_CATALOG_REVISION, nullptr},
        {with_word(nlstest::kMoMessages, 0xfffffff0), nlsERROR_CATALOG_MAGIC, nullptr},
        {with_word(nlstest::kMoHashSize, 0xffffffff), nlsERROR_CATALOG_MAGIC, nullptr},
        {good.substr(0, 28), nlsERROR_CATALOG_MAGIC, nullptr}, // a header without its tables
        {good.substr(0, 27), nlsERROR_CATALOG_STAT, nullptr},
        {"", nlsERROR_CATALOG_STAT, nullptr},
        {good, nlsERROR_CATALOG_STAT, &fail_read},
        {good, nlsERROR_CATALOG_STAT, &shrink},
        {good, nlsERROR_MEMORY, &no_memory},
    };
    for (const auto& [bytes, code, seam] : cases) {
        auto loaded = load(bytes, seam);
        EXPECT_EQ(loaded->code, code) << bytes.size();
        EXPECT_EQ(loaded->domain->failed, 1u);
    }
    unsigned int code = 0;
    nlsLoadedDomain missing(utString("/nonexistent/none.mo"), &code);
    EXPECT_EQ(code, nlsERROR_CATALOG_OPEN);
    std::string cut = build_mo({{"x\0xs"s, "F0\0F1"s}});
    cut.pop_back(); // the last form runs into the end of the file: no answer
    const char* many = "xs";
    EXPECT_EQ(load(cut)->domain->ngettext("x", many, 2), many);
}

TEST(nlsLoadedDomain, HashTableAloneDecidesAndFindsPluralPairsBySingular) {
    std::vector<MoEntry> entries = kEntries;
    entries.push_back({"file\0files"s, "Datei\0Dateien"s});
    std::string image = build_mo(entries, {false, 11});
    std::uint32_t table = mo_word(image, nlstest::kMoHashOffset);
    for (std::uint32_t i = 0; i < 11; ++i) // drop "Cancel" (pair 1) from the hash table
        if (mo_word(image, table + 4 * i) == 2) set_mo_word(image, table + 4 * i, 0);
    auto loaded = load(image);
    EXPECT_STREQ(loaded->domain->translate("Cancel"), "Cancel");
    EXPECT_STREQ(loaded->domain->translate_by_binary_chop("Cancel"), "Abbrechen");
    EXPECT_STREQ(loaded->domain->translate("file"), "Datei"); // by the singular of "file\0files"
    EXPECT_STREQ(loaded->domain->translate("fil"), "fil");

    // A pair holding the message alone wins over a plural pair met earlier on the same walk.
    auto both = load(build_mo({{"file\0files"s, "plural"}, {"file", "alone"}}));
    EXPECT_STREQ(both->domain->translate("file"), "alone");
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
    for (bool swapped : {false, true}) {
        for (long slots : {0L, 2L, 11L /* full */, -1L}) {
            auto loaded = load(build_mo(entries, {swapped, slots}));
            const nlsLoadedDomain& d = *loaded->domain;
            ASSERT_EQ(loaded->code, 0u) << swapped << slots;
            for (std::size_t i = 1; i < kEntries.size(); ++i) // by binary chop if no table is used
                EXPECT_EQ(d.translate(kEntries[i].msgid.c_str()), kEntries[i].msgstr);
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

TEST(nlsLoadedDomain, BrokenRulesAndMissingFormsFallBackInsideTheEntry) {
    struct Case {
        std::string header;
        const char* forms; // the forms of the three-form entry for n = 0, 1, 2, 5
    };
    const Case cases[] = {
        {"Content-Type: text/plain\n", "1011"},                  // no rule: n != 1
        {"Plural-Forms: nplurals=2; plural=n;\n", "0111"},       // 5 is past nplurals
        {"Plural-Forms: nplurals=5; plural=(n+1)%5;\n", "1211"}, // form 3 is missing
    };
    for (const Case& c : cases) {
        auto loaded =
            load(build_mo({{"", c.header}, {"x\0xs"s, "F0\0F1\0F2"s}, {"z\0zs"s, "H0\0H1\0"s}}));
        const nlsLoadedDomain& d = *loaded->domain;
        const unsigned long ns[] = {0, 1, 2, 5};
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(d.ngettext("x", "xs", ns[i]), std::string("F") + c.forms[i]) << c.header;
            // An empty last form is stored: its NUL is within the stored length.
            EXPECT_EQ(d.ngettext("z", "zs", ns[i]),
                      c.forms[i] == '2' ? "" : std::string("H") + c.forms[i]);
        }
    }
}

std::string header(const std::string& rule) {
    return "Content-Type: text/plain; charset=UTF-8\nPlural-Forms: " + rule + "\n";
}

// The rules of many languages are compared with glibc's in posix/msgfmt_oracle_test.cpp; these
// are the corners of C's operators.
TEST(nlsPluralForms, RulesInUseGiveTheirForms) {
    struct Case {
        const char* rule;
        std::vector<std::pair<unsigned long, unsigned long>> forms; // n, form
    };
    const Case cases[] = {
        // || short-circuits, ! and unsigned wrap-around as in C.
        {"nplurals=2; plural=n==0 || 10/n > 2;", {{0, 1}, {1, 1}, {5, 0}}},
        {"nplurals=3; plural=\tn - 2 > 5 ? 2 : !!n;", {{0, 2}, {1, 2}, {2, 1}, {8, 2}}},
        // Constants and n next to a branch's end are no operands of their own.
        {"nplurals=9; plural=(n==1 ? 5 : n) + 2;", {{1, 7}, {0, 2}, {3, 5}}},
        {"nplurals=5; plural=n + (n > 1 ? 0 : 1);", {{0, 1}, {1, 2}, {2, 2}}},
    };
    for (const Case& c : cases) {
        nlsPluralForms rule(header(c.rule).c_str());
        ASSERT_TRUE(rule.parsed()) << c.rule;
        for (auto [n, form] : c.forms)
            EXPECT_EQ(rule.index(n), form) << c.rule << " n=" << n;
    }
}

TEST(nlsPluralForms, BrokenRulesFallBackToTheGermanicRule) {
    std::string sum = "n", deep(10000, '(');
    while (sum.size() < 400) // too long a program
        sum += "+n";
    std::vector<std::string> unparsed = {
        "n ! 1;",          "(n != 1;",  "n != 1 ? 0;",
        "n != 1 garbage;", "\x01\xff;", "99999999999 > n;",
        sum + ";",         deep + "n;", std::string(10000, '!') + "n;"};
    for (std::string& rule : unparsed)
        rule = "nplurals=2; plural=" + rule;
    unparsed.insert(unparsed.end(), {"", "Plural-Forms: plural=n != 1;", "nplurals=x; plural=n;"});
    for (const std::string& text : unparsed) {
        nlsPluralForms rule(header(text).c_str());
        EXPECT_FALSE(rule.parsed()) << text.substr(0, 60);
        EXPECT_EQ(rule.nplurals(), 2u);
        EXPECT_EQ(rule.index(1) + 10 * rule.index(7), 10u); // n != 1
    }
    EXPECT_FALSE(nlsPluralForms(nullptr).parsed());

    // Parsed, but some calls have no answer: those get n != 1.
    nlsPluralForms by_zero(header("nplurals=3; plural=n % (n - 2) ? 2 : 0;").c_str());
    EXPECT_EQ(by_zero.index(2), 1u); // divides by zero
    EXPECT_EQ(by_zero.index(5), 2u);
    EXPECT_EQ(nlsPluralForms(header("nplurals=0; plural=0;").c_str()).index(2), 1u);
}

} // namespace

#include <nls/nlsErrorData.h>
#include <nls/nlsLoadedDomain.h>
#include <nls/nlsPluralForms.h>
#include <platform/apCrtIo.h>

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

const std::vector<MoEntry> kEntries = {{"", "Header"},
                                       {"Cancel", "Abbrechen"},
                                       {"File", "Datei"},
                                       {"caf\xC3\xA9", "Kaffee"},
                                       {"zebra", "Zebra"}};

struct Loaded {
    nlstest::TempDir dir;
    unsigned int code = 0xdead;
    std::unique_ptr<nlsLoadedDomain> domain;
};

std::unique_ptr<Loaded> load(const std::string& bytes) {
    auto loaded = std::make_unique<Loaded>();
    nlstest::write_file(loaded->dir / "test.mo", bytes);
    loaded->domain = std::make_unique<nlsLoadedDomain>(utString((loaded->dir / "test.mo").c_str()),
                                                       &loaded->code);
    return loaded;
}

std::string nul(const char* text, std::size_t size) {
    return std::string(text, size);
}

const std::string kRussian = "Plural-Forms: nplurals=3; plural=(n%10==1 && n%100!=11 ? 0 : "
                             "n%10>=2 && n%10<=4 && (n%100<10 || n%100>=20) ? 1 : 2);\n";

TEST(nlsLoadedDomain, ProbesWrapAroundTheHashTable) {
    // With 7 slots "abc" walks 4, 2, 0, 5, 3, 1, 6, where 2 + 5 wraps to exactly 0. Put it
    // last, behind six other pairs in a table without an empty slot; then third, at slot 0,
    // behind two pairs, with every later slot empty.
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
        const char* absent = "absent";
        EXPECT_EQ(loaded->domain->translate(absent), absent); // the full walk ends after 7 probes
    }
}

TEST(nlsLoadedDomain, BadFilesGiveTheirCodes) {
    std::string good = build_mo(kEntries);
    auto with_word = [&](std::size_t offset, std::uint32_t value) {
        std::string image = good;
        set_mo_word(image, offset, value);
        return image;
    };
    std::string bad_magic = good;
    bad_magic[0] ^= 0x55;
    const std::pair<std::string, unsigned int> cases[] = {
        {bad_magic, nlsERROR_CATALOG_MAGIC},
        {with_word(nlstest::kMoRevision, 1), nlsERROR_CATALOG_REVISION},
        {with_word(nlstest::kMoMessages, 0xfffffff0), nlsERROR_CATALOG_MAGIC},
        {with_word(nlstest::kMoHashSize, 0xffffffff), nlsERROR_CATALOG_MAGIC},
        {good.substr(0, 28), nlsERROR_CATALOG_MAGIC}, // a header whose tables are missing
    };
    for (const auto& [bytes, code] : cases)
        EXPECT_EQ(load(bytes)->code, code);
    for (std::size_t size = 0; size < 28; ++size) {
        auto loaded = load(good.substr(0, size));
        EXPECT_EQ(loaded->code, nlsERROR_CATALOG_STAT) << size;
        EXPECT_EQ(loaded->domain->failed, 1u);
    }
    nlstest::TempDir dir;
    unsigned int code = 0;
    nlsLoadedDomain missing(utString((dir / "none.mo").c_str()), &code);
    EXPECT_EQ(code, nlsERROR_CATALOG_OPEN);
    // A folder: POSIX opens it and fails the read, Windows does not open it.
    nlsLoadedDomain folder(utString(dir.path().c_str()), &code);
    EXPECT_TRUE(code == nlsERROR_CATALOG_STAT || code == nlsERROR_CATALOG_OPEN) << code;
    EXPECT_EQ(folder.failed, 1u);
}

TEST(nlsLoadedDomain, HashTableAloneDecidesAndFindsPluralPairsBySingular) {
    std::vector<MoEntry> entries = kEntries;
    entries.push_back({std::string("file\0files", 10), std::string("Datei\0Dateien", 14)});
    std::string image = build_mo(entries, {false, 11});
    std::uint32_t table = mo_word(image, nlstest::kMoHashOffset);
    for (std::uint32_t i = 0; i < 11; ++i) // drop "Cancel" (pair 1) from the hash table
        if (mo_word(image, table + 4 * i) == 2) set_mo_word(image, table + 4 * i, 0);
    auto loaded = load(image);
    EXPECT_STREQ(loaded->domain->translate("Cancel"), "Cancel");
    EXPECT_STREQ(loaded->domain->translate_by_binary_chop("Cancel"), "Abbrechen");
    // The stored key runs on past the singular; both lookups give the first form.
    EXPECT_STREQ(loaded->domain->translate("file"), "Datei");
    EXPECT_STREQ(loaded->domain->translate_by_binary_chop("file"), "Datei");
    EXPECT_STREQ(loaded->domain->translate("fil"), "fil");

    // A pair holding the message alone wins over a plural pair met earlier on the same walk.
    auto both = load(build_mo({{std::string("file\0files", 10), "plural"}, {"file", "alone"}}));
    EXPECT_STREQ(both->domain->translate("file"), "alone");
}

TEST(nlsLoadedDomain, DamagedStringsAndSlotsMatchNothing) {
    std::string good = build_mo(kEntries, {false, 7});
    const std::uint32_t translations = 28 + 8 * kEntries.size();
    const std::uint32_t hash = mo_word(good, nlstest::kMoHashOffset);
    std::string damaged[4] = {good, good, good, good};
    set_mo_word(damaged[0], 28 + 8 * 2 + 4, 0x7fffffff);            // "File" points past the end
    set_mo_word(damaged[1], translations + 8 * 2 + 4, good.size()); // and its translation
    for (std::uint32_t i = 0; i < 7; ++i)                           // slots beyond the pairs
        if (mo_word(damaged[2], hash + 4 * i) != 0) set_mo_word(damaged[2], hash + 4 * i, 1000);
    damaged[3].back() = 'Z'; // the last string runs into the end of the file
    for (const std::string& image : damaged) {
        auto loaded = load(image);
        ASSERT_EQ(loaded->code, 0u);
        for (const MoEntry& e : kEntries) {
            for (const char* got : {loaded->domain->translate(e.msgid.c_str()),
                                    loaded->domain->translate_by_binary_chop(e.msgid.c_str())})
                EXPECT_TRUE(got == e.msgid.c_str() || e.msgstr == got); // never past the end
        }
    }
    EXPECT_STREQ(load(damaged[3])->domain->translate("zebra"), "zebra");
}

// Plain messages, plural forms and contexts in either byte order, with no hash table, one too
// small to use, a full one and a sparse one.
TEST(nlsLoadedDomain, EveryLayoutTranslatesAlike) {
    std::vector<MoEntry> entries = kEntries;
    entries.insert(entries.end(), {{"", kRussian},
                                   {nul("%d file\0%d files", 17), nul("F0\0F1\0F2", 8)},
                                   {"menu\x04Open", "Open:menu"},
                                   {nul("menu\x04%d file\0%d files", 22), nul("M0\0M1\0M2", 8)},
                                   {"caf\xC3\xA9\x04\xC3\xA9t\xC3\xA9", "summer"},
                                   {"x", "X"}});
    entries.erase(entries.begin()); // the Russian header instead of kEntries' own
    for (bool swapped : {false, true}) {
        for (long slots : {0L, 2L, 11L /* full */, -1L}) {
            SCOPED_TRACE(std::to_string(swapped) + " " + std::to_string(slots));
            auto loaded = load(build_mo(entries, {swapped, slots}));
            const nlsLoadedDomain& d = *loaded->domain;
            ASSERT_EQ(loaded->code, 0u);
            EXPECT_EQ(d.swapped, swapped ? 1u : 0u);
            for (const MoEntry& e : kEntries) {
                if (e.msgid.empty()) continue;
                EXPECT_EQ(d.translate(e.msgid.c_str()), e.msgstr);
                EXPECT_EQ(d.translate_by_binary_chop(e.msgid.c_str()), e.msgstr);
            }
            const std::pair<unsigned long, const char*> forms[] = {
                {1, "0"}, {21, "0"}, {2, "1"}, {24, "1"}, {0, "2"}, {11, "2"}, {4294967295ul, "2"}};
            for (auto [n, form] : forms) {
                EXPECT_EQ(d.ngettext("%d file", "%d files", n), std::string("F") + form) << n;
                EXPECT_EQ(d.npgettext("menu", "%d file", "%d files", n), std::string("M") + form);
            }
            EXPECT_STREQ(d.pgettext("menu", "Open"), "Open:menu");
            EXPECT_STREQ(d.pgettext("caf\xC3\xA9", "\xC3\xA9t\xC3\xA9"), "summer");
            EXPECT_STREQ(d.ngettext("File", "Files", 5), "Datei"); // one form only
            // Misses give the very pointers passed in.
            const char *open = "Open", *many = "menus";
            for (const char* absent : {"Absent", "zzz", "Cancel ", "\xFF", open})
                EXPECT_EQ(d.translate(absent), absent);
            for (const char* context : {"men", "menu\x04", "", static_cast<const char*>(nullptr)})
                EXPECT_EQ(d.pgettext(context, open), open);
            EXPECT_EQ(d.ngettext(open, many, 1), open);
            EXPECT_EQ(d.ngettext(nullptr, many, 2), many);
            EXPECT_EQ(d.npgettext("tool", "%d file", many, 2), many);
        }
    }
    auto empty = load(build_mo({}, {false, 0}));
    const char* message = "anything";
    EXPECT_EQ(empty->domain->translate(message), message);
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
        auto loaded = load(build_mo({{"", c.header},
                                     {nul("x\0xs", 4), nul("F0\0F1\0F2", 8)},
                                     {nul("y\0ys", 4), "G0"},
                                     {nul("z\0zs", 4), nul("H0\0H1\0", 6)}}));
        const nlsLoadedDomain& d = *loaded->domain;
        const unsigned long ns[] = {0, 1, 2, 5};
        for (int i = 0; i < 4; ++i) {
            SCOPED_TRACE(c.header.substr(0, 50) + " n=" + std::to_string(ns[i]));
            EXPECT_EQ(d.ngettext("x", "xs", ns[i]), std::string("F") + c.forms[i]);
            EXPECT_STREQ(d.ngettext("y", "ys", ns[i]), "G0");
            // An empty last form is stored: its NUL is within the stored length.
            EXPECT_EQ(d.ngettext("z", "zs", ns[i]),
                      c.forms[i] == '2' ? "" : std::string("H") + c.forms[i]);
        }
    }
}

TEST(nlsLoadedDomain, FormsNeverReadPastTheImage) {
    std::string image = build_mo({{"", "Plural-Forms: nplurals=4; plural=n%4;\n"},
                                  {nul("x\0xs", 4), nul("F0\0F1\0F2\0F3", 11)}});
    const std::uint32_t translations = 28 + 8 * 2;
    set_mo_word(image, translations + 8, 0xffffffff); // a length far past the end
    auto wild = load(image);
    for (unsigned long n = 0; n < 4; ++n)
        EXPECT_EQ(wild->domain->ngettext("x", "xs", n), "F" + std::to_string(n));
    image.resize(image.size() - 2); // the last form loses its "3" and the NUL after it
    auto cut = load(image);
    for (unsigned long n = 0; n < 3; ++n)
        EXPECT_EQ(cut->domain->ngettext("x", "xs", n), "F" + std::to_string(n));
    const char* many = "xs";
    EXPECT_EQ(cut->domain->ngettext("x", many, 3), many); // "F" runs into the end: no answer
}

int g_reads = 0;

// Seams for the failures that a real file cannot be made to produce: a failed or short read, no
// memory, and a device whose status gives a size (FIFOs have none).
TEST(nlsLoadedDomain, ReadAndAllocationFailuresGiveTheirCodes) {
    apCrtSeam fail_read, shrink, no_memory, not_regular;
    fail_read.read = [](int, void*, unsigned int) { return -1; };
    shrink.read = [](int fd, void* buffer, unsigned int) { // one short read, then the file "ends"
        return g_reads++ > 0 ? 0 : static_cast<int>(::read(fd, buffer, 40));
    };
    no_memory.malloc = [](std::size_t) -> void* { return nullptr; };
    not_regular.fstat = [](int fd, struct _stat64i32* status) { // the real size, no file type
        const apCrtSeam* self = ap_set_crt_seam(nullptr);
        int result = ap_crt_fstat(fd, status);
        ap_set_crt_seam(self);
        status->st_mode = 0;
        return result;
    };
    const std::pair<const apCrtSeam*, unsigned int> cases[] = {
        {&fail_read, nlsERROR_CATALOG_STAT},
        {&shrink, nlsERROR_CATALOG_STAT},
        {&no_memory, nlsERROR_MEMORY},
        {&not_regular, nlsERROR_CATALOG_STAT}};
    nlstest::TempDir dir;
    nlstest::write_file(dir / "a.mo", build_mo(kEntries));
    for (const auto& [seam, expected] : cases) {
        g_reads = 0;
        ap_set_crt_seam(seam);
        unsigned int code = 0;
        nlsLoadedDomain domain(utString((dir / "a.mo").c_str()), &code);
        ap_set_crt_seam(nullptr);
        EXPECT_EQ(code, expected);
        EXPECT_EQ(domain.failed, 1u);
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
        {"nplurals=2; plural=!(n-1);", {{1, 1}, {0, 0}, {2, 0}}},
        {"nplurals=3; plural=\tn - 2 > 5 ? 2 : !!n;", {{0, 2}, {1, 2}, {2, 1}, {8, 2}}},
        // Constants and n next to a branch's end are no operands of their own.
        {"nplurals=9; plural=(n==1 ? 5 : n) + 2;", {{1, 7}, {0, 2}, {3, 5}}},
        {"nplurals=6; plural=(n > 2 ? 7 : n) % 5;", {{0, 0}, {1, 1}, {3, 2}}},
        {"nplurals=4; plural=2 * (n && 1) + (n || 0);", {{0, 0}, {5, 3}}},
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
    std::vector<std::string> unparsed = {"n ! 1;",      "n = 1;",          "(n != 1;",
                                         "n != 1 ? 0;", "n & 1;",          "n != 1 garbage;",
                                         "\x01\xff;",   "99999999999 > n;"};
    unparsed.push_back(std::string(10000, '(') + "n" + std::string(10000, ')') + ";");
    unparsed.push_back(std::string(10000, '!') + "n;");
    unparsed.push_back("n");
    for (int i = 0; i < 200; ++i) // too long
        unparsed.back() += "+n";
    for (std::string& rule : unparsed)
        rule = "nplurals=2; plural=" + rule;
    unparsed.insert(unparsed.end(), {"", "Plural-Forms: nplurals=2;",
                                     "Plural-Forms: plural=n != 1;", "nplurals=x; plural=n != 1;"});
    for (const std::string& text : unparsed) {
        nlsPluralForms rule(header(text).c_str());
        EXPECT_FALSE(rule.parsed()) << text.substr(0, 60);
        EXPECT_EQ(rule.nplurals(), 2u);
        EXPECT_EQ(rule.index(1), 0u);
        EXPECT_EQ(rule.index(0), 1u);
        EXPECT_EQ(rule.index(7), 1u);
    }
    EXPECT_FALSE(nlsPluralForms(nullptr).parsed());

    // Parsed, but some calls have no answer: those get n != 1.
    nlsPluralForms by_zero(header("nplurals=3; plural=n % (n - 2) ? 2 : 0;").c_str());
    ASSERT_TRUE(by_zero.parsed());
    EXPECT_EQ(by_zero.index(2), 1u); // divides by zero
    EXPECT_EQ(by_zero.index(5), 2u);
    nlsPluralForms none(header("nplurals=0; plural=0;").c_str());
    EXPECT_EQ(none.index(1), 0u);
    EXPECT_EQ(none.index(2), 1u);
}

} // namespace

#include <nls/containers/utStringnlsDataBasecoTablePrgcoPrgcoTable.h>
#include <nls/containers/utStringnlsDataBasecoTablePtrcoPtrcoTable.h>
#include <nls/nlsDataBase.h>

#include "nlsManagerTestSupport.h"

#include <gtest/gtest.h>
#include <set>
#include <string>

namespace {

using PtrTable = utStringnlsDataBasecoTablePtrcoPtrcoTable;
using Holder = nlsDataBasecoTablePrgcoPrg;
using OwnEntry = utStringnlsDataBasecoTablePrgcoPrgcoTableP;
using OwnTable = utStringnlsDataBasecoTablePrgcoPrgcoTable;
using Keys = std::set<std::string>;

// Stand-ins for databases in the pointer table, which never dereferences them.
char g_dummies[100];
nlsDataBase* db(int i) {
    return reinterpret_cast<nlsDataBase*>(&g_dummies[i]);
}

utString key(int i) {
    return utString(("key" + std::to_string(i)).c_str());
}

template <class Set> Keys keys_of(Set& set) {
    Keys keys;
    basecoSetcoIterator it(&set);
    while (++it)
        keys.insert(static_cast<const typename Set::entry_type*>(it.item())->m_key.c_str());
    EXPECT_EQ(static_cast<int>(keys.size()), set.count());
    return keys;
}

// The base's size exponent, which users do not see.
struct PeekTable : PtrTable {
    using PtrTable::PtrTable;
    int exponent() const { return m_exponent; }
};

TEST(StringTable, GrowsAtTheLoadPercentageAndKeepsManyKeys) {
    // At 100% the slots double when the keys fill them; removals must close gaps in probe runs.
    PeekTable table(4, 100);
    int slots = 16;
    for (int i = 1; i <= 1000; ++i) {
        table[key(i)] = db(i % 100);
        if (i == slots) slots *= 2;
        EXPECT_EQ(1 << table.exponent(), slots) << i;
    }
    for (int i = 2; i <= 1000; i += 2)
        EXPECT_EQ(table.remove(key(i)), 1);
    for (int i = 1; i <= 1000; ++i)
        EXPECT_EQ(table.read(key(i)), i % 2 ? db(i % 100) : nullptr) << i;
}

// Real databases, quietly constructed in a known environment and named by their catalogue
// directory, which does not exist. Every database has exactly one owner at the end of each test:
// a table that deletes one too few leaves it registered, one too many fails AddressSanitizer.
class nlsDataBaseTable : public ::testing::Test {
protected:
    ~nlsDataBaseTable() override { nlsDataBase::error_handler(old_handler); }
    // Still registered: a table failed to delete it (the manager's list hides it from LSan).
    void TearDown() override {
        EXPECT_TRUE(!nlstest::Manager::the_databases ||
                    nlstest::Manager::the_databases->count() == 0);
    }
    static Holder make(const char* name) { return Holder(new nlsDataBase(name, "domain")); }
    // The name of the database held, or "" for an empty holder.
    static std::string held(const Holder& h) { return h.get() ? h->pathlist().c_str() : ""; }

    nlstest::ScopedEnv nlspath{"NLSPATH", nullptr};
    nlstest::ScopedEnv lc_all{"LC_ALL", "C"};
    nlsDataBase::handler_type old_handler = nlsDataBase::error_handler(nullptr);
};

TEST_F(nlsDataBaseTable, AccessByKeyOwnsTheDatabases) {
    // A repeated key keeps the first entry; the empty string is a key, unlike the null string.
    OwnTable table{{"a", make("a")}, {"", make("empty")}, {"a", make("again")}};
    EXPECT_EQ(held(table.read("")), "empty");
    EXPECT_EQ(held(table.add(OwnEntry("a", make("refused"))).m_value), "a");
    table["c"] = make("c");
    table["c"] = make("replaced");
    EXPECT_EQ(held(table.read("c")), "replaced");
    // What is written through the null key is never stored, and emptied at the next such call.
    table[utString()] = make("discarded");
    EXPECT_EQ(held(table[utString()]), "");
    EXPECT_EQ(table.count(), 3);

    EXPECT_EQ(table.remove("c"), 1);
    OwnEntry kept = table.remove(OwnEntry("a"));
    OwnEntry other(kept); // copying an entry hands its database over
    EXPECT_EQ(held(kept.m_value), "");
    EXPECT_EQ(held(other.m_value), "a");
}

TEST_F(nlsDataBaseTable, SetAlgebraDeletesWhatItRemovesAndMovesWhatItAdds) {
    struct Case {
        Keys a, b, intersection, sum, difference;
    } cases[] = {
        {{"x", "y"}, {"x", "z"}, {"x"}, {"x", "y", "z"}, {"y"}},
        {{"p", "q"}, {"x", "y"}, {}, {"p", "q", "x", "y"}, {"p", "q"}},
        {}, // a few hundred keys: removals shift entries back into slots already walked
    };
    Case& many = cases[2];
    for (int i = 0; i < 300; ++i) {
        const std::string k = key(i).c_str();
        many.a.insert(k);
        many.sum.insert(k);
        (i % 3 ? many.difference : many.intersection).insert(k);
        if (i % 3 == 0) many.b.insert(k);
    }
    for (int i = 300; i < 330; ++i) {
        many.b.insert(key(i).c_str());
        many.sum.insert(key(i).c_str());
    }
    for (const Case& c : cases) {
        OwnTable a(4, 50), b(4, 50), product(4, 50), sum(4, 50);
        for (const std::string& k : c.a)
            for (OwnTable* table : {&a, &product, &sum})
                (*table)[k.c_str()] = make(k.c_str());
        for (const std::string& k : c.b)
            b[k.c_str()] = make(k.c_str());
        EXPECT_EQ(keys_of(product *= b), c.intersection);
        EXPECT_EQ(keys_of(sum += b), c.sum);
        EXPECT_EQ(keys_of(a -= b), c.difference);
    }
}

TEST_F(nlsDataBaseTable, CopiesMoveTheDatabases) {
    // The source has grown past its first size; the target's own database is deleted.
    OwnTable source(3, 75), target{{"old", make("old")}};
    for (int i = 0; i < 20; ++i)
        source[key(i)] = make(key(i).c_str());
    target.become(utCopy{}, source);
    EXPECT_EQ(keys_of(source), keys_of(target));
    EXPECT_EQ(held(source.read("key7")), "");
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(held(target.read(key(i))), key(i).c_str());
}

} // namespace

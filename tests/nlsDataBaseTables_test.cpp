#include <nls/containers/utStringnlsDataBasecoTablePrgcoPrgcoTable.h>
#include <nls/containers/utStringnlsDataBasecoTablePtrcoPtrcoTable.h>
#include <nls/nlsDataBase.h>

#include "nlsManagerTestSupport.h"

#include <gtest/gtest.h>
#include <map>
#include <set>
#include <string>
#include <utility>

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

// The keys held, checked against the count and the hash sum.
template <class Set> Keys keys_of(Set& set) {
    Keys keys;
    unsigned int sum = 0;
    basecoSetcoIterator it(&set);
    while (++it) {
        const utString& k = static_cast<const typename Set::entry_type*>(it.item())->m_key;
        keys.insert(k.c_str());
        sum ^= co_hash(k);
    }
    EXPECT_EQ(static_cast<int>(keys.size()), set.count());
    EXPECT_EQ(sum, set.hash_sum());
    return keys;
}

// The base's size exponent, which users do not see.
struct PeekTable : PtrTable {
    using PtrTable::PtrTable;
    int exponent() const { return m_exponent; }
};

TEST(StringTable, GrowsAtTheLoadPercentageAndKeepsManyKeys) {
    // Out-of-range arguments are clamped; at a load of 1% the first entry grows the table until
    // 1 < 2^e / 100.
    struct Case {
        int exponent, load, start_exponent, grows_at, grown_exponent;
    } const cases[] = {
        {4, 50, 4, 8, 5}, {4, 100, 4, 16, 5}, {4, 500, 4, 16, 5},
        {4, 0, 4, 1, 7},  {-3, 50, 0, 1, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.exponent << "/" << c.load);
        PeekTable table(c.exponent, c.load);
        for (int i = 1; i < c.grows_at; ++i)
            table[key(i)] = db(i);
        EXPECT_EQ(table.exponent(), c.start_exponent);
        table[key(c.grows_at)] = db(0);
        EXPECT_EQ(table.exponent(), c.grown_exponent);
    }
    EXPECT_EQ(PeekTable(40, 50).exponent(), 30);

    // Many keys: seven rehashes, then removals that close gaps in the probe runs.
    PeekTable table(4, 50);
    for (int i = 0; i < 1000; ++i)
        table[key(i)] = db(i % 100);
    EXPECT_EQ(table.exponent(), 11);
    for (int i = 0; i < 1000; i += 2)
        EXPECT_EQ(table.remove(key(i)), 1);
    for (int i = 0; i < 1000; ++i)
        EXPECT_EQ(table.read(key(i)), i % 2 ? db(i % 100) : nullptr) << i;
    EXPECT_EQ(keys_of(table).size(), 500u);
}

// Real databases, quietly constructed in a known environment. Every database has exactly one
// owner at the end of each test: a table that deletes one too few leaves it registered, one too
// many fails AddressSanitizer.
class nlsDataBaseTable : public ::testing::Test {
protected:
    nlsDataBaseTable() { old_handler = nlsDataBase::error_handler(nullptr); }
    ~nlsDataBaseTable() override { nlsDataBase::error_handler(old_handler); }
    // The tables are gone by now: a database still registered is one they failed to delete
    // (the manager's list keeps it reachable, out of LeakSanitizer's sight).
    void TearDown() override {
        EXPECT_TRUE(!nlstest::Manager::the_databases ||
                    nlstest::Manager::the_databases->count() == 0);
    }
    // A new database, known by `name` to held().
    Holder make(const char* name) {
        nlsDataBase* database = new nlsDataBase(name);
        names[database] = name;
        return Holder(database);
    }
    // The name of the database held, or "" for an empty holder.
    std::string held(const Holder& holder) { return holder.get() ? names[holder.get()] : ""; }

    nlstest::ScopedEnv nlspath{"NLSPATH", nullptr};
    nlstest::ScopedEnv lc_all{"LC_ALL", "C"};
    nlsDataBase::handler_type old_handler;
    std::map<const nlsDataBase*, std::string> names;
};

TEST_F(nlsDataBaseTable, AccessByKeyOwnsTheDatabases) {
    // The empty string is a key, unlike the null string. A repeated key keeps the first entry.
    OwnTable table{{"a", make("a")}, {"", make("empty")}, {"a", make("again")}};
    EXPECT_EQ(held(table.read("a")), "a");
    EXPECT_EQ(held(table.read("")), "empty");
    EXPECT_EQ(held(table.add(OwnEntry("a", make("refused"))).m_value), "a");
    const OwnEntry& nil = table.find(OwnEntry("zz"));
    EXPECT_EQ(&table.add(OwnEntry("b", make("b"))), &nil);

    EXPECT_EQ(held(table.read("c")), "");
    EXPECT_EQ(table.count(), 3);
    Holder& slot = table["c"];
    EXPECT_EQ(held(slot), "");
    EXPECT_EQ(table.count(), 4);
    slot = make("c");
    table["c"] = make("replaced");
    EXPECT_EQ(held(table.read("c")), "replaced");

    // The null string marks empty slots: it is never stored, and nil stays empty. The last call
    // also empties the discarded value, which would otherwise outlive the test.
    table[utString()] = make("discarded");
    table[utString()] = make("discarded again");
    EXPECT_EQ(held(table[utString()]), "");
    EXPECT_EQ(&table.add(OwnEntry(utString(), make("null key"))), &nil);
    EXPECT_EQ(table.count(), 4);
    EXPECT_EQ(held(nil.m_value), "");

    EXPECT_EQ(table.remove("c"), 1);
    EXPECT_EQ(table.remove("c"), 0);
    OwnEntry kept = table.remove(OwnEntry("a"));
    EXPECT_EQ(held(kept.m_value), "a");
    EXPECT_NE(table.remove_any().m_value.get(), nullptr);
    EXPECT_EQ(table.count(), 1);

    // Entries and holders hand their database over, and keep it when given to themselves.
    const OwnEntry& same_entry = kept; // self-assignment, without the compiler's warning
    kept = same_entry;
    OwnEntry other(kept);
    EXPECT_EQ(held(kept.m_value), "");
    EXPECT_EQ(held(other.m_value), "a");
    other = OwnEntry("j", make("replaces"));
    Holder holder = std::move(other.m_value);
    Holder& same_holder = holder;
    holder = std::move(same_holder);
    EXPECT_EQ(held(holder), "replaces");
}

TEST_F(nlsDataBaseTable, SetAlgebraDeletesWhatItRemovesAndMovesWhatItAdds) {
    struct Case {
        Keys a, b, intersection, sum, difference;
        int a_in_b;
    } const cases[] = {
        {{}, {"x"}, {}, {"x"}, {}, 1},
        {{"x", "y"}, {"x"}, {"x"}, {"x", "y"}, {"y"}, 0},
        {{"x"}, {"x", "y"}, {"x"}, {"x", "y"}, {}, 1},
        {{"p", "q"}, {"x", "y"}, {}, {"p", "q", "x", "y"}, {"p", "q"}, 0},
    };
    for (const Case& c : cases) {
        OwnTable a(4, 50), b(4, 50), product(4, 50), sum(4, 50);
        for (const std::string& k : c.a)
            for (OwnTable* table : {&a, &product, &sum})
                (*table)[k.c_str()] = make(k.c_str());
        for (const std::string& k : c.b)
            b[k.c_str()] = make(k.c_str());
        EXPECT_EQ(a <= b, c.a_in_b);
        EXPECT_EQ(keys_of(product *= b), c.intersection);
        EXPECT_EQ(keys_of(sum += b), c.sum);
        EXPECT_EQ(keys_of(a -= b), c.difference);
        EXPECT_EQ(keys_of(b -= b), Keys());
    }
}

TEST_F(nlsDataBaseTable, CopiesMoveTheDatabases) {
    OwnTable source(3, 75), target(4, 50);
    for (int i = 0; i < 20; ++i)
        source[key(i)] = make(key(i).c_str());
    target["old"] = make("old");
    target.become(utCopy{}, target);
    EXPECT_EQ(held(target.read("old")), "old");
    target.become(utCopy{}, source);
    EXPECT_EQ(keys_of(source), keys_of(target));
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(held(source.read(key(i))), "");
        EXPECT_EQ(held(target.read(key(i))), key(i).c_str());
    }

    OwnTable copy(utCopy{}, target), sum{{"key0", make("sum's own")}};
    sum += copy;
    EXPECT_EQ(held(sum.read("key0")), "sum's own");
    EXPECT_EQ(held(copy.read("key0")), "key0");
    EXPECT_EQ(held(sum.read("key1")), "key1");
    EXPECT_EQ(held(copy.read("key1")), "");
}

} // namespace

#include <nls/containers/utStringnlsDataBasecoTablePrgcoPrgcoTable.h>
#include <nls/containers/utStringnlsDataBasecoTablePtrcoPtrcoTable.h>
#include <nls/nlsDataBase.h>

#include "nlsManagerTestSupport.h"

#include <gtest/gtest.h>
#include <set>
#include <string>
#include <utility>

namespace {

using PtrEntry = utStringnlsDataBasecoTablePtrcoPtrcoTableP;
using PtrTable = utStringnlsDataBasecoTablePtrcoPtrcoTable;
using Holder = nlsDataBasecoTablePrgcoPrg;
using OwnEntry = utStringnlsDataBasecoTablePrgcoPrgcoTableP;
using OwnTable = utStringnlsDataBasecoTablePrgcoPrgcoTable;
using Keys = std::set<std::string>;

// The base's state, which users do not see.
template <class Table> struct Peek : Table {
    using Table::Table;
    int exponent() const { return this->m_exponent; }
    bool has_slots() const { return this->m_slots != nullptr; }
};

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

template <class Table> void fill(Table& table, const Keys& keys) {
    for (const std::string& k : keys)
        table[k.c_str()];
}

// Real databases, quietly constructed in a known environment.
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
    static Holder make(const char* domain) { return Holder(new nlsDataBase(domain)); }

    nlstest::ScopedEnv nlspath{"NLSPATH", nullptr};
    nlstest::ScopedEnv lc_all{"LC_ALL", "C"};
    nlsDataBase::handler_type old_handler;
};

TEST(StringTable, GrowsAtTheLoadPercentage) {
    // Out-of-range arguments are clamped; at a load of 1% the first entry grows the table until
    // 1 < 2^e / 100.
    struct Case {
        int exponent, load;
        int start_exponent, grows_at, grown_exponent;
    } const cases[] = {
        {4, 50, 4, 8, 5},  {4, 100, 4, 16, 5}, {2, 75, 2, 3, 3}, {0, 100, 0, 1, 1},
        {-3, 50, 0, 1, 2}, {4, 500, 4, 16, 5}, {4, 0, 4, 1, 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.exponent << "/" << c.load);
        Peek<PtrTable> table(c.exponent, c.load);
        EXPECT_FALSE(table.has_slots());
        EXPECT_EQ(table.exponent(), c.start_exponent);
        for (int i = 0; i < c.grows_at - 1; ++i)
            table[key(i)] = db(i);
        EXPECT_EQ(table.exponent(), c.start_exponent);
        table[key(c.grows_at)] = db(0);
        EXPECT_EQ(table.exponent(), c.grown_exponent);
        EXPECT_TRUE(table.has_slots());
    }
    EXPECT_EQ(Peek<PtrTable>(40, 50).exponent(), 30);
}

TEST(StringTable, ManyKeysSurviveRehashAndRemoval) {
    Peek<PtrTable> table(4, 50);
    for (int i = 0; i < 1000; ++i)
        table[key(i)] = db(i % 100);
    EXPECT_EQ(table.exponent(), 11);
    for (int i = 0; i < 1000; i += 2)
        EXPECT_EQ(table.remove(key(i)), 1);
    for (int i = 0; i < 1000; ++i)
        EXPECT_EQ(table.read(key(i)), i % 2 ? db(i % 100) : nullptr) << i;
    EXPECT_EQ(keys_of(table).size(), 500u);
    for (int left = table.count(); left > 0; --left)
        ASSERT_NE(table.remove_any().m_value, nullptr) << left;
    EXPECT_EQ(table.count(), 0);
    EXPECT_EQ(table.hash_sum(), 0u);
    EXPECT_EQ(table.remove_any().m_key, utString());
}

TEST(StringTable, KeysAreComparedByteForByte) {
    const utString keys[] = {"Key", "key", "KEY", "", utString(utStringArray{}, "a\0b", 3), "a"};
    PtrTable table(4, 50);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(table.add(PtrEntry(keys[i], db(i))).m_key, utString());
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(table.read(keys[i]), db(i));
    EXPECT_EQ(table.count(), 6);
}

TEST(StringTable, AddFindReadAndIndexing) {
    PtrTable table{{"a", db(1)}, {"b", db(2)}, {"a", db(3)}};
    EXPECT_EQ(table.read("a"), db(1));

    const PtrEntry& held = table.add(PtrEntry("b", db(9)));
    EXPECT_EQ(&held, &table.find(PtrEntry("b")));
    EXPECT_EQ(held.m_value, db(2));

    const PtrEntry& nil = table.find(PtrEntry("zz"));
    EXPECT_EQ(&nil, &table.find(PtrEntry("yy")));
    EXPECT_EQ(nil.m_key, utString());
    EXPECT_EQ(nil.m_value, nullptr);

    EXPECT_EQ(table.read("c"), nullptr);
    EXPECT_EQ(table.count(), 2);
    nlsDataBase*& slot = table["c"];
    EXPECT_EQ(slot, nullptr);
    EXPECT_EQ(table.count(), 3);
    slot = db(4);
    EXPECT_EQ(table.read("c"), db(4));

    // The null string marks empty slots: it is never stored, and nil stays empty.
    table[utString()] = db(5);
    EXPECT_EQ(table[utString()], nullptr);
    EXPECT_EQ(table.add(PtrEntry(utString(), db(6))).m_value, nullptr);
    EXPECT_EQ(table.count(), 3);
    EXPECT_EQ(table.read(utString()), nullptr);
    EXPECT_EQ(table.find(PtrEntry("zz")).m_value, nullptr);

    EXPECT_EQ(table.remove("c"), 1);
    EXPECT_EQ(table.remove("c"), 0);
    EXPECT_EQ(table.remove(PtrEntry("a")).m_value, db(1));
}

TEST(StringTable, SetAlgebra) {
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
        PtrTable a(4, 50), b(4, 50);
        fill(a, c.a);
        fill(b, c.b);
        EXPECT_EQ(a <= b, c.a_in_b);
        PtrTable product(utCopy{}, a), sum(utCopy{}, a), difference(utCopy{}, a);
        EXPECT_EQ(keys_of(product *= b), c.intersection);
        EXPECT_EQ(keys_of(sum += b), c.sum);
        EXPECT_EQ(keys_of(difference -= b), c.difference);
        EXPECT_EQ(keys_of(a -= a), Keys());
    }
}

TEST(StringTable, SumKeepsOwnValuesAndTakesTheLargerSize) {
    Peek<PtrTable> a{{"x", db(1)}}, b(7, 50);
    b["x"] = db(2);
    b["y"] = db(3);
    a += b;
    EXPECT_EQ(a.exponent(), 7);
    EXPECT_EQ(a.read("x"), db(1));
    EXPECT_EQ(a.read("y"), db(3));
}

TEST(StringTable, BecomeCopiesSlotForSlot) {
    PtrTable source(3, 75), copy(4, 50);
    for (int i = 0; i < 30; ++i)
        source[key(i)] = db(i);
    copy["old"] = db(99);
    copy.become(utCopy{}, source).become(utCopy{}, copy);
    basecoSetcoIterator s(&source), c(&copy);
    while (++s) {
        ASSERT_TRUE(++c);
        EXPECT_EQ(static_cast<PtrEntry*>(s.item())->m_key, static_cast<PtrEntry*>(c.item())->m_key);
    }
    EXPECT_FALSE(++c);
    EXPECT_EQ(keys_of(copy), keys_of(source));
    EXPECT_EQ(copy.read(key(7)), db(7));
    EXPECT_EQ(source.read(key(7)), db(7));
}

// Every database below has exactly one owner at the end of each test: a table that deletes one
// too few leaves it registered, one too many fails AddressSanitizer.
TEST_F(nlsDataBaseTable, OwnsWhatItHoldsThroughGrowth) {
    OwnTable table(4, 50);
    for (int i = 0; i < 40; ++i)
        table[key(i)] = make("grown");
    table[key(3)] = make("replaced");
    EXPECT_EQ(table.add(OwnEntry(key(5), make("refused"))).m_key, key(5));
    EXPECT_EQ(table.add(OwnEntry("new", make("added"))).m_key, utString());
    EXPECT_EQ(table.remove(key(0)), 1);
    EXPECT_EQ(table.remove(key(0)), 0);
    OwnEntry kept = table.remove(OwnEntry(key(1)));
    EXPECT_NE(kept.m_value.get(), nullptr);
    EXPECT_NE(table.remove_any().m_value.get(), nullptr);
    EXPECT_EQ(table.read("absent").get(), nullptr);
    table[utString()] = make("discarded");
    table[utString()] = make("discarded again");
    table[utString()];
    EXPECT_EQ(table.count(), 38);
}

TEST_F(nlsDataBaseTable, SetOperationsDeleteWhatTheyRemove) {
    OwnTable a(4, 50), b(4, 50);
    for (int i = 0; i < 12; ++i)
        a[key(i)] = make("a");
    for (int i = 6; i < 9; ++i)
        b[key(i)] = make("b");
    a *= b;
    EXPECT_EQ(keys_of(a), Keys({"key6", "key7", "key8"}));
    a -= b;
    EXPECT_EQ(a.count(), 0);
}

TEST_F(nlsDataBaseTable, CopiesMoveTheDatabases) {
    OwnTable source(4, 50), target(4, 50);
    for (int i = 0; i < 10; ++i)
        source[key(i)] = make("source");
    target["old"] = make("target");
    target.become(utCopy{}, target);
    EXPECT_NE(target.read("old").get(), nullptr);

    target.become(utCopy{}, source);
    EXPECT_EQ(keys_of(source), keys_of(target));
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(source.read(key(i)).get(), nullptr);
        EXPECT_NE(target.read(key(i)).get(), nullptr);
    }

    OwnTable copy(utCopy{}, target), sum{{"key0", make("sum's own")}};
    sum += copy;
    EXPECT_NE(copy.read("key0").get(), nullptr);
    EXPECT_EQ(copy.read("key1").get(), nullptr);
    EXPECT_NE(sum.read("key1").get(), nullptr);
    EXPECT_EQ(sum.count(), 10);
}

TEST_F(nlsDataBaseTable, EntriesAndHoldersHandOver) {
    Holder holder = make("held");
    OwnEntry entry("k", holder);
    EXPECT_EQ(holder.get(), nullptr);
    const OwnEntry& same_entry = entry; // self-assignment, without the compiler's warning
    entry = same_entry;
    EXPECT_NE(entry.m_value.get(), nullptr);
    OwnEntry other(entry);
    EXPECT_EQ(entry.m_value.get(), nullptr);
    EXPECT_EQ(entry.m_key, utString("k"));
    other = OwnEntry("j", make("replaces"));
    holder = std::move(other.m_value);
    Holder& same_holder = holder;
    holder = std::move(same_holder);
    EXPECT_NE(holder.get(), nullptr);
}

} // namespace

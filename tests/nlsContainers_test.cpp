#include <nls/containers/nlsDataBasecoDListPtrcoPtrcoDList.h>
#include <nls/containers/utStringnlsDataBasecoTablePrgcoPrgcoTable.h>
#include <nls/containers/utStringnlsDataBasecoTablePtrcoPtrcoTable.h>
#include <nls/nlsDataBase.h>

#include "nlsManagerTestSupport.h"

#include <gtest/gtest.h>
#include <set>
#include <string>

namespace {

using List = nlsDataBasecoDListPtrcoPtrcoDList;
using Body = nlsDataBasecoDListPtrcoPtrcoDListB;
using Iterator = nlsDataBasecoDListPtrcoPtrcoDListBcoIterator;
using Cursor = nlsDataBasecoDListPtrcoPtrcoDListBcoCursor;

// Stand-ins for databases: pointers to their own names, digits, which only the test reads.
char g_names[] = "0123456789";
nlsDataBase* db(char name) {
    return reinterpret_cast<nlsDataBase*>(&g_names[name - '0']);
}

// The elements' names front to back, after checking the ring both ways: indices count up
// forwards and down backwards (the backward walk wraps from the off-list position to the last
// element), and both walks see the same elements, count() of them.
std::string contents(const Body& body) {
    std::string forward, backward;
    Iterator it(&body);
    while (++it) {
        EXPECT_EQ(it.index(), static_cast<int>(forward.size()));
        forward += *reinterpret_cast<const char*>(it.value());
    }
    while (--it) {
        EXPECT_EQ(it.index(), body.count() - 1 - static_cast<int>(backward.size()));
        backward.insert(backward.begin(), *reinterpret_cast<const char*>(it.value()));
    }
    EXPECT_EQ(forward, backward);
    EXPECT_EQ(static_cast<int>(forward.size()), body.count());
    return forward;
}

// Moves that stop off the list instead of wrapping (n < 0: backwards), checked with set_index.
TEST(nlsDataBaseList, MultiStepMovesStopOffTheList) {
    struct Case {
        int start, n, result, end;
    } const cases[] = {
        {-1, 3, 1, 2}, {1, 5, 0, -1}, {1, 0, 1, 1}, {-1, -3, 1, 0}, {1, -2, 0, -1},
    };
    List list{db('0'), db('1'), db('2')};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
        Iterator it(&list), at(&list);
        it += c.start + 1;
        EXPECT_EQ(c.n >= 0 ? (it += c.n) : (it -= -c.n), c.result);
        EXPECT_EQ(it.index(), c.end);
        EXPECT_EQ(it.value(), c.end < 0 ? nullptr : db(static_cast<char>('0' + c.end)));
        // From the last element, set_index moves back (or off the list) to the same link.
        at.set_index(2);
        at.set_index(c.end);
        EXPECT_EQ(it == at, 1);
    }
}

TEST(nlsDataBaseList, CursorInsertsAndRemovesAndStaysValid) {
    // Each row does one of `insert` (of element 9) or `remove` with the list's cursor at index
    // `at`, turning `list` into `expected` with the cursor at index `end`.
    struct Case {
        const char *list, *expected;
        int at, end;
        int (Cursor::*insert)(nlsDataBase* const&);
        void (Cursor::*remove)();
    } const cases[] = {
        {"012", "9012", 1, 2, &Cursor::insert_first, nullptr},
        {"012", "9012", -1, -1, &Cursor::insert_after, nullptr},
        {"012", "0129", -1, -1, &Cursor::insert_before, nullptr},
        {"012", "9012", 0, 1, &Cursor::insert_before, nullptr},
        {"", "9", -1, -1, &Cursor::insert_before, nullptr},
        {"012", "01", 2, -1, nullptr, &Cursor::remove},
        {"012", "012", -1, -1, nullptr, &Cursor::remove},
        {"012", "12", 0, -1, nullptr, &Cursor::remove_backwards},
        {"012", "01", 2, 1, nullptr, &Cursor::remove_backwards},
        {"012", "12", 0, 0, nullptr, &Cursor::remove_first},
        {"012", "12", 2, 1, nullptr, &Cursor::remove_first},
        {"012", "01", 0, 0, nullptr, &Cursor::remove_last},
        {"0", "", 0, -1, nullptr, &Cursor::remove_last},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
        List list;
        for (const char* names = c.list; *names; ++names)
            list.insert_last(db(*names));
        list.set_index(c.at);
        if (c.insert)
            (list.*c.insert)(db('9'));
        else
            (list.*c.remove)();
        EXPECT_EQ(contents(list), c.expected);
        EXPECT_EQ(list.index(), c.end);
        // value() reads the cursor's link: one left on a freed link shows under ASan.
        EXPECT_EQ(list.value(), c.end < 0 ? nullptr : db(c.expected[c.end]));
    }
}

// A copy has links of its own; a copy, become and clear leave the cursor off the list.
TEST(nlsDataBaseList, CopiesHoldTheSamePointersIndependently) {
    List list{db('0'), db('1'), db('2')};
    list.set_index(1);
    List copy(utCopy{}, list);
    ++copy;
    copy.remove();
    EXPECT_EQ(contents(copy), "12");
    EXPECT_EQ(contents(list), "012");
    list.become(utCopy{}, copy);
    EXPECT_EQ(list.index(), -1);
    EXPECT_EQ(contents(list), "12");
    list.set_index(0);
    list.clear();
    EXPECT_EQ(list.index(), -1);
    EXPECT_EQ(contents(list), "");
}

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

TEST(StringTable, GrowsAndKeepsManyKeys) {
    // Filled to 100% before it grows; removals must close gaps in probe runs.
    PtrTable table(4, 100);
    for (int i = 1; i <= 1000; ++i)
        table[key(i)] = db(i % 100);
    EXPECT_EQ(table.count(), 1000);
    for (int i = 2; i <= 1000; i += 2)
        EXPECT_EQ(table.remove(key(i)), 1);
    for (int i = 1; i <= 1000; ++i)
        EXPECT_EQ(table.read(key(i)), i % 2 ? db(i % 100) : nullptr) << i;
}

// Real databases, quietly constructed in a known environment and named by their catalogue
// directory, which does not exist. Every database has exactly one owner at the end of each test:
// a table that deletes one too few leaves it registered (the fixture's check at the end), one too
// many fails AddressSanitizer.
class nlsDataBaseTable : public nlstest::StateSavingTest {
protected:
    static Holder make(const char* name) { return Holder(new nlsDataBase(name, "domain")); }
    // The name of the database held, or "" for an empty holder.
    static std::string held(const Holder& h) { return h.get() ? h->pathlist().c_str() : ""; }

    nlstest::ScopedEnv nlspath{"NLSPATH", nullptr};
    nlstest::ScopedEnv lc_all{"LC_ALL", "C"};
    nlstest::Reports reports;
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

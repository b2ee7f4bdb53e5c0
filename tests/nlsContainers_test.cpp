#include <nls/containers/nlsDataBasecoDListPtrcoPtrcoDList.h>
#include <nls/containers/utStringnlsDataBasecoTablePrgcoPrgcoTable.h>
#include <nls/containers/utStringnlsDataBasecoTablePtrcoPtrcoTable.h>

#include "nlsTestSupport.h"

#include <set>

namespace {

using List = nlsDataBasecoDListPtrcoPtrcoDList;
using Cursor = nlsDataBasecoDListPtrcoPtrcoDListBcoCursor;

// Stand-ins for databases, which the containers never dereference; the first ten are digits.
char g_names[100] = "0123456789";
nlsDataBase* db(int i) {
    return reinterpret_cast<nlsDataBase*>(&g_names[i]);
}

// The elements front to back; the backward walk (wrapping from off the list) sees the same.
std::string contents(const List& list) {
    std::string forward, backward;
    nlsDataBasecoDListPtrcoPtrcoDListBcoIterator it(&list);
    while (++it)
        forward += *reinterpret_cast<const char*>(it.value());
    while (--it)
        backward.insert(backward.begin(), *reinterpret_cast<const char*>(it.value()));
    EXPECT_EQ(forward, backward);
    return forward;
}

TEST(nlsDataBaseList, EditsAtTheCursorLeaveItValid) {
    // One `insert` (of 9) or `remove` with the cursor at `at` gives `expected`, cursor at `end`.
    const struct {
        const char *name, *expected;
        int at, end;
        int (Cursor::*insert)(nlsDataBase* const&);
        void (Cursor::*remove)();
    } cases[] = {
        {"insert_first", "9012", 1, 2, &Cursor::insert_first, nullptr},
        {"insert_after off the list", "9012", -1, -1, &Cursor::insert_after, nullptr},
        {"insert_before off the list", "0129", -1, -1, &Cursor::insert_before, nullptr},
        {"insert_before the first", "9012", 0, 1, &Cursor::insert_before, nullptr},
        {"remove the last", "01", 2, -1, nullptr, &Cursor::remove},
        {"remove_backwards the first", "12", 0, -1, nullptr, &Cursor::remove_backwards},
        {"remove_first", "12", 2, 1, nullptr, &Cursor::remove_first},
        {"remove_last", "01", 0, 0, nullptr, &Cursor::remove_last},
    };
    for (const auto& c : cases) {
        List list{db(0), db(1), db(2)};
        list.set_index(c.at);
        c.insert ? (void)(list.*c.insert)(db(9)) : (list.*c.remove)();
        EXPECT_EQ(contents(list), c.expected) << c.name;
        // value() reads the cursor's link: one left on a freed link shows under ASan.
        EXPECT_EQ(list.value(), c.end < 0 ? nullptr : db(c.expected[c.end] - '0')) << c.name;
    }
}

using OwnTable = utStringnlsDataBasecoTablePrgcoPrgcoTable;
using Keys = std::set<std::string>;

utString key(int i) {
    return utString(("key" + std::to_string(i)).c_str());
}

template <class Set> Keys keys_of(Set& set) {
    Keys keys;
    for (basecoSetcoIterator it(&set); ++it;)
        keys.insert(static_cast<const typename Set::entry_type*>(it.item())->m_key.c_str());
    return keys;
}

TEST(StringTable, RemovalsKeepTheOtherKeysFindable) {
    // Filled to 100% before it grows; removals must close gaps in probe runs.
    utStringnlsDataBasecoTablePtrcoPtrcoTable table(4, 100);
    for (int i = 1; i <= 1000; ++i)
        table[key(i)] = db(i % 100);
    for (int i = 2; i <= 1000; i += 2)
        EXPECT_EQ(table.remove(key(i)), 1);
    for (int i = 1; i <= 1000; ++i)
        EXPECT_EQ(table.read(key(i)), i % 2 ? db(i % 100) : nullptr) << i;
}

// Owned databases: one too few deleted stays registered (the fixture checks), one too many: ASan.
class nlsDataBaseTable : public nlstest::StateSavingTest {
protected:
    static nlsDataBasecoTablePrgcoPrg make(const std::string& name) {
        return nlsDataBasecoTablePrgcoPrg(new nlsDataBase(name.c_str(), "domain"));
    }
    static std::string held(const nlsDataBasecoTablePrgcoPrg& h) {
        return h.get() ? h->pathlist().c_str() : "";
    }
    std::deque<nlstest::ScopedEnv> environment = nlstest::scoped_env("NLSPATH LC_ALL=C");
    nlstest::Reports reports;
};

// Removals shift entries back into walked slots; a replaced value is deleted; a copy moves them.
TEST_F(nlsDataBaseTable, SetAlgebraOwnsTheDatabases) {
    OwnTable a(4, 50), b(4, 50), product(4, 50), sum(4, 50);
    Keys intersection, all, difference;
    for (int i = 0; i < 330; ++i) {
        const std::string k = key(i).c_str();
        all.insert(k);
        if (i % 3 == 0 || i >= 300) b[k.c_str()] = make(k);
        if (i >= 300) continue;
        (i % 3 ? difference : intersection).insert(k);
        for (OwnTable* table : {&a, &product, &sum})
            (*table)[k.c_str()] = make(k);
    }
    b["key0"] = make("replaced");
    EXPECT_EQ(keys_of(product *= b), intersection);
    EXPECT_EQ(keys_of(sum += b), all);
    EXPECT_EQ(keys_of(a -= b), difference);
    OwnTable copy{{"old", make("old")}};
    copy.become(utCopy{}, b);
    EXPECT_EQ(keys_of(copy), keys_of(b));
    EXPECT_EQ(held(b.read("key3")), "");
    EXPECT_EQ(held(copy.read("key3")), "key3");
    EXPECT_EQ(held(copy.read("key0")), "replaced");
}

} // namespace

#include <nls/containers/nlsDataBasecoDListPtrcoPtrcoDList.h>

#include <gtest/gtest.h>
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

} // namespace

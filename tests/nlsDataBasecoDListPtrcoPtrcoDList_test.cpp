#include <nls/containers/nlsDataBasecoDListPtrcoPtrcoDList.h>

#include <climits>
#include <gtest/gtest.h>
#include <string>

namespace {

using List = nlsDataBasecoDListPtrcoPtrcoDList;
using Body = nlsDataBasecoDListPtrcoPtrcoDListB;
using Iterator = nlsDataBasecoDListPtrcoPtrcoDListBcoIterator;
using IteratorB = nlsDataBasecoDListPtrcoPtrcoDListBcoIteratorB;
using Cursor = nlsDataBasecoDListPtrcoPtrcoDListBcoCursor;

// Stand-ins for databases, named by digits: the list never dereferences its elements.
char g_dummies[10];
nlsDataBase* db(char name) {
    return reinterpret_cast<nlsDataBase*>(&g_dummies[name - '0']);
}

char name(const nlsDataBase* element) {
    return static_cast<char>('0' + (reinterpret_cast<const char*>(element) - g_dummies));
}

void fill(Body& body, const char* names) {
    for (; *names; ++names)
        body.insert_last(db(*names));
}

// The elements' names front to back, after checking the ring both ways: indices count up
// forwards and down backwards, both walks see the same elements, count() of them, and a step
// past the off-list position wraps around to the first element again.
std::string contents(const Body& body) {
    std::string forward, backward;
    Iterator it(&body);
    while (++it) {
        EXPECT_EQ(it.index(), static_cast<int>(forward.size()));
        forward += name(it.value());
    }
    while (--it) {
        EXPECT_EQ(it.index(), body.count() - 1 - static_cast<int>(backward.size()));
        backward.insert(backward.begin(), name(it.value()));
    }
    EXPECT_EQ(forward, backward);
    EXPECT_EQ(static_cast<int>(forward.size()), body.count());
    EXPECT_EQ(++it, forward.empty() ? 0 : 1);
    EXPECT_EQ(it.index(), forward.empty() ? -1 : 0);
    return forward;
}

// Moves that stop off the list instead of wrapping, and comparisons of where they end: by link,
// with every off-list position equal, whatever its body.
TEST(nlsDataBaseList, MultiStepMovesStopOffTheList) {
    struct Case {
        int start;
        char op; // '+' is +=, '-' is -=, '=' is set_index (which returns nothing)
        int n, result, end;
    } const cases[] = {
        {1, '+', 0, 1, 1},   {1, '-', -5, 1, 1},        {-1, '+', 3, 1, 2},
        {1, '+', 5, 0, -1},  {-1, '-', 3, 1, 0},        {1, '-', 2, 0, -1},
        {1, '=', 0, 0, 0},   {-1, '=', 2, 0, 2},        {1, '=', 3, 0, -1},
        {1, '=', -1, 0, -1}, {-1, '=', INT_MAX, 0, -1}, {2, '=', INT_MIN, 0, -1},
    };
    List list{db('0'), db('1'), db('2')};
    Body empty;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "from " << c.start << " " << c.op << c.n);
        Iterator it(&list), at(&list);
        IteratorB b(&list);
        it += c.start + 1;
        b += c.start + 1;
        if (c.op == '=') {
            it.set_index(c.n); // the iterator without index has no set_index
        } else {
            EXPECT_EQ(c.op == '+' ? (it += c.n) : (it -= c.n), c.result);
            EXPECT_EQ(c.op == '+' ? (b += c.n) : (b -= c.n), c.result);
            EXPECT_EQ(b.value(), it.value());
            EXPECT_EQ(b == IteratorB(&empty), c.end < 0 ? 1 : 0);
        }
        EXPECT_EQ(it.index(), c.end);
        EXPECT_EQ(it.value(), c.end < 0 ? nullptr : db(static_cast<char>('0' + c.end)));
        at += c.end + 1;
        EXPECT_EQ(it == at, 1);
        EXPECT_EQ(it != Iterator(&empty), c.end < 0 ? 0 : 1);
    }
}

TEST(nlsDataBaseList, CursorInsertsAndRemovesAndStaysValid) {
    // Each row does one of `insert` (of element 9) or `remove` with the cursor at index `at`,
    // turning `list` into `expected` with the cursor at index `end`.
    struct Case {
        const char *list, *expected;
        int at, end;
        int (Cursor::*insert)(nlsDataBase* const&);
        void (Cursor::*remove)();
    } const cases[] = {
        {"012", "9012", 1, 2, &Cursor::insert_first, nullptr},
        {"012", "9012", -1, -1, &Cursor::insert_after, nullptr},
        {"012", "0129", 2, 2, &Cursor::insert_after, nullptr},
        {"012", "0129", -1, -1, &Cursor::insert_before, nullptr},
        {"012", "9012", 0, 1, &Cursor::insert_before, nullptr},
        {"", "9", -1, -1, &Cursor::insert_before, nullptr},
        {"012", "01", 2, -1, nullptr, &Cursor::remove},
        {"012", "012", -1, -1, nullptr, &Cursor::remove},
        {"012", "12", 0, -1, nullptr, &Cursor::remove_backwards},
        {"012", "01", 2, 1, nullptr, &Cursor::remove_backwards},
        {"012", "12", 0, 0, nullptr, &Cursor::remove_first},
        {"012", "12", 2, 1, nullptr, &Cursor::remove_first},
        {"012", "12", -1, -1, nullptr, &Cursor::remove_first},
        {"012", "01", 0, 0, nullptr, &Cursor::remove_last},
        {"0", "", 0, -1, nullptr, &Cursor::remove_last},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
        Body body;
        fill(body, c.list);
        Cursor cursor(&body);
        cursor.set_index(c.at);
        if (c.insert)
            EXPECT_EQ((cursor.*c.insert)(db('9')), 1);
        else
            (cursor.*c.remove)();
        EXPECT_EQ(contents(body), c.expected);
        EXPECT_EQ(cursor.index(), c.end);
        EXPECT_EQ(cursor.value(), c.end < 0 ? nullptr : db(c.expected[c.end]));
        // The position must still be a link of the ring (use after free shows under ASan).
        ++cursor;
    }
}

TEST(nlsDataBaseList, ListMovesItsOwnCursorWithItsChanges) {
    List list{db('0'), db('1'), db('2')};
    list.set_index(2);
    EXPECT_EQ(list.insert_first(db('9')), 1);
    EXPECT_EQ(list.index(), 3);
    list.remove_first();
    EXPECT_EQ(list.value(), db('2'));
    EXPECT_EQ(list.index(), 2);
    list.remove_last();
    EXPECT_EQ(list.index(), -1);
    // From reset() and one step, removing every element from the front keeps the cursor on
    // index 0 until none is left.
    list.set_index(1);
    list.reset();
    ++list;
    for (const char* rest : {"1", ""}) {
        EXPECT_EQ(list.index(), 0);
        list.remove();
        EXPECT_EQ(contents(list), rest);
    }
    EXPECT_EQ(list.index(), -1);
}

TEST(nlsDataBaseList, CopiesHoldTheSamePointersIndependently) {
    List source{db('0'), db('1'), db('2')};
    source.set_index(1);
    List copy(utCopy{}, source);
    EXPECT_EQ(copy.index(), -1);
    ++copy;
    copy.remove();
    EXPECT_EQ(contents(copy), "12");
    EXPECT_EQ(contents(source), "012");
    EXPECT_EQ(source.value(), db('1'));
    // A list's become and clear put its cursor off the list, even from itself.
    source.become(utCopy{}, source);
    EXPECT_EQ(source.index(), -1);
    EXPECT_EQ(contents(source), "012");
    source.set_index(2);
    source.become(utCopy{}, copy);
    EXPECT_EQ(source.index(), -1);
    EXPECT_EQ(contents(source), "12");
    source.set_index(0);
    source.clear();
    EXPECT_EQ(source.index(), -1);
    EXPECT_EQ(contents(source), "");
}

} // namespace

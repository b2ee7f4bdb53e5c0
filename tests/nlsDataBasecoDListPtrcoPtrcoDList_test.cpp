#include <nls/containers/nlsDataBasecoDListPtrcoPtrcoDList.h>

#include <algorithm>
#include <climits>
#include <gtest/gtest.h>
#include <vector>

namespace {

using List = nlsDataBasecoDListPtrcoPtrcoDList;
using Body = nlsDataBasecoDListPtrcoPtrcoDListB;
using Iterator = nlsDataBasecoDListPtrcoPtrcoDListBcoIterator;
using IteratorB = nlsDataBasecoDListPtrcoPtrcoDListBcoIteratorB;
using Cursor = nlsDataBasecoDListPtrcoPtrcoDListBcoCursor;
using Elements = std::vector<nlsDataBase*>;

// Stand-ins for databases: the list never dereferences its elements.
struct Dummy {
    char byte;
} g_dummies[10];
nlsDataBase* db(int i) {
    return reinterpret_cast<nlsDataBase*>(&g_dummies[i]);
}

Elements dbs(std::initializer_list<int> ids) {
    Elements out;
    for (int id : ids)
        out.push_back(db(id));
    return out;
}

// The elements front to back, after checking the ring both ways: indices count up forwards and
// down backwards, and both walks see the same elements, count() of them.
Elements contents(const Body& body) {
    Elements forward, backward;
    Iterator it(&body);
    while (++it) {
        EXPECT_EQ(it.index(), static_cast<int>(forward.size()));
        forward.push_back(it.value());
    }
    EXPECT_EQ(it.index(), -1);
    while (--it) {
        EXPECT_EQ(it.index(), body.count() - 1 - static_cast<int>(backward.size()));
        backward.push_back(it.value());
    }
    std::reverse(backward.begin(), backward.end());
    EXPECT_EQ(forward, backward);
    EXPECT_EQ(static_cast<int>(forward.size()), body.count());
    return forward;
}

TEST(nlsDataBaseList, EmptyListStaysOffTheList) {
    List list;
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(++list, 0);
    EXPECT_EQ(--list, 0);
    EXPECT_EQ(list += 1, 0);
    EXPECT_EQ(list -= 1, 0);
    EXPECT_EQ(list.index(), -1);
    EXPECT_EQ(list.value(), nullptr);
    IteratorB b(&list);
    EXPECT_EQ(++b, 0);
    EXPECT_EQ(--b, 0);
    EXPECT_EQ(b.value(), nullptr);
    // Outside the contract, but harmless.
    list.remove();
    list.remove_backwards();
    list.remove_first();
    list.remove_last();
    list.Body::remove_first();
    list.Body::remove_last();
    list.clear();
    EXPECT_TRUE(contents(list).empty());
}

TEST(nlsDataBaseList, StepsWrapAroundThroughTheOffListPosition) {
    List list{db(0), db(1), db(2)};
    EXPECT_EQ(contents(list), dbs({0, 1, 2}));
    list.reset();
    for (int expected : {0, 1, 2}) {
        EXPECT_EQ(++list, 1);
        EXPECT_EQ(list.index(), expected);
        EXPECT_EQ(list.value(), db(expected));
    }
    EXPECT_EQ(++list, 0);
    EXPECT_EQ(list.index(), -1);
    EXPECT_EQ(++list, 1);
    EXPECT_EQ(list.index(), 0);

    list.reset();
    for (int expected : {2, 1, 0}) {
        EXPECT_EQ(--list, 1);
        EXPECT_EQ(list.index(), expected);
    }
    EXPECT_EQ(--list, 0);
    EXPECT_EQ(list.index(), -1);
    EXPECT_EQ(--list, 1);
    EXPECT_EQ(list.index(), 2);
}

TEST(nlsDataBaseList, MultiStepMovesStopOffTheList) {
    enum Op { Forward, Back, SetIndex };
    struct Case {
        int start;
        Op op;
        int n;
        int result; // not checked for SetIndex
        int end;
    } cases[] = {
        {-1, Forward, 0, 1, -1},
        {1, Forward, 0, 1, 1},
        {1, Back, -5, 1, 1},
        {-1, Forward, 1, 1, 0},
        {-1, Forward, 3, 1, 2},
        {-1, Forward, 4, 0, -1},
        {1, Forward, 1, 1, 2},
        {1, Forward, 5, 0, -1},
        {2, Forward, 1, 0, -1},
        {-1, Forward, INT_MAX, 0, -1},
        {-1, Back, 1, 1, 2},
        {-1, Back, 3, 1, 0},
        {1, Back, 1, 1, 0},
        {1, Back, 2, 0, -1},
        {2, Back, INT_MAX, 0, -1},
        {1, SetIndex, 0, 0, 0},
        {-1, SetIndex, 2, 0, 2},
        {0, SetIndex, 2, 0, 2},
        {1, SetIndex, 3, 0, -1},
        {1, SetIndex, -1, 0, -1},
        {-1, SetIndex, -1, 0, -1},
        {2, SetIndex, INT_MIN, 0, -1},
        {0, SetIndex, INT_MAX, 0, -1},
    };
    List list{db(0), db(1), db(2)};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "start " << c.start << " op " << c.op << " n " << c.n);
        nlsDataBase* expected = c.end < 0 ? nullptr : db(c.end);
        Iterator it(&list);
        it += c.start + 1;
        IteratorB b(&list);
        b += c.start + 1;
        switch (c.op) {
        case Forward:
            EXPECT_EQ(it += c.n, c.result);
            EXPECT_EQ(b += c.n, c.result);
            break;
        case Back:
            EXPECT_EQ(it -= c.n, c.result);
            EXPECT_EQ(b -= c.n, c.result);
            break;
        case SetIndex: // the iterator without index has no set_index
            it.set_index(c.n);
            break;
        }
        EXPECT_EQ(it.index(), c.end);
        EXPECT_EQ(it.value(), expected);
        if (c.op != SetIndex) {
            EXPECT_EQ(b.value(), expected);
        }
    }
}

TEST(nlsDataBaseList, IteratorsCompareByLinkAndAllOffListPositionsAreEqual) {
    List one{db(0), db(1)};
    Body other;
    Iterator a(&one), b(&other);
    IteratorB ab(&one), bb(&other);
    EXPECT_EQ(a == b, 1);
    EXPECT_EQ(a != b, 0);
    EXPECT_EQ(ab == bb, 1);
    ++a;
    ++ab;
    EXPECT_EQ(a == b, 0);
    EXPECT_EQ(a != b, 1);
    EXPECT_EQ(ab == bb, 0);
    Iterator c(&one);
    IteratorB cb(&one);
    c.set_index(1);
    cb += 2;
    EXPECT_EQ(a == c, 0);
    EXPECT_EQ(ab == cb, 0);
    ++a;
    ++ab;
    EXPECT_EQ(a == c, 1);
    EXPECT_EQ(ab == cb, 1);
}

// Every cursor operation is checked on a cursor over a plain body and on a list's own cursor.
template <class Check> void on_both_cursors(const Elements& start, Check check) {
    Body body;
    for (nlsDataBase* element : start)
        body.insert_last(element);
    Cursor cursor(&body);
    check(cursor, body);
    List list;
    for (nlsDataBase* element : start)
        list.insert_last(element);
    check(list, list);
}

TEST(nlsDataBaseList, CursorInsertsRelativeToItsElementAndStaysOnIt) {
    struct Case {
        int start;
        int (Cursor::*op)(nlsDataBase* const&);
        Elements expected;
        int end;
    } cases[] = {
        {-1, &Cursor::insert_first, dbs({9, 0, 1, 2}), -1},
        {1, &Cursor::insert_first, dbs({9, 0, 1, 2}), 2},
        {-1, &Cursor::insert_after, dbs({9, 0, 1, 2}), -1},
        {1, &Cursor::insert_after, dbs({0, 1, 9, 2}), 1},
        {2, &Cursor::insert_after, dbs({0, 1, 2, 9}), 2},
        {-1, &Cursor::insert_before, dbs({0, 1, 2, 9}), -1},
        {0, &Cursor::insert_before, dbs({9, 0, 1, 2}), 1},
        {1, &Cursor::insert_before, dbs({0, 9, 1, 2}), 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
        on_both_cursors(dbs({0, 1, 2}), [&](Cursor& cursor, const Body& body) {
            cursor.set_index(c.start);
            nlsDataBase* before = cursor.value();
            EXPECT_EQ((cursor.*c.op)(db(9)), 1);
            EXPECT_EQ(contents(body), c.expected);
            EXPECT_EQ(cursor.index(), c.end);
            EXPECT_EQ(cursor.value(), before);
        });
    }
}

TEST(nlsDataBaseList, CursorRemovalsKeepTheCursorValid) {
    struct Case {
        Elements start;
        int at;
        void (Cursor::*op)();
        Elements expected;
        int end;
    } cases[] = {
        {dbs({0, 1, 2}), 0, &Cursor::remove, dbs({1, 2}), 0},
        {dbs({0, 1, 2}), 1, &Cursor::remove, dbs({0, 2}), 1},
        {dbs({0, 1, 2}), 2, &Cursor::remove, dbs({0, 1}), -1},
        {dbs({0, 1, 2}), -1, &Cursor::remove, dbs({0, 1, 2}), -1},
        {dbs({0, 1, 2}), 0, &Cursor::remove_backwards, dbs({1, 2}), -1},
        {dbs({0, 1, 2}), 2, &Cursor::remove_backwards, dbs({0, 1}), 1},
        {dbs({0, 1, 2}), -1, &Cursor::remove_backwards, dbs({0, 1, 2}), -1},
        {dbs({0, 1, 2}), 0, &Cursor::remove_first, dbs({1, 2}), 0},
        {dbs({0, 1, 2}), 2, &Cursor::remove_first, dbs({1, 2}), 1},
        {dbs({0, 1, 2}), -1, &Cursor::remove_first, dbs({1, 2}), -1},
        {dbs({0, 1, 2}), 2, &Cursor::remove_last, dbs({0, 1}), -1},
        {dbs({0, 1, 2}), 0, &Cursor::remove_last, dbs({0, 1}), 0},
        {dbs({0, 1, 2}), -1, &Cursor::remove_last, dbs({0, 1}), -1},
        {dbs({0}), 0, &Cursor::remove, {}, -1},
        {dbs({0}), 0, &Cursor::remove_backwards, {}, -1},
        {dbs({0}), 0, &Cursor::remove_first, {}, -1},
        {dbs({0}), 0, &Cursor::remove_last, {}, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
        Body body;
        for (nlsDataBase* element : c.start)
            body.insert_last(element);
        Cursor cursor(&body);
        cursor.set_index(c.at);
        (cursor.*c.op)();
        EXPECT_EQ(contents(body), c.expected);
        EXPECT_EQ(cursor.index(), c.end);
        EXPECT_EQ(cursor.value(), c.end < 0 ? nullptr : c.expected[c.end]);
        // The position must still be a link of the ring (use after free shows under ASan).
        ++cursor;
    }
}

TEST(nlsDataBaseList, RemovingEveryElementFromTheFrontEmptiesTheList) {
    List list{db(0), db(1), db(2), db(3)};
    list.reset();
    ++list;
    for (int left = 4; left > 0; --left) {
        EXPECT_EQ(list.index(), 0);
        EXPECT_EQ(list.value(), db(4 - left));
        list.remove();
        EXPECT_EQ(list.count(), left - 1);
    }
    EXPECT_EQ(list.index(), -1);
    EXPECT_TRUE(contents(list).empty());
}

TEST(nlsDataBaseList, ListKeepsItsCursorThroughBodyOperations) {
    List list{db(0), db(1), db(2)};
    list.set_index(1);
    EXPECT_EQ(list.insert_first(db(7)), 1);
    EXPECT_EQ(list.insert_last(db(8)), 1);
    EXPECT_EQ(list.index(), 2);
    list.remove_first();
    EXPECT_EQ(list.index(), 1);
    EXPECT_EQ(list.value(), db(1));
    list.set_index(3);
    list.remove_last();
    EXPECT_EQ(list.index(), -1);
    EXPECT_EQ(contents(list), dbs({0, 1, 2}));
    list.set_index(2);
    list.clear();
    EXPECT_EQ(list.index(), -1);
    EXPECT_EQ(++list, 0);
}

TEST(nlsDataBaseList, CopiesHoldTheSamePointersIndependently) {
    List source{db(0), db(1), db(2)};
    source.set_index(1);
    List copy(utCopy{}, source);
    EXPECT_EQ(contents(copy), dbs({0, 1, 2}));
    EXPECT_EQ(copy.index(), -1);
    ++copy;
    copy.remove();
    EXPECT_EQ(contents(copy), dbs({1, 2}));
    EXPECT_EQ(contents(source), dbs({0, 1, 2}));
    EXPECT_EQ(source.value(), db(1));

    Body body(utCopy{}, source);
    EXPECT_EQ(contents(body), dbs({0, 1, 2}));
    body.become(utCopy{}, copy);
    EXPECT_EQ(contents(body), dbs({1, 2}));
    body.become(utCopy{}, body);
    EXPECT_EQ(contents(body), dbs({1, 2}));
}

TEST(nlsDataBaseList, BecomeReplacesTheContentsAndPutsTheCursorOff) {
    List target{db(5), db(6)};
    List source{db(0), db(1), db(2)};
    target.set_index(1);
    target.become(utCopy{}, source);
    EXPECT_EQ(target.index(), -1);
    EXPECT_EQ(contents(target), dbs({0, 1, 2}));
    EXPECT_EQ(contents(source), dbs({0, 1, 2}));

    target.set_index(2);
    target.become(utCopy{}, target);
    EXPECT_EQ(target.index(), -1);
    EXPECT_EQ(contents(target), dbs({0, 1, 2}));

    target.become(utCopy{}, List());
    EXPECT_TRUE(contents(target).empty());
}

} // namespace

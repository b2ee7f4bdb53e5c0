#pragma once

// The list in which the domain manager keeps the registered databases: a doubly linked ring of
// pointers anchored in the list body, iterators with and without the element's index, a cursor
// that inserts and removes at its position, and the list itself, which is a body carrying its own
// cursor. The list owns its links only; it never copies or deletes the databases.

#include <platform/apExport.h>
#include <platform/utCopy.h>

#include <initializer_list>

class nlsDataBase;

class nlsDataBasecoDListPtrcoPtrcoDListB;

/// The two pointers that links and the body share, so that the body can anchor the ring.
struct NLS_EXPORT nlsDataBasecoDListPtrcoPtrcoDLinkBase {
    /// The neighbours in the ring: links, or the body that anchors it.
    ///@{
    nlsDataBasecoDListPtrcoPtrcoDLinkBase* m_next;
    nlsDataBasecoDListPtrcoPtrcoDLinkBase* m_prev;
    ///@}
};

/// One element of the list.
class NLS_EXPORT nlsDataBasecoDListPtrcoPtrcoDLink : public nlsDataBasecoDListPtrcoPtrcoDLinkBase {
public:
    /// Links the new element in between `prev` and `next`, which must be neighbours.
    nlsDataBasecoDListPtrcoPtrcoDLink(nlsDataBase* const& value,
                                      nlsDataBasecoDListPtrcoPtrcoDLinkBase* prev,
                                      nlsDataBasecoDListPtrcoPtrcoDLinkBase* next);
    /// Unlinks the element from its neighbours and does nothing else.
    ~nlsDataBasecoDListPtrcoPtrcoDLink();
    nlsDataBasecoDListPtrcoPtrcoDLink(const nlsDataBasecoDListPtrcoPtrcoDLink&) = delete;
    nlsDataBasecoDListPtrcoPtrcoDLink& operator=(const nlsDataBasecoDListPtrcoPtrcoDLink&) = delete;

    nlsDataBase* m_value; ///< the database, which the list never owns
};

/// The list body: the ring's first and last link (the body's own pair of pointers) and the
/// element count. An empty body points at itself.
class NLS_EXPORT nlsDataBasecoDListPtrcoPtrcoDListB
    : private nlsDataBasecoDListPtrcoPtrcoDLinkBase {
public:
    nlsDataBasecoDListPtrcoPtrcoDListB();
    /// A body holding `other`'s pointers, in order.
    nlsDataBasecoDListPtrcoPtrcoDListB(utCopy, const nlsDataBasecoDListPtrcoPtrcoDListB& other);
    ~nlsDataBasecoDListPtrcoPtrcoDListB();

    /// Replaces the contents with `other`'s pointers, in order; from itself nothing changes.
    void become(utCopy, const nlsDataBasecoDListPtrcoPtrcoDListB& other);
    /// Frees every link; the databases stay.
    void clear();
    /// Always 1.
    int insert_first(nlsDataBase* const& element);
    /// Always 1.
    int insert_last(nlsDataBase* const& element);
    /// On an empty body nothing happens.
    void remove_first();
    /// On an empty body nothing happens.
    void remove_last();
    int count() const { return m_count; } ///< elements in the list

protected:
    // A member-wise copy would leave the copy's ring anchored in the source.
    nlsDataBasecoDListPtrcoPtrcoDListB(const nlsDataBasecoDListPtrcoPtrcoDListB&) = delete;
    nlsDataBasecoDListPtrcoPtrcoDListB&
    operator=(const nlsDataBasecoDListPtrcoPtrcoDListB&) = delete;

private:
    friend class nlsDataBasecoDListPtrcoPtrcoDListBcoIterator;
    friend class nlsDataBasecoDListPtrcoPtrcoDListBcoIteratorB;
    friend class nlsDataBasecoDListPtrcoPtrcoDListBcoCursor;
    using LinkBase = nlsDataBasecoDListPtrcoPtrcoDLinkBase;

    const LinkBase* anchor() const { return this; }
    LinkBase* anchor() { return this; }
    /// A new link between two neighbours; the count follows only once the link is in.
    void link_between(nlsDataBase* const& element, LinkBase* prev, LinkBase* next);
    /// Unlinks and frees one of this body's links.
    void free_link(LinkBase* link);
    void append_all(const nlsDataBasecoDListPtrcoPtrcoDListB& other);

    int m_count;
};

/// A read-only position in a body, with the index of its element (-1 off the list). Positions
/// are circular: past the last element lies the off-list position, then the first again.
class NLS_EXPORT nlsDataBasecoDListPtrcoPtrcoDListBcoIterator {
public:
    /// Off the list of `body`.
    explicit nlsDataBasecoDListPtrcoPtrcoDListBcoIterator(
        const nlsDataBasecoDListPtrcoPtrcoDListB* body);

    /// One step forward: 1 on an element, 0 on reaching the off-list position.
    int operator++();
    /// One step back: 1 on an element, 0 on reaching the off-list position.
    int operator--();
    /// n forward steps that stop off the list (0) instead of wrapping; n <= 0 stays and gives 1.
    int operator+=(int n);
    /// n backward steps that stop off the list (0) instead of wrapping; n <= 0 stays and gives 1.
    int operator-=(int n);
    /// Moves towards index i; an index outside the list ends off the list.
    void set_index(int i);
    /// 1 when both are off the list (of whatever bodies) or both stand on the same link.
    int operator==(const nlsDataBasecoDListPtrcoPtrcoDListBcoIterator& other) const;
    /// 1 where operator== gives 0.
    int operator!=(const nlsDataBasecoDListPtrcoPtrcoDListBcoIterator& other) const {
        return !(*this == other);
    }

    /// Puts the iterator off the list.
    void reset();
    /// The element's pointer, or null off the list.
    nlsDataBase* value() const;
    int index() const { return m_index; } ///< from 0; -1 off the list

protected:
    /// A link, or the body that anchors the ring.
    using LinkBase = nlsDataBasecoDListPtrcoPtrcoDLinkBase;

    /// Not yet on a body: for a list, whose body is built after its cursor.
    nlsDataBasecoDListPtrcoPtrcoDListBcoIterator() = default;
    /// Puts the iterator off the list of `body`.
    void attach(const nlsDataBasecoDListPtrcoPtrcoDListB* body);
    /// True on the body's anchor, which stands for the off-list position.
    bool off_list() const { return m_current == m_body->anchor(); }

    /// The body walked, the link under the iterator, and its element's index.
    ///@{
    const nlsDataBasecoDListPtrcoPtrcoDListB* m_body = nullptr;
    const LinkBase* m_current = nullptr;
    int m_index = -1;
    ///@}
};

/// A read-only position in a body, without index.
class NLS_EXPORT nlsDataBasecoDListPtrcoPtrcoDListBcoIteratorB {
public:
    /// Off the list of `body`.
    explicit nlsDataBasecoDListPtrcoPtrcoDListBcoIteratorB(
        const nlsDataBasecoDListPtrcoPtrcoDListB* body);

    /// One step forward: 1 on an element, 0 on reaching the off-list position.
    int operator++();
    /// One step back: 1 on an element, 0 on reaching the off-list position.
    int operator--();
    /// n forward steps that stop off the list (0) instead of wrapping; n <= 0 stays and gives 1.
    int operator+=(int n);
    /// n backward steps that stop off the list (0) instead of wrapping; n <= 0 stays and gives 1.
    int operator-=(int n);
    /// 1 when both are off the list (of whatever bodies) or both stand on the same link.
    int operator==(const nlsDataBasecoDListPtrcoPtrcoDListBcoIteratorB& other) const;
    /// 1 where operator== gives 0.
    int operator!=(const nlsDataBasecoDListPtrcoPtrcoDListBcoIteratorB& other) const {
        return !(*this == other);
    }

    /// Puts the iterator off the list.
    void reset();
    /// The element's pointer, or null off the list.
    nlsDataBase* value() const;

private:
    using LinkBase = nlsDataBasecoDListPtrcoPtrcoDLinkBase;

    bool off_list() const { return m_current == m_body->anchor(); }

    const nlsDataBasecoDListPtrcoPtrcoDListB* m_body;
    const LinkBase* m_current;
};

/// An iterator that may also insert and remove at its position. Every operation keeps the
/// cursor on the same element, or as stated, with its index up to date. Other iterators on the
/// same body are not told of the change.
class NLS_EXPORT nlsDataBasecoDListPtrcoPtrcoDListBcoCursor
    : public nlsDataBasecoDListPtrcoPtrcoDListBcoIterator {
public:
    /// Off the list of `body`.
    explicit nlsDataBasecoDListPtrcoPtrcoDListBcoCursor(nlsDataBasecoDListPtrcoPtrcoDListB* body);

    /// A new first element; always 1.
    int insert_first(nlsDataBase* const& element);
    /// A new element right after the cursor's (off the list: a new first element); always 1.
    int insert_after(nlsDataBase* const& element);
    /// A new element right before the cursor's (off the list: a new last element); always 1.
    int insert_before(nlsDataBase* const& element);
    /// Removes the cursor's element and moves on to the next; off the list nothing happens.
    void remove();
    /// Removes the cursor's element and moves back to the previous; off the list nothing happens.
    void remove_backwards();
    /// On an empty body nothing happens.
    void remove_first();
    /// On an empty body nothing happens.
    void remove_last();

protected:
    nlsDataBasecoDListPtrcoPtrcoDListBcoCursor() = default;

private:
    // A cursor is only ever made from a body that may be changed.
    nlsDataBasecoDListPtrcoPtrcoDListB* body() const {
        return const_cast<nlsDataBasecoDListPtrcoPtrcoDListB*>(m_body);
    }
    LinkBase* current() const { return const_cast<LinkBase*>(m_current); }
};

/// The list: a body and a cursor on it in one object, the cursor starting off the list.
class NLS_EXPORT nlsDataBasecoDListPtrcoPtrcoDList
    : public nlsDataBasecoDListPtrcoPtrcoDListBcoCursor,
      public nlsDataBasecoDListPtrcoPtrcoDListB {
public:
    nlsDataBasecoDListPtrcoPtrcoDList();
    /// The pointers in the given order.
    nlsDataBasecoDListPtrcoPtrcoDList(std::initializer_list<nlsDataBase*> elements);
    /// A list of `other`'s pointers, in order, its cursor off the list.
    nlsDataBasecoDListPtrcoPtrcoDList(utCopy, const nlsDataBasecoDListPtrcoPtrcoDList& other);

    /// Puts the cursor off the list, then replaces the contents with `other`'s pointers.
    void become(utCopy, const nlsDataBasecoDListPtrcoPtrcoDList& other);
    /// Frees every link; the cursor goes off the list.
    void clear();

    // The cursor's forms, so that the built-in cursor never stands on a freed link.
    using nlsDataBasecoDListPtrcoPtrcoDListBcoCursor::insert_first;
    using nlsDataBasecoDListPtrcoPtrcoDListBcoCursor::remove_first;
    using nlsDataBasecoDListPtrcoPtrcoDListBcoCursor::remove_last;

protected:
    nlsDataBasecoDListPtrcoPtrcoDList(const nlsDataBasecoDListPtrcoPtrcoDList&) = delete;
    nlsDataBasecoDListPtrcoPtrcoDList& operator=(const nlsDataBasecoDListPtrcoPtrcoDList&) = delete;
};

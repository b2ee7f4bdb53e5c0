#include <nls/containers/nlsDataBasecoDListPtrcoPtrcoDList.h>

#include <climits>

namespace {

using LinkBase = nlsDataBasecoDListPtrcoPtrcoDLinkBase;
using Link = nlsDataBasecoDListPtrcoPtrcoDLink;
using Body = nlsDataBasecoDListPtrcoPtrcoDListB;
using Iterator = nlsDataBasecoDListPtrcoPtrcoDListBcoIterator;
using IteratorB = nlsDataBasecoDListPtrcoPtrcoDListBcoIteratorB;
using Cursor = nlsDataBasecoDListPtrcoPtrcoDListBcoCursor;
using List = nlsDataBasecoDListPtrcoPtrcoDList;

// A distance between two indices, clamped to int: beyond the count every move ends off the list.
int clamp(long long distance) {
    return distance > INT_MAX ? INT_MAX : static_cast<int>(distance);
}

} // namespace

// ---- Link ----

Link::nlsDataBasecoDListPtrcoPtrcoDLink(nlsDataBase* const& value, LinkBase* prev, LinkBase* next)
    : LinkBase{next, prev}, m_value(value) {
    prev->m_next = this;
    next->m_prev = this;
}

Link::~nlsDataBasecoDListPtrcoPtrcoDLink() {
    m_prev->m_next = m_next;
    m_next->m_prev = m_prev;
}

// ---- Body ----

Body::nlsDataBasecoDListPtrcoPtrcoDListB() : LinkBase{this, this}, m_count(0) {}

// Delegating makes the body whole before copying, so a failed allocation still frees the links
// already made.
Body::nlsDataBasecoDListPtrcoPtrcoDListB(utCopy, const Body& other) : Body() {
    append_all(other);
}

Body::~nlsDataBasecoDListPtrcoPtrcoDListB() {
    clear();
}

void Body::become(utCopy, const Body& other) {
    if (&other == this) return;
    clear();
    append_all(other);
}

void Body::clear() {
    while (m_next != anchor())
        free_link(m_next);
}

int Body::insert_first(nlsDataBase* const& element) {
    link_between(element, anchor(), m_next);
    return 1;
}

int Body::insert_last(nlsDataBase* const& element) {
    link_between(element, m_prev, anchor());
    return 1;
}

void Body::remove_first() {
    if (m_next != anchor()) free_link(m_next);
}

void Body::remove_last() {
    if (m_prev != anchor()) free_link(m_prev);
}

void Body::link_between(nlsDataBase* const& element, LinkBase* prev, LinkBase* next) {
    new Link(element, prev, next);
    ++m_count;
}

void Body::free_link(LinkBase* link) {
    delete static_cast<Link*>(link);
    --m_count;
}

void Body::append_all(const Body& other) {
    for (const LinkBase* link = other.m_next; link != other.anchor(); link = link->m_next)
        insert_last(static_cast<const Link*>(link)->m_value);
}

// ---- Iterator ----

Iterator::nlsDataBasecoDListPtrcoPtrcoDListBcoIterator(const Body* body) {
    attach(body);
}

void Iterator::attach(const Body* body) {
    m_body = body;
    reset();
}

void Iterator::reset() {
    m_current = m_body->anchor();
    m_index = -1;
}

nlsDataBase* Iterator::value() const {
    return off_list() ? nullptr : static_cast<const Link*>(m_current)->m_value;
}

int Iterator::operator++() {
    m_current = m_current->m_next;
    if (off_list()) {
        m_index = -1;
        return 0;
    }
    ++m_index;
    return 1;
}

int Iterator::operator--() {
    m_current = m_current->m_prev;
    if (off_list()) {
        m_index = -1;
        return 0;
    }
    m_index = (m_index == -1 ? m_body->count() : m_index) - 1;
    return m_index >= 0;
}

int Iterator::operator+=(int n) {
    for (; n > 0; --n)
        if (!++*this) return 0;
    return 1;
}

int Iterator::operator-=(int n) {
    for (; n > 0; --n)
        if (!--*this) return 0;
    return 1;
}

void Iterator::set_index(int i) {
    long long distance = static_cast<long long>(i) - m_index;
    if (distance >= 0)
        *this += clamp(distance);
    else
        *this -= clamp(-distance);
}

int Iterator::operator==(const Iterator& other) const {
    return (off_list() && other.off_list()) || m_current == other.m_current;
}

// ---- IteratorB ----

IteratorB::nlsDataBasecoDListPtrcoPtrcoDListBcoIteratorB(const Body* body)
    : m_body(body), m_current(body->anchor()) {}

void IteratorB::reset() {
    m_current = m_body->anchor();
}

nlsDataBase* IteratorB::value() const {
    return off_list() ? nullptr : static_cast<const Link*>(m_current)->m_value;
}

int IteratorB::operator++() {
    m_current = m_current->m_next;
    return !off_list();
}

int IteratorB::operator--() {
    m_current = m_current->m_prev;
    return !off_list();
}

int IteratorB::operator+=(int n) {
    for (; n > 0; --n)
        if (!++*this) return 0;
    return 1;
}

int IteratorB::operator-=(int n) {
    for (; n > 0; --n)
        if (!--*this) return 0;
    return 1;
}

int IteratorB::operator==(const IteratorB& other) const {
    return (off_list() && other.off_list()) || m_current == other.m_current;
}

// ---- Cursor ----

Cursor::nlsDataBasecoDListPtrcoPtrcoDListBcoCursor(Body* body) : Iterator(body) {}

int Cursor::insert_first(nlsDataBase* const& element) {
    body()->insert_first(element);
    if (!off_list()) ++m_index;
    return 1;
}

// Off the list the cursor stands on the anchor, between the last element and the first, so
// "after" lands at the front and "before" at the end without a special case.
int Cursor::insert_after(nlsDataBase* const& element) {
    body()->link_between(element, current(), current()->m_next);
    return 1;
}

int Cursor::insert_before(nlsDataBase* const& element) {
    body()->link_between(element, current()->m_prev, current());
    if (!off_list()) ++m_index;
    return 1;
}

void Cursor::remove() {
    if (off_list()) return;
    LinkBase* next = current()->m_next;
    body()->free_link(current());
    m_current = next;
    if (off_list()) m_index = -1;
}

void Cursor::remove_backwards() {
    if (off_list()) return;
    LinkBase* prev = current()->m_prev;
    body()->free_link(current());
    m_current = prev;
    --m_index; // reaches -1 exactly when the first element went
}

void Cursor::remove_first() {
    if (m_index == 0) {
        remove();
        return;
    }
    if (!off_list()) --m_index;
    body()->remove_first();
}

void Cursor::remove_last() {
    if (m_current == m_body->m_prev) reset();
    body()->remove_last();
}

// ---- List ----

// The cursor is attached in the body of the constructor: the body part is not built yet while
// the cursor part is.
List::nlsDataBasecoDListPtrcoPtrcoDList() {
    attach(this);
}

List::nlsDataBasecoDListPtrcoPtrcoDList(std::initializer_list<nlsDataBase*> elements) : List() {
    for (nlsDataBase* element : elements)
        insert_last(element);
}

List::nlsDataBasecoDListPtrcoPtrcoDList(utCopy, const List& other) : Body(utCopy{}, other) {
    attach(this);
}

void List::become(utCopy, const List& other) {
    reset();
    Body::become(utCopy{}, other);
}

void List::clear() {
    reset();
    Body::clear();
}

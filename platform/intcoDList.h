#pragma once

#include <vector>

/// A list of integers that keeps the order of insertion: the least of the container library's
/// integer list that the library needs.
class intcoDList {
public:
    void clear() { m_values.clear(); }                              ///< removes every element
    void insert_last(int value) { m_values.push_back(value); }      ///< appends `value`
    int count() const { return static_cast<int>(m_values.size()); } ///< elements in the list

    /// Walks a list from its first element: `while (++it) use(it.value());`
    class iterator {
    public:
        /// Before the first element of `list`.
        explicit iterator(const intcoDList& list) : m_list(list) {}
        /// Steps to the next element (the first, on the first call); 1 while there is one.
        int operator++() { return ++m_index < m_list.count(); }
        /// The element under the iterator; only while operator++ last gave 1.
        int value() const { return m_list.m_values[static_cast<std::size_t>(m_index)]; }

    private:
        const intcoDList& m_list;
        int m_index = -1;
    };

private:
    std::vector<int> m_values;
};

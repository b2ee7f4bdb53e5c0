#pragma once

// The code shared by the string-keyed table instantiations: a hash set of entries compared by
// key only, and a table that adds access by key. `Self` is the instantiation's own set or table
// class, which supplies the static null entry `nil()`; `Entry` has a utString `m_key` and a
// `m_value`, whose assignment decides whether values are copied or handed over.

#include <platform/coHash.h>
#include <platform/utCopy.h>
#include <platform/utString.h>

#include <initializer_list>
#include <memory>

/// A hash set of entries compared by key only.
template <class Self, class Entry> class coStringTableSet : public basecoSet {
public:
    using entry_type = Entry; ///< the entries' type, for the table built on the set

    /// Empty, with 2^exponent slots once an entry is stored, growing at `load` percent.
    coStringTableSet(int exponent, int load) : basecoSet(exponent, load) {}
    /// Each entry added in order; a repeated key keeps the first.
    coStringTableSet(std::initializer_list<Entry> entries) : basecoSet(4, 50) {
        for (const Entry& entry : entries)
            add(entry);
    }
    /// A copy of `other`, slot for slot.
    coStringTableSet(utCopy, const Self& other) : basecoSet(4, 50) { become(utCopy{}, other); }
    ~coStringTableSet() override { delete[] slots(); }

    /// nil() when the entry was inserted; the held entry, unchanged, when its key was present.
    const Entry& add(const Entry& entry) {
        void* held = coHash::add(erase(entry));
        if (held) return *static_cast<const Entry*>(held);
        m_hash_sum ^= obj_hash(erase(entry));
        return Self::nil();
    }
    /// The held entry with that key, or nil().
    const Entry& find(const Entry& entry) const {
        void* slot = arr_get(m_slots, find_index(erase(entry)));
        return obj_null(slot) ? Self::nil() : *static_cast<const Entry*>(slot);
    }
    /// The removed entry, or an empty one when the key was absent.
    Entry remove(const Entry& entry) {
        Entry result;
        if (coHash::remove(erase(entry), &result)) m_hash_sum ^= obj_hash(&result);
        return result;
    }
    /// Removes the first entry in slot order; an empty entry for an empty set.
    Entry remove_any() {
        basecoSetcoIterator it(this);
        if (!++it) return Entry();
        return remove(Entry(at(it).m_key));
    }

    /// 1 when every key of this set is in `other`.
    int operator<=(const Self& other) const {
        if (m_count > other.m_count) return 0;
        basecoSetcoIterator it(this);
        while (++it)
            if (!other.holds(at(it))) return 0;
        return 1;
    }
    /// Keeps only the keys that `other` also holds.
    Self& operator*=(const Self& other) {
        basecoSetcoIterator it(this);
        while (++it) {
            if (other.holds(at(it))) continue;
            remove(Entry(at(it).m_key));
            // Removal shifts entries back, so walk again from the start.
            it = basecoSetcoIterator(this);
        }
        return self();
    }
    /// Adds `other`'s entries whose keys are missing here.
    Self& operator+=(const Self& other) {
        if (other.m_exponent > m_exponent) rehash(other.m_exponent);
        basecoSetcoIterator it(&other);
        while (++it)
            add(at(it));
        return self();
    }
    /// Removes every key that `other` holds; from itself, every key.
    Self& operator-=(const Self& other) {
        if (&other == this) {
            while (m_count)
                remove_any();
            return self();
        }
        basecoSetcoIterator it(&other);
        while (++it)
            remove(at(it));
        return self();
    }

    /// Becomes a copy of `other`, slot for slot; from itself nothing changes.
    void become(utCopy, const Self& other) {
        if (&other == this) return;
        // The new array comes first, so a failed allocation leaves this set as it was.
        std::unique_ptr<Entry[]> copy;
        if (other.m_slots) {
            const int size = other.slot_count();
            copy.reset(new Entry[size]);
            for (int i = 0; i < size; ++i)
                copy[i] = other.slots()[i];
        }
        delete[] slots();
        coHash::become(utCopy{}, other);
        m_initial_exponent = other.m_initial_exponent;
        m_load = other.m_load;
        m_exponent = other.m_exponent;
        m_hash_sum = other.m_hash_sum;
        m_slots = copy.release();
    }

protected:
    /// Self::nil(), whose key is the null string.
    void* obj_nil() const override { return &Self::nil(); }
    /// Entry assignment, which decides whether the value is copied or handed over.
    void obj_assign(void* dst, void* const src) override {
        *static_cast<Entry*>(dst) = *static_cast<const Entry*>(src);
    }
    /// 0 for equal keys, else 1.
    int obj_compare(void* const a, void* const b) const override {
        return !(static_cast<const Entry*>(a)->m_key == static_cast<const Entry*>(b)->m_key);
    }
    /// co_hash of the key.
    unsigned int obj_hash(void* const a) const override {
        return co_hash(static_cast<const Entry*>(a)->m_key);
    }
    /// Makes the slot array at the first store.
    void arr_put_copy(void*, void* const src, int i) override {
        if (!m_slots) m_slots = new Entry[std::size_t{1} << m_exponent];
        if (i >= 0 && i < slot_count()) slots()[i] = *static_cast<const Entry*>(src);
    }
    /// The slot, or nil() outside the array.
    void* arr_get(void* const, int i) const override {
        if (i < 0 || i >= slot_count()) return obj_nil();
        return slots() + i;
    }
    /// Doubles the array once `count` reaches the load percentage, up to 2^30 slots.
    void update_size(int count) override {
        if (m_exponent < s_max_exponent &&
            count >= m_load / 100.0 * static_cast<double>(1u << m_exponent))
            rehash(m_exponent + 1);
    }

private:
    Entry* slots() const { return static_cast<Entry*>(m_slots); }
    Self& self() { return static_cast<Self&>(*this); }
    static void* erase(const Entry& entry) { return const_cast<Entry*>(&entry); }
    static const Entry& at(const basecoSetcoIterator& it) {
        return *static_cast<const Entry*>(it.item());
    }
    bool holds(const Entry& entry) const { return &find(entry) != &Self::nil(); }

    /// Moves every entry into a new array of 2^exponent slots. The entries stay the same, and so
    /// does the hash sum: an insertion that triggers the rehash adds its own hash afterwards.
    void rehash(int exponent) {
        Entry* fresh = new Entry[std::size_t{1} << exponent];
        const int old_size = slot_count();
        std::unique_ptr<Entry[]> old(slots());
        m_slots = fresh;
        m_exponent = exponent;
        m_count = 0;
        for (int i = 0; i < old_size; ++i)
            if (!obj_null(&old[i])) coHash::add(&old[i]);
    }
};

/// A set of entries with access to their values by key.
template <class Self, class Set, class Value> class coStringTable : public Set {
    using Entry = typename Set::entry_type;

public:
    /// Empty, with 2^exponent slots once an entry is stored, growing at `load` percent.
    coStringTable(int exponent, int load) : Set(exponent, load) {}
    /// Each entry added in order; a repeated key keeps the first.
    coStringTable(std::initializer_list<Entry> entries) : Set(entries) {}
    /// A copy of `other`, slot for slot.
    coStringTable(utCopy, const Self& other) : Set(utCopy{}, other) {}

    /// The value stored for `key`, which is first inserted with an empty value when absent. The
    /// reference lasts until the table next grows, is cleared or is copied into.
    Value& operator[](const utString& key) {
        // The null string marks empty slots and cannot be a key: what is written through it
        // lands in a value of its own, emptied at each such call, that nothing else reads.
        if (key.is_null()) {
            static Value discarded;
            discarded = Value();
            return discarded;
        }
        const Entry probe(key);
        const Entry* found = &this->find(probe);
        if (found->m_key == utString()) {
            this->add(probe);
            found = &this->find(probe);
        }
        return const_cast<Entry*>(found)->m_value;
    }
    /// The value stored for `key`, or an empty one; never inserts.
    const Value& read(const utString& key) const { return this->find(Entry(key)).m_value; }
    using Set::remove;
    /// 1 when an entry with that key was removed, else 0.
    int remove(const utString& key) { return !(Set::remove(Entry(key)).m_key == utString()); }
    /// Becomes a copy of `other`, slot for slot.
    Self& become(utCopy, const Self& other) {
        Set::become(utCopy{}, other);
        return static_cast<Self&>(*this);
    }
};

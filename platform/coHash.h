#pragma once

// The generic part of the containers' open-addressing hash sets. The base handles entries only
// by address; a typed set supplies them through the virtual operations below and keeps its
// entries in one slot array of 2^exponent entries. Slots are probed linearly from the key's
// hash, and removal shifts later entries back so that no probe run is ever broken.

#include <platform/apExport.h>
#include <platform/utCopy.h>

class utString;

/// @file
/// The hash table under the containers' string-keyed sets and tables.

/// Hash of a key's text (every byte up to its length); equal keys give equal hashes.
NLS_EXPORT unsigned int co_hash(const utString& key);

/// What a container needs to know about its elements.
class NLS_EXPORT coObjInterface {
public:
    virtual ~coObjInterface();

    /// The container's null element: an entry with an empty key.
    virtual void* obj_nil() const = 0;
    /// Assigns the entry at `src` to the one at `dst`.
    virtual void obj_assign(void* dst, void* const src) = 0;
    /// 0 when the two entries have equal keys, else 1.
    virtual int obj_compare(void* const a, void* const b) const = 0;
    /// The hash of the entry's key (co_hash).
    virtual unsigned int obj_hash(void* const a) const = 0;
    /// Non-zero for an empty slot.
    virtual int obj_null(void* const a) const = 0;

protected:
    coObjInterface() = default;
    // Containers own their elements by address: a member-wise copy would free them twice.
    coObjInterface(const coObjInterface&) = delete;
    coObjInterface& operator=(const coObjInterface&) = delete;
};

/// What a container needs to know about its slot array. The array arguments are not used by the
/// hash sets, which always work on their own array.
class NLS_EXPORT coArrInterface : public coObjInterface {
public:
    /// Assigns `src` to slot i, allocating the slot array first if there is none.
    virtual void arr_put_copy(void* arr, void* const src, int i) = 0;
    /// The address of slot i; the null element when there is no such slot.
    virtual void* arr_get(void* const arr, int i) const = 0;
    /// Called with the element count after every insertion; may grow the array.
    virtual void update_size(int count) = 0;
};

/// The hash table proper: insertion, lookup and removal by key, and the state that the typed
/// sets read and write.
class NLS_EXPORT coHash : public coArrInterface {
public:
    /// Null when `entry` was inserted; otherwise the held entry with an equal key, unchanged.
    /// An entry with the empty key (the mark of empty slots) is never stored: its result is the
    /// null element. Throws std::bad_alloc when the table is full and can grow no further.
    void* add(void* const entry);
    /// The slot holding an entry with `entry`'s key or, when there is none, an empty slot at
    /// which it belongs; -1 only for a full table without the key.
    int find_index(void* const entry) const;
    /// Non-zero when an entry with `entry`'s key was held: it is assigned to `out`, and its slot
    /// emptied. 0 otherwise, `out` untouched.
    int remove(void* const entry, void* out);
    /// Copies `other`'s element count; the typed set copies the rest.
    void become(utCopy, const coHash& other);

protected:
    /// The largest size exponent: 2^30 slots still fit an int.
    static constexpr int s_max_exponent = 30;

    /// Out-of-range arguments are brought into range: the exponent into 0 to 30, the load
    /// percentage into 1 to 100, so the array never overflows and always keeps an empty slot.
    coHash(int exponent, int load);

    /// The number of slots, 0 while there is no slot array.
    int slot_count() const { return m_slots ? 1 << m_exponent : 0; }
    /// Moves the entry at slot `from` to the empty slot `to`, and empties `from`.
    void arr_move(int from, int to);

    int m_count;             ///< entries held
    int m_initial_exponent;  ///< the size exponent the table was made with
    int m_load;              ///< the percentage of slots in use at which the table grows
    int m_exponent;          ///< 2^m_exponent slots
    unsigned int m_hash_sum; ///< the XOR of the entries' hashes
    void* m_slots;           ///< the typed set's slot array; null until an entry is stored

private:
    /// Shifts back the entries after the emptied slot `hole` that their probe runs allow.
    void close_gap(int hole);
};

class basecoSetcoIterator;

/// The base of the typed hash sets.
class NLS_EXPORT basecoSet : protected coHash {
public:
    int count() const { return m_count; } ///< entries held
    /// The XOR of the entries' hashes: 0 when empty, independent of the order of insertion.
    unsigned int hash_sum() const { return m_hash_sum; }

protected:
    /// Empty, with 2^exponent slots once an entry is stored, growing at `load` percent.
    basecoSet(int exponent, int load) : coHash(exponent, load) {}

    /// An entry counts as empty when its key equals the null element's.
    int obj_null(void* const entry) const override;

private:
    friend class basecoSetcoIterator;
};

/// Walks the occupied slots of a set in slot order.
class NLS_EXPORT basecoSetcoIterator {
public:
    /// Before the first entry.
    explicit basecoSetcoIterator(const basecoSet* set) : m_set(set), m_on_slot(0), m_index(0) {}

    /// Moves to the next occupied slot: non-zero, or 0 (and back before the first) when none is
    /// left.
    int operator++();
    /// The entry under the iterator, or the set's null element.
    void* item() const;

private:
    const basecoSet* m_set;
    int m_on_slot;
    int m_index;
};

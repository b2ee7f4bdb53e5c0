#pragma once

// A string-keyed table that owns its databases through holders: its entry, its set of entries
// compared by key, and the table with access by key. A database is deleted when its entry is
// removed (unless the removed entry is returned, which then owns it) or when the table is
// destroyed. Copying an entry hands its database over: an entry that add inserts is left with an
// empty holder (one whose key was present keeps its database), and copying into a table (become,
// the copying constructors, +=) moves the databases and leaves the source's keys with empty
// holders.

#include <nls/containers/coStringTable.h>
#include <nls/containers/nlsDataBasecoTablePrgcoPrg.h>
#include <platform/apExport.h>

/// One entry: a key and the holder of its database.
class NLS_EXPORT utStringnlsDataBasecoTablePrgcoPrgcoTableP {
public:
    utStringnlsDataBasecoTablePrgcoPrgcoTableP() = default;
    /// The key with an empty holder.
    explicit utStringnlsDataBasecoTablePrgcoPrgcoTableP(const utString& key) : m_key(key) {}
    /// Takes `value`'s database and leaves `value` empty.
    utStringnlsDataBasecoTablePrgcoPrgcoTableP(const utString& key,
                                               const nlsDataBasecoTablePrgcoPrg& value)
        : m_key(key) {
        m_value.take(value);
    }
    /// Takes `other`'s database and leaves `other` with its key and an empty holder.
    utStringnlsDataBasecoTablePrgcoPrgcoTableP(
        const utStringnlsDataBasecoTablePrgcoPrgcoTableP& other)
        : m_key(other.m_key) {
        m_value.take(other.m_value);
    }
    /// Copies the key, deletes the database held here and takes `other`'s, leaving `other` with
    /// an empty holder; assigned to itself, nothing changes.
    utStringnlsDataBasecoTablePrgcoPrgcoTableP&
    operator=(const utStringnlsDataBasecoTablePrgcoPrgcoTableP& other) {
        if (&other != this) {
            m_key = other.m_key;
            m_value.take(other.m_value);
        }
        return *this;
    }

    utString m_key; ///< the null string marks an empty slot
    // Declared after the key, so the database is deleted before the key is released.
    nlsDataBasecoTablePrgcoPrg m_value; ///< the holder that owns the database
};

/// A hash set of entries that compares entries by key only.
class NLS_EXPORT utStringnlsDataBasecoTablePrgcoPrgcoTablePcoSet
    : public coStringTableSet<utStringnlsDataBasecoTablePrgcoPrgcoTablePcoSet,
                              utStringnlsDataBasecoTablePrgcoPrgcoTableP> {
public:
    using coStringTableSet::coStringTableSet;

private:
    friend class coStringTableSet;

    /// The entry that lookups return when nothing is found: empty key, empty holder.
    static utStringnlsDataBasecoTablePrgcoPrgcoTableP& nil();
};

/// The set with access by key.
class NLS_EXPORT utStringnlsDataBasecoTablePrgcoPrgcoTable
    : public coStringTable<utStringnlsDataBasecoTablePrgcoPrgcoTable,
                           utStringnlsDataBasecoTablePrgcoPrgcoTablePcoSet,
                           nlsDataBasecoTablePrgcoPrg> {
public:
    using coStringTable::coStringTable;
};

#pragma once

// A string-keyed table of plain database pointers: its entry, its set of entries compared by key,
// and the table with access by key. The table never deletes a database.

#include <nls/containers/coStringTable.h>
#include <platform/apExport.h>

class nlsDataBase;

/// One entry: a key and a database pointer.
class NLS_EXPORT utStringnlsDataBasecoTablePtrcoPtrcoTableP {
public:
    utStringnlsDataBasecoTablePtrcoPtrcoTableP() : m_value(nullptr) {}
    /// The key with a null value.
    explicit utStringnlsDataBasecoTablePtrcoPtrcoTableP(const utString& key)
        : m_key(key), m_value(nullptr) {}
    /// The key with `value`.
    utStringnlsDataBasecoTablePtrcoPtrcoTableP(const utString& key, nlsDataBase* const& value)
        : m_key(key), m_value(value) {}

    utString m_key;       ///< the null string marks an empty slot
    nlsDataBase* m_value; ///< the database, which the table never deletes
};

/// A hash set of entries that compares entries by key only.
class NLS_EXPORT utStringnlsDataBasecoTablePtrcoPtrcoTablePcoSet
    : public coStringTableSet<utStringnlsDataBasecoTablePtrcoPtrcoTablePcoSet,
                              utStringnlsDataBasecoTablePtrcoPtrcoTableP> {
public:
    using coStringTableSet::coStringTableSet;

private:
    friend class coStringTableSet;

    /// The entry that lookups return when nothing is found: empty key, null value.
    static utStringnlsDataBasecoTablePtrcoPtrcoTableP& nil();
};

/// The set with access by key.
class NLS_EXPORT utStringnlsDataBasecoTablePtrcoPtrcoTable
    : public coStringTable<utStringnlsDataBasecoTablePtrcoPtrcoTable,
                           utStringnlsDataBasecoTablePtrcoPtrcoTablePcoSet, nlsDataBase*> {
public:
    using coStringTable::coStringTable;
};

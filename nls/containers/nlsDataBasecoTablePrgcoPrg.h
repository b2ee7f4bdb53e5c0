#pragma once

#include <platform/apExport.h>

class nlsDataBase;

/// Owner of one database, deleted with the holder. Moving, and the table entries that hold it,
/// hand the database over and leave the source empty; a holder is never copied.
class NLS_EXPORT nlsDataBasecoTablePrgcoPrg {
public:
    nlsDataBasecoTablePrgcoPrg() = default;
    /// Takes ownership of `database`.
    explicit nlsDataBasecoTablePrgcoPrg(nlsDataBase* database) : m_database(database) {}
    /// Takes `other`'s database and leaves `other` empty; assignment first deletes the database
    /// held, unless it is `other`'s.
    ///@{
    nlsDataBasecoTablePrgcoPrg(nlsDataBasecoTablePrgcoPrg&& other) noexcept { take(other); }
    nlsDataBasecoTablePrgcoPrg& operator=(nlsDataBasecoTablePrgcoPrg&& other) noexcept {
        take(other);
        return *this;
    }
    ///@}
    ~nlsDataBasecoTablePrgcoPrg();

    /// The database held, or null.
    ///@{
    nlsDataBase* get() const { return m_database; }
    nlsDataBase* operator->() const { return m_database; }
    ///@}

private:
    friend class utStringnlsDataBasecoTablePrgcoPrgcoTableP;

    /// Deletes the database held, unless it is `other`'s, takes `other`'s and empties `other`.
    /// The source may be const: entries hand over their database whenever they are copied.
    void take(const nlsDataBasecoTablePrgcoPrg& other) noexcept;
    void delete_ptr() noexcept;

    mutable nlsDataBase* m_database = nullptr;
};

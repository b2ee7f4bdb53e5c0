#include <nls/containers/nlsDataBasecoTablePrgcoPrg.h>

#include <nls/nlsDataBase.h>

nlsDataBasecoTablePrgcoPrg::~nlsDataBasecoTablePrgcoPrg() {
    delete_ptr();
}

void nlsDataBasecoTablePrgcoPrg::take(const nlsDataBasecoTablePrgcoPrg& other) noexcept {
    if (&other == this) return;
    if (other.m_database != m_database) delete_ptr();
    m_database = other.m_database;
    other.m_database = nullptr;
}

void nlsDataBasecoTablePrgcoPrg::delete_ptr() noexcept {
    delete m_database;
    m_database = nullptr;
}

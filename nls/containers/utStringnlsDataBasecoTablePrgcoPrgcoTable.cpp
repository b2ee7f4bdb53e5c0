#include <nls/containers/utStringnlsDataBasecoTablePrgcoPrgcoTable.h>

utStringnlsDataBasecoTablePrgcoPrgcoTableP& utStringnlsDataBasecoTablePrgcoPrgcoTablePcoSet::nil() {
    static utStringnlsDataBasecoTablePrgcoPrgcoTableP entry;
    return entry;
}

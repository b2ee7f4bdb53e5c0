#include <nls/containers/utStringnlsDataBasecoTablePtrcoPtrcoTable.h>

utStringnlsDataBasecoTablePtrcoPtrcoTableP& utStringnlsDataBasecoTablePtrcoPtrcoTablePcoSet::nil() {
    static utStringnlsDataBasecoTablePtrcoPtrcoTableP entry;
    return entry;
}

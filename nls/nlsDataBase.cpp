#include <nls/nlsDataBase.h>

#include <nls/nlsDomainManager.h>
#include <nls/nlsErrorData.h>
#include <platform/apUtils.h>

#include <cstdio>

nlsDataBase::handler_type nlsDataBase::the_error_handler = &nlsDataBase::the_default_error_handler;

nlsDataBase::nlsDataBase(const char* domain) : m_domain(domain) {}

nlsDataBase::~nlsDataBase() = default;

nlsDataBase::handler_type nlsDataBase::error_handler(handler_type handler) {
    handler_type previous = the_error_handler;
    the_error_handler = handler;
    return previous;
}

int nlsDataBase::error(const nlsErrorData& data) const {
    if (!the_error_handler || data.code() == nlsERROR_NONE) return 1;
    if (the_error_handler(*this, data)) return 1;
    char message[64];
    // The report's format takes the code as a signed number.
    std::snprintf(message, sizeof message, "nlsDataBase failed - with error %d",
                  static_cast<int>(data.code()));
    ut_report_assert_failure("nls/nlsDataBase", 492, message, "nlsDataBase::error", "0");
    return 0;
}

int nlsDataBase::the_default_error_handler(const nlsDataBase&, const nlsErrorData& data) {
    apprintf("%s\n", nlsDomainManager::error_to_string(data));
    return (data.code() & 1u) == 0;
}

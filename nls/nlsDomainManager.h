#pragma once

#include <platform/apExport.h>

class nlsErrorData;

/// The process-wide state of the library: a class of static members only, never instantiated.
class NLS_EXPORT nlsDomainManager {
public:
    /// A report handler: non-zero to carry on, zero when the failure is fatal.
    using handler_type = int (*)(const nlsErrorData& data);

    /// The one-line text of a report, beginning "NLS Error: " or "NLS Warning: ". The text lives
    /// until the next call.
    static const char* error_to_string(const nlsErrorData& data);

    /// Turns reports of fallback catalogue loads on (non-zero) or off; returns the old setting.
    static int set_verbose_info(int value);
    static int verbose_info();

protected:
    /// 1 without a handler or for code 0, else the handler's result.
    static int error(const nlsErrorData& data);

    static handler_type the_error_handler;
    static int verbose_loading_info;

private:
    nlsDomainManager() {}
    ~nlsDomainManager() {}

    static int the_default_error_handler(const nlsErrorData& data);
};

#pragma once

#include <platform/apExport.h>
#include <platform/utString.h>

class nlsErrorData;

/// The messages of one text domain.
class NLS_EXPORT nlsDataBase {
public:
    /// A report handler: non-zero to carry on, zero when the failure is fatal.
    using handler_type = int (*)(const nlsDataBase& database, const nlsErrorData& data);

    explicit nlsDataBase(const char* domain);
    // Databases register with the domain manager by address: a copy would be unregistered.
    nlsDataBase(const nlsDataBase&) = delete;
    nlsDataBase& operator=(const nlsDataBase&) = delete;
    ~nlsDataBase();

    /// Installs `handler` (null silences every report, fatal ones included) and returns the
    /// handler installed before.
    static handler_type error_handler(handler_type handler);

protected:
    /// Hands a report to the handler: 1 to carry on; 0, after an assertion report, when the
    /// handler declared it fatal. Code 0 reaches no handler.
    int error(const nlsErrorData& data) const;

    static handler_type the_error_handler;

    utString m_domain;

private:
    /// Writes the report as one line; warnings carry on, errors (bit 0) are fatal.
    static int the_default_error_handler(const nlsDataBase& database, const nlsErrorData& data);
};

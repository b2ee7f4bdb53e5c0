#pragma once

#include <platform/apExport.h>
#include <platform/utString.h>

/// Codes carried by reports. Bit 0 marks an error; other non-zero codes carry 1024.
enum : unsigned int {
    nlsERROR_NONE = 0,
    nlsERROR_FAILED = 1,
    nlsERROR_INITIALISATION = 5,
    nlsERROR_CATALOG_STAT = 9,
    nlsERROR_CATALOG_OPEN = 17,
    nlsERROR_CATALOG_MAGIC = 33,
    nlsERROR_CATALOG_REVISION = 65,
    nlsERROR_NO_DOMAIN = 129,
    nlsERROR_MEMORY = 257,
    nlsERROR_LOCALE_SETUP = 3072,
    nlsERROR_CATALOG_LANGUAGE = 5120,
    nlsERROR_DOMAIN_PATH = 9216,
    nlsERROR_DOMAIN_EXISTS = 17408,
    nlsERROR_CATALOG_FALLBACK = 33792,
};

/// A report: a code with up to five strings (a domain name, a language, ...).
class NLS_EXPORT nlsErrorData {
public:
    static constexpr int max_strings = 5;

    explicit nlsErrorData(unsigned int code);
    nlsErrorData(unsigned int code, const utString& string);
    /// The first `count` strings of `strings`. A count below 0 or a null array gives no strings,
    /// a count above 5 the first five.
    nlsErrorData(unsigned int code, const utString* strings, int count);
    nlsErrorData(const nlsErrorData& other);
    nlsErrorData& operator=(const nlsErrorData& other);
    ~nlsErrorData();

    unsigned int code() const { return m_code; }
    int string_count() const { return m_string_count; }

    /// Appends `string` in the next free slot; ignored when five strings are held.
    void add_string(const utString& string);
    /// The string of slot `index`, or "Internal range error" for an index outside 0..count-1.
    const utString& get_string(int index) const;
    /// The report's one-line text: "NLS Error: " or "NLS Warning: " and the code's message with
    /// the strings put in; "nlsERROR_NONE" for code 0.
    utString text() const;

private:
    unsigned int m_code;
    utString m_strings[max_strings];
    int m_string_count;
};

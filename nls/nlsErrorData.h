#pragma once

#include <platform/apExport.h>
#include <platform/utString.h>

/// @file
/// Reports: their codes and the record that carries them to the report handlers.

/// Codes carried by reports. Bit 0 marks an error; other non-zero codes carry 1024. Below,
/// "domain 0" is the domain name held in string 0 of the record.
enum : unsigned int {
    nlsERROR_NONE = 0,              ///< no problem: reaches no handler
    nlsERROR_FAILED = 1,            ///< a settings object could not read or store the language
    nlsERROR_INITIALISATION = 5,    ///< "Initialisation failed"; the library raises it nowhere
    nlsERROR_CATALOG_STAT = 9,      ///< a catalogue that cannot be read whole or is below 28 bytes
    nlsERROR_CATALOG_OPEN = 17,     ///< a catalogue file that cannot be opened
    nlsERROR_CATALOG_MAGIC = 33,    ///< not a catalogue: wrong magic number, or tables out of it
    nlsERROR_CATALOG_REVISION = 65, ///< a catalogue of a major revision other than 0 and 1
    nlsERROR_NO_DOMAIN = 129,       ///< a database to unregister was not registered
    nlsERROR_MEMORY = 257,          ///< no memory to read a catalogue into
    nlsERROR_LOCALE_SETUP = 3072,   ///< the process locale for language 0 could not be set
    nlsERROR_CATALOG_LANGUAGE = 5120, ///< no catalogue of domain 0 for language 1
    nlsERROR_DOMAIN_PATH = 9216,      ///< "Path to domain failed"; the library raises it nowhere
    nlsERROR_DOMAIN_EXISTS = 17408,   ///< a database registered twice (domain 0, language 1)
    /// With set_verbose_info: domain 0 has no catalogue for language 1, so language 2 was used.
    nlsERROR_CATALOG_FALLBACK = 33792,
    /// The catalogue of domain 0 in file 1 did not load; the report of why follows.
    nlsERROR_CATALOG_FILE = 66560,
    /// With set_verbose_info, after nlsERROR_CATALOG_LANGUAGE: the directories (1) and language
    /// folders (2) in which the catalogue of domain 0 was looked for.
    nlsERROR_CATALOG_SEARCH = 132096,
};

/// A report: a code with up to five strings (a domain name, a language, ...).
class NLS_EXPORT nlsErrorData {
public:
    /// Strings a record holds at most.
    static constexpr int max_strings = 5;

    /// A record without strings.
    explicit nlsErrorData(unsigned int code);
    /// A record with one string.
    nlsErrorData(unsigned int code, const utString& string);
    /// The first `count` strings of `strings`. A count below 0 or a null array gives no strings,
    /// a count above 5 the first five.
    nlsErrorData(unsigned int code, const utString* strings, int count);
    /// Copies share the strings' texts.
    ///@{
    nlsErrorData(const nlsErrorData& other);
    nlsErrorData& operator=(const nlsErrorData& other);
    ///@}
    ~nlsErrorData();

    unsigned int code() const { return m_code; }        ///< one of the nlsERROR_ codes
    int string_count() const { return m_string_count; } ///< 0 to max_strings

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

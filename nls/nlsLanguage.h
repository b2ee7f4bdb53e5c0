#pragma once

#include <platform/apExport.h>
#include <platform/utString.h>

/// @file
/// Language records and their comparison.

/// One user-interface language: its name, ISO locale name, three-letter Windows language code,
/// display name and Windows ANSI code page. A plain value, made by looking a name up in the table
/// of the seventeen supported languages.
class NLS_EXPORT nlsLanguage {
public:
    /// The empty record.
    nlsLanguage() = default;
    /// The table's record for a language name or ISO locale name (letter case ignored); for a
    /// name the table lacks, a record that holds only that name.
    nlsLanguage(const char* name);

    /// The library's language name ("Chinese-CHN"), which names catalogue directories.
    const utString& name() const { return m_name; }
    /// "zh-CN"
    const utString& iso_name() const { return m_iso_name; }
    /// The Windows three-letter language code ("CHS").
    const utString& akn_code() const { return m_akn_code; }
    /// The name to show to a user ("Chinese simplified").
    const utString& translated_name() const { return m_translated_name; }

    /// True when the name has length 0.
    bool empty() const { return m_name.length() == 0; }
    /// True when the name carries a country extension ("English-GBR").
    bool has_extension() const;
    /// The record of the name without its extension. One record shared by the whole process,
    /// overwritten by the next call that shortens: copy it at once. A name without a hyphen
    /// leaves it as the last shortening made it.
    const nlsLanguage& short_form() const;
    /// True when the record's code page is the user's default ANSI code page.
    bool is_codepage_compatible() const;

private:
    utString m_name;
    utString m_iso_name;
    utString m_akn_code;
    utString m_translated_name;
    utString m_codepage;
};

/// Records are equal when their names are equal, byte for byte.
NLS_EXPORT bool operator==(const nlsLanguage& a, const nlsLanguage& b);
NLS_EXPORT bool operator!=(const nlsLanguage& a, const nlsLanguage& b); ///< !(a == b)

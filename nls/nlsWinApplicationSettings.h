#pragma once

#include <platform/apExport.h>
#include <platform/utString.h>

/// Keeps the display language as the registry value "CurrentLanguage" of the current user,
/// under a key path that the application names.
class NLS_EXPORT nlsWinApplicationSettings {
public:
    explicit nlsWinApplicationSettings(utString key_path);

    const utString& key_path() const { return m_key_path; }

protected:
    /// Reads the stored language name into `stored` ("" when no key or value is stored);
    /// nlsERROR_NONE, or nlsERROR_FAILED when an existing value could not be read.
    unsigned int read_stored_language(utString& stored) const;
    /// Stores `iso_name` (a null text as ""); nlsERROR_NONE, or nlsERROR_FAILED when the key
    /// could not be created or the value not written.
    unsigned int store_iso_name(const utString& iso_name) const;

private:
    utString m_key_path;
};

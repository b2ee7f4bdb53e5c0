#pragma once

#include <nls/nlsApplicationSettings.h>
#include <platform/apExport.h>
#include <platform/utString.h>

/// Keeps the display language as the registry value "CurrentLanguage" of the current user,
/// under a key path that the application names.
class NLS_EXPORT nlsWinApplicationSettings : public nlsApplicationSettings {
public:
    /// Settings under the current user's key `key_path` ("Software\\Maker\\App").
    explicit nlsWinApplicationSettings(utString key_path);

    /// Stores the language's ISO name ("" for a language the table does not know).
    nlsErrorData set_display_language(const nlsLanguage& language) override;
    /// The stored language as a table record; the empty record when nothing is stored.
    nlsErrorData get_display_language(nlsLanguage& language) override;

    const utString& key_path() const { return m_key_path; } ///< as given

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

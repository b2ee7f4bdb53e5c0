#pragma once

#include <platform/apExport.h>

class nlsErrorData;
class nlsLanguage;

/// Where an application keeps the display language that its user chose. The domain manager
/// owns the object it is given and deletes it through this base.
class NLS_EXPORT nlsApplicationSettings {
public:
    nlsApplicationSettings() = default;

    /// Stores `language` as the display language; code 0 on success, 1 on failure.
    virtual nlsErrorData set_display_language(const nlsLanguage& language) = 0;
    /// Fills `language` with the stored display language, the empty record when none is stored;
    /// code 0, or 1 when a stored language could not be read.
    virtual nlsErrorData get_display_language(nlsLanguage& language) = 0;

    virtual ~nlsApplicationSettings();
};

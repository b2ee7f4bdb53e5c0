#pragma once

#include <platform/apExport.h>

#include <locale>

/// @file
/// Blocks in which numbers are written by the "C" conventions.

/// How numbers are written inside an nlsNeutralNumbers block. Any value but 1 counts as neutral.
enum nlsTranslationType {
    nlsNumbersNeutral = 0,    ///< the "C" conventions
    nlsNumbersTranslated = 1, ///< the selected language's conventions
};

/// For the life of a block, numbers follow the "C" conventions (or the language's, for
/// nlsNumbersTranslated); the C run-time numeric locale, the global standard-library locale and
/// the remembered decimal point are put back at the end of the block.
class NLS_EXPORT nlsNeutralNumbers {
public:
    /// Switches numbers to the conventions of `type` until the block ends.
    explicit nlsNeutralNumbers(nlsTranslationType type = nlsNumbersNeutral);
    ~nlsNeutralNumbers();
    nlsNeutralNumbers(const nlsNeutralNumbers&) = delete;
    nlsNeutralNumbers& operator=(const nlsNeutralNumbers&) = delete;

private:
    int m_old_flag;
    nlsTranslationType
        m_type; // never read: kept because the class's layout is part of its interface
    std::locale m_old_locale;
};

#pragma once

#include <platform/apExport.h>

#include <cstddef>
#include <locale>
#include <string>

/// Numeric punctuation of a named locale without digit grouping: the locale's decimal point, no
/// thousands separator.
class NLS_EXPORT nlsNumPunct : public std::numpunct_byname<char> {
public:
    /// The punctuation of the locale `name` (a library language name, or any name the platform's
    /// locales take); `refs` 0 lets the holding locale delete the facet.
    nlsNumPunct(const char* name, std::size_t refs);
    /// The punctuation of `named`'s numbers, which saves building the named locale again.
    nlsNumPunct(const std::locale& named, std::size_t refs);

protected:
    ~nlsNumPunct() override;
    /// The named locale's decimal point, no thousands separator ('\0') and no grouping.
    ///@{
    char do_decimal_point() const override;
    char do_thousands_sep() const override;
    std::string do_grouping() const override;
    ///@}

private:
    /// Taken from the platform's locale for the name: not every standard library builds a
    /// numpunct_byname for the names that the C run time takes.
    char m_decimal_point;
};

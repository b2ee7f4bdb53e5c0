#pragma once

#include <platform/apExport.h>
#include <platform/utString.h>

/// Numbers written with either a point or a comma as the decimal separator, read and rewritten for
/// the C run-time numeric locale. A class of static members only.
class NLS_EXPORT nlsUtils {
public:
    /// Asks the C run time for its decimal point and remembers it for the other operations.
    static char lookup_decimal_point();
    /// Replaces the rightmost comma or point of `text` with the remembered decimal point; 1 when a
    /// character was replaced, 0 when there was none (or `text` is null).
    static int convert_decimal_point(utString* text);
    /// 1 for a digit or one of `+`, `,`, `-`, `.`.
    static int is_numeric(char c);
    /// 1 when `text` is not empty, every character passes is_numeric(char), and it holds at most
    /// one separator. Signs are accepted anywhere.
    static int is_numeric(const utString& text);

protected:
    nlsUtils() {}
    ~nlsUtils() {}

    /// The value of `text` read with whichever separator it was written with: the first character
    /// that cannot belong to a plain number becomes the decimal point. Only the first 63
    /// characters are read; null gives 0.0.
    static double fiddle_atof(const char* text);

private:
    static char m_decimal_point;
};

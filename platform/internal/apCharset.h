#pragma once

// Charsets of 8-bit text: the one the process takes text in, names compared as the system's
// converter takes them, and conversions between two. The names and their code pages are shared
// (apCharsetNames.cpp); what the process takes and the converter are each backend's (apCharset.cpp:
// the LC_CTYPE locale and iconv on POSIX, the ANSI code page and the code-page functions on
// Windows).

#include <platform/apExport.h>

#include <cstddef>
#include <memory>
#include <string>

/// The charset of the 8-bit text that the process reads and writes at this moment: the codeset
/// of the calling thread's LC_CTYPE locale on POSIX ("UTF-8", "ISO-8859-1"; "ANSI_X3.4-1968" in
/// the "C" locale), the ANSI code page on Windows ("CP1252", "UTF-8" for code page 65001). The
/// text lives at least until the locale changes.
NLS_EXPORT const char* ap_output_charset();

/// Whether `a` and `b` name one charset: letter case, a "//" suffix ("UTF-8//TRANSLIT") and the
/// usual aliases ("utf8", "latin1", "ujis") do not matter. Names the library does not know are
/// one charset only when spelt alike.
NLS_EXPORT bool ap_same_charset(const char* a, const char* b);

/// The Windows code page of the charset `name` ("ISO-8859-2" 28592, "CP1252" 1252, "UTF-8"
/// 65001), or 0 when it has none or the name is unknown.
NLS_EXPORT unsigned int ap_charset_code_page(const char* name);

/// Converts text from one charset into another, one text and one thread at a time. Characters
/// that the target lacks become the nearest it has, else '?'.
class NLS_EXPORT apCharsetConverter {
public:
    apCharsetConverter(const char* from, const char* to);
    ~apCharsetConverter();
    apCharsetConverter(const apCharsetConverter&) = delete;
    apCharsetConverter& operator=(const apCharsetConverter&) = delete;

    /// Whether the system converts between the two charsets (both names known).
    bool valid() const;
    /// The `length` bytes at `text` in the target charset, into `out`; false when they are not
    /// valid text of the source charset.
    bool convert(const char* text, std::size_t length, std::string& out);

private:
    struct State;
    std::unique_ptr<State> m_state;
};

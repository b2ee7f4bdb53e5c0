#pragma once

// Conversions between the library's 8-bit text and Windows' wide text. On Windows the library's
// 8-bit text is in the ANSI code page, as the C run time's file and locale functions take it.

#include <platform/utString.h>

#include <string>

/// `text` as wide characters; false when it is not valid text of the ANSI code page.
bool ap_widen(const char* text, std::wstring& wide);
/// `wide` (of `length` characters, or up to its NUL when negative) in the ANSI code page; false
/// when a character has no equivalent there. Names of files and keys must come back exactly, so
/// that no name is changed into another; display text (`best_fit`) may lose accents ("Maori" for
/// "M\u0101ori").
bool ap_narrow(const wchar_t* wide, int length, utString& text, bool best_fit = false);

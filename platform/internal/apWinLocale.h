#pragma once

// Windows locale information by the Windows names, for code that speaks them (tests, Windows
// programs): the library itself asks apLocale.h. Each backend's apWinApi.h declares the Windows
// types and constants: Windows' own, or the POSIX stand-ins.

#include <platform/apExport.h>

#include <apWinApi.h>

/// Locale data of `lcid` (LOCALE_USER_DEFAULT and LOCALE_SYSTEM_DEFAULT mean the user's locale)
/// as NUL-terminated 8-bit text in `buffer` (in the ANSI code page on Windows). Returns the
/// characters written including the NUL; 0 for an unknown locale or type, or a buffer too small,
/// and then writes only an empty text. A `size` of 0 asks for the size needed, and writes nothing.
NLS_EXPORT int GetLocaleInfoU(LCID lcid, LCTYPE type, char* buffer, int size);

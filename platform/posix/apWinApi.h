#pragma once

// Stand-ins for the Windows types, constants and national-language functions that the library
// uses, under their Windows names. The user's locale comes from NLS_USER_LOCALE or the POSIX
// locale variables (see GetUserDefaultLCID); locale data from a table of Windows locales.

#include <platform/apExport.h>

#include <cstdint>

using LCID = std::uint32_t;
using LCTYPE = std::uint32_t;
using DWORD = std::uint32_t;
using BOOL = int;
using LPWSTR = wchar_t*;
using LPCWSTR = const wchar_t*;
using LOCALE_ENUMPROCW = BOOL (*)(LPWSTR);

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

constexpr LCID LOCALE_USER_DEFAULT = 0x0400;
constexpr LCID LOCALE_SYSTEM_DEFAULT = 0x0800;

constexpr LCTYPE LOCALE_SABBREVLANGNAME = 0x0003;
constexpr LCTYPE LOCALE_SABBREVCTRYNAME = 0x0007;
constexpr LCTYPE LOCALE_SISO639LANGNAME = 0x0059;
constexpr LCTYPE LOCALE_SISO3166CTRYNAME = 0x005A;
constexpr LCTYPE LOCALE_SNAME = 0x005C;
constexpr LCTYPE LOCALE_SENGLANGUAGE = 0x1001;
constexpr LCTYPE LOCALE_IDEFAULTANSICODEPAGE = 0x1004;

constexpr DWORD LCID_INSTALLED = 1;
constexpr DWORD LCID_SUPPORTED = 2;

/// The user's locale, read afresh at each call: NLS_USER_LOCALE when it names a known locale
/// ("en-GB"; letter case ignored, '_' taken for '-'), else the first of LC_ALL, LC_MESSAGES and
/// LANG that names one ("de_DE.UTF-8", "de_DE@euro"), else en-US (0x0409).
NLS_EXPORT LCID GetUserDefaultLCID();

/// Locale data of a locale name (null: the user's locale) as wide text; as GetLocaleInfoU.
NLS_EXPORT int GetLocaleInfoEx(LPCWSTR locale_name, LCTYPE type, LPWSTR buffer, int size);

/// Calls `callback` with the identifier of each locale as 8 hexadecimal digits ("00000809"), in
/// ascending order, until it returns FALSE. `flags` is LCID_INSTALLED or LCID_SUPPORTED (the same
/// here); FALSE for other flags or a null callback.
NLS_EXPORT BOOL EnumSystemLocalesW(LOCALE_ENUMPROCW callback, DWORD flags);

#pragma once

// Stand-ins for the Windows types and constants that GetLocaleInfoU takes, under their Windows
// names; the locales are those of the table in apWinLocaleTable.cpp.

#include <cstdint>

using LCID = std::uint32_t;
using LCTYPE = std::uint32_t;

constexpr LCID LOCALE_USER_DEFAULT = 0x0400;
constexpr LCID LOCALE_SYSTEM_DEFAULT = 0x0800;

constexpr LCTYPE LOCALE_SABBREVLANGNAME = 0x0003;
constexpr LCTYPE LOCALE_SABBREVCTRYNAME = 0x0007;
constexpr LCTYPE LOCALE_SISO639LANGNAME = 0x0059;
constexpr LCTYPE LOCALE_SISO3166CTRYNAME = 0x005A;
constexpr LCTYPE LOCALE_SNAME = 0x005C;
constexpr LCTYPE LOCALE_SENGLANGUAGE = 0x1001;
constexpr LCTYPE LOCALE_IDEFAULTANSICODEPAGE = 0x1004;

#pragma once

// Locale information as the domain manager's locale sources share it. Internal: not installed.

#include <platform/apWinLocale.h>
#include <platform/utString.h>

/// Locale data of `lcid` as text; empty when the query fails.
utString nls_locale_info(LCID lcid, LCTYPE type);
/// A language's English name up to its first blank: "Chinese (Simplified)" gives "Chinese".
utString nls_first_word(const utString& name);

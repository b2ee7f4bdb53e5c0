#pragma once

// What the library's own sources share and applications never see. Not installed.

#include <platform/apWinLocale.h>
#include <platform/utString.h>

/// Locale data of `lcid` as text; empty when the query fails.
utString nls_locale_info(LCID lcid, LCTYPE type);
/// A language's English name up to its first blank: "Chinese (Simplified)" gives "Chinese".
utString nls_first_word(const utString& name);

/// Holds the library's one lock for its lifetime. Every operation that changes the process-wide
/// state, or reads more of it than one word, runs under it; lookups never take it. The lock is
/// recursive, so that handlers and sinks called during a change may call back into the library.
/// When the outermost guard of a thread ends, what lookups read is published again
/// (nlsDomainManager::publish).
class nlsChangeGuard {
public:
    nlsChangeGuard();
    ~nlsChangeGuard();
    nlsChangeGuard(const nlsChangeGuard&) = delete;
    nlsChangeGuard& operator=(const nlsChangeGuard&) = delete;
};

#pragma once

// Internal: not installed.

#include <platform/apExport.h>

/// Holds the library's one lock for its lifetime. Every operation that changes the process-wide
/// state, or reads more of it than one word, runs under it; lookups never take it. The lock is
/// recursive, so that handlers and sinks called during a change may call back into the library.
/// When the outermost guard of a thread ends, what lookups read is published again
/// (nlsDomainManager::publish).
class nlsChangeGuard {
public:
    nlsChangeGuard();
    ~nlsChangeGuard();
    /// How many times the lock was taken in this process, nested guards included: one change
    /// of the library's state takes it once.
    NLS_EXPORT static unsigned long acquisitions();
    nlsChangeGuard(const nlsChangeGuard&) = delete;
    nlsChangeGuard& operator=(const nlsChangeGuard&) = delete;
};

#pragma once

// How long a write to the settings store waits for another writer to finish. Only the POSIX
// store waits (SQLite's busy handler); the Windows registry serialises writers itself.

#include <platform/apExport.h>

/// The wait in milliseconds: 5000 unless a test shortened it.
int ap_registry_lock_wait();
/// A seam for tests, which need not wait seconds for a store they lock: sets the wait and
/// returns the one set before.
NLS_EXPORT int ap_set_registry_lock_wait(int milliseconds);

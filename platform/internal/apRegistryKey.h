#pragma once

// What every registry backend takes for a key path. Internal: not installed.

#include <platform/utString.h>

/// The key path without trailing backslashes; false when it names no key (empty, beginning with
/// a backslash, or with an empty component).
bool ap_registry_key_path(const utString& key, utString& path);

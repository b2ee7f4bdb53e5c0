#pragma once

// What the test helpers need of the system: tests/support/posix/ or windows/.

#include <cstdint>
#include <string>

namespace nlstest {

/// Creates the folder `path` (its parent exists); nothing when it exists already.
void make_directory(const std::string& path);

/// Sets the environment variable `name` to `value`, or removes it for a null value.
void set_env(const char* name, const char* value);

/// Sets the time of last change of the file at `path` to `seconds` and `nanoseconds` after
/// 1970, as finely as the system keeps it.
void set_modified(const std::string& path, std::int64_t seconds, long nanoseconds);

} // namespace nlstest

#pragma once

// What the test helpers need of the system: tests/support/posix/ or windows/.

#include <string>

namespace nlstest {

/// Creates the folder `path` (its parent exists); nothing when it exists already.
void make_directory(const std::string& path);

} // namespace nlstest

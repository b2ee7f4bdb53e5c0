#include <platform/apUtils.h>

#include <cstdlib>

// Windows starts no program with privileges beyond its user's on an environment that someone
// else chose: the variables are always the user's own.
const char* ap_secure_getenv(const char* name) {
    return std::getenv(name);
}

#include <platform/apUtils.h>

#include <cstdlib>

const char* ap_secure_getenv(const char* name) {
    return ::secure_getenv(name);
}

// Stores a display language as a set-user-ID program would, and prints whether the process ran
// with privileges ("secure 1") and the code that the write gave.

#include <nls/nlsErrorData.h>
#include <nls/nlsLanguage.h>
#include <nls/nlsWinApplicationSettings.h>

#include <cstdio>
#include <sys/auxv.h>

int main() {
    nlsWinApplicationSettings settings(utString("Software\\Maker\\App"));
    unsigned int code = settings.set_display_language(nlsLanguage("German")).code();
    std::printf("secure %lu code %u\n", ::getauxval(AT_SECURE), code);
    // Before exit: a sanitizer's leak check cannot run in a set-user-ID process and ends it.
    std::fflush(stdout);
    return 0;
}

// Uses the installed headers and library the way an application would, naming headers both ways
// the package supports.
#include <nls/nlsLoadedDomain.h>
#include <platform/utString.h>

int main() {
    unsigned int code = 0;
    nlsLoadedDomain domain(utString("/nonexistent/catalogue.mo"), &code);
    const char* message = "untouched";
    return code == 17 && domain.failed == 1 && domain.translate(message) == message ? 0 : 1;
}

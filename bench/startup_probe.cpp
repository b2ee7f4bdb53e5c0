// A whole program as command-line tools are: it starts, finds the catalogue of one domain,
// translates the messages it is given, prints them and ends. nls_startup_bench runs it as a child
// process, built three times from this one source with the same compiler and options: on this
// library, on glibc's gettext (NLS_PROBE_GLIBC), and on neither (NLS_PROBE_EMPTY), which prints
// the messages as they are.
//
// usage: probe DIRECTORY DOMAIN [--hold] MESSAGE...
// With --hold the program closes its standard output after printing and waits until its standard
// input ends, so that the driver can read its memory while it still holds the catalogue.

#if defined(NLS_PROBE_GLIBC)
#include <clocale>
#include <libintl.h>
#elif !defined(NLS_PROBE_EMPTY)
#include <nls/nlsDataBase.h>
#include <nls/nlsDomainManager.h>
#endif

#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace {

int run(const char* directory, const char* domain, bool hold, char** messages) {
#if defined(NLS_PROBE_GLIBC)
    std::setlocale(LC_ALL, "");
    bindtextdomain(domain, directory);
    textdomain(domain);
    for (; *messages; ++messages)
        std::puts(gettext(*messages));
#elif defined(NLS_PROBE_EMPTY)
    (void)directory;
    (void)domain;
    for (; *messages; ++messages)
        std::puts(*messages);
#else
    nlsDataBase database(directory, domain);
    nlsDomainManager::textdomain(domain);
    for (; *messages; ++messages)
        std::puts(nlsDomainManager::gettext(*messages));
#endif
    if (hold) {
        std::fclose(stdout);
        char byte;
        while (::read(0, &byte, 1) > 0) {
        }
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fputs("usage: probe DIRECTORY DOMAIN [--hold] MESSAGE...\n", stderr);
        return 2;
    }
    bool hold = argc > 3 && std::strcmp(argv[3], "--hold") == 0;
    return run(argv[1], argv[2], hold, argv + (hold ? 4 : 3));
}

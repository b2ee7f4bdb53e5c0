// A whole C++ program as command-line tools are: it starts, finds the catalogue of one domain,
// translates the messages it is given, prints them through the standard streams and ends.
// nls_startup_bench runs it as a child process, built three times from this one source with the
// same compiler and options: on this library, on glibc's gettext (NLS_PROBE_GLIBC), and on
// neither (NLS_PROBE_EMPTY), which prints the messages as they are. All three load the C++ run
// time, as every program that uses this library does.
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

#include <cstring>
#include <iostream>
#include <unistd.h>

namespace {

int run(const char* directory, const char* domain, bool hold, char** messages) {
#if defined(NLS_PROBE_GLIBC)
    std::setlocale(LC_ALL, "");
    bindtextdomain(domain, directory);
    textdomain(domain);
    for (; *messages; ++messages)
        std::cout << gettext(*messages) << '\n';
#elif defined(NLS_PROBE_EMPTY)
    (void)directory;
    (void)domain;
    for (; *messages; ++messages)
        std::cout << *messages << '\n';
#else
    nlsDataBase database(directory, domain);
    nlsDomainManager::textdomain(domain);
    for (; *messages; ++messages)
        std::cout << nlsDomainManager::gettext(*messages) << '\n';
#endif
    std::cout.flush();
    if (hold) {
        ::close(1);
        char byte;
        while (::read(0, &byte, 1) > 0) {
        }
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << "usage: probe DIRECTORY DOMAIN [--hold] MESSAGE...\n";
        return 2;
    }
    bool hold = argc > 3 && std::strcmp(argv[3], "--hold") == 0;
    return run(argv[1], argv[2], hold, argv + (hold ? 4 : 3));
}

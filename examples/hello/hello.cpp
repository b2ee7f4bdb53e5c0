// A program with one text domain, "hello": its messages are extracted, merged into the
// translations and compiled by the CMake functions of nls (CMakeLists.txt beside it).

#include <nls/nlsDataBase.h>
#include <nls/nlsDomainManager.h>

#include <cstdio>

// Translates a message of the current domain; xgettext finds it through the keyword _.
#define _(message) nlsDomainManager::gettext(message)

int main(int argc, char**) {
    // The messages are English: English users need no catalogue, and are told nothing about it.
    nlsDomainManager::set_source_language(utString("en"));
    // Damaged catalogues are reported; a missing one for another language is not.
    nlsDataBase::error_handler(nlsDataBase::report_errors_only);
    nlsDataBase hello("locale", "hello"); // locale/de/LC_MESSAGES/hello.mo
    nlsDomainManager::textdomain("hello");
    std::puts(_("Hello, world!"));
    unsigned long n = static_cast<unsigned long>(argc);
    std::printf(nlsDomainManager::ngettext("%lu argument", "%lu arguments", n), n);
    std::putchar('\n');
    std::puts(nlsDomainManager::pgettext("menu", "Open"));
    std::puts(hello.pgettext("button", "Open")); // through the database itself
}

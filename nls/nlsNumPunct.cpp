#include <nls/nlsNumPunct.h>

#include <nls/nlsLanguage.h>
#include <platform/apCrtLocale.h>

nlsNumPunct::nlsNumPunct(const char* name, std::size_t refs)
    : std::numpunct_byname<char>(
          ap_locale_name(name ? name : "C", nlsLanguage(name ? name : "C").iso_name().c_str())
              .c_str(),
          refs) {}

nlsNumPunct::~nlsNumPunct() = default;

char nlsNumPunct::do_thousands_sep() const {
    return '\0';
}

std::string nlsNumPunct::do_grouping() const {
    return std::string();
}

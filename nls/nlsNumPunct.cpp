#include <nls/nlsNumPunct.h>

#include <nls/nlsLanguage.h>
#include <platform/internal/apCrtLocale.h>

namespace {

char decimal_point_of(const char* name) {
    std::locale named = ap_make_locale(std::locale::classic(), name,
                                       nlsLanguage(name).iso_name().c_str(), std::locale::numeric);
    return std::use_facet<std::numpunct<char>>(named).decimal_point();
}

} // namespace

nlsNumPunct::nlsNumPunct(const char* name, std::size_t refs)
    : std::numpunct_byname<char>("C", refs), m_decimal_point(decimal_point_of(name ? name : "C")) {}

nlsNumPunct::nlsNumPunct(const std::locale& named, std::size_t refs)
    : std::numpunct_byname<char>("C", refs),
      m_decimal_point(std::use_facet<std::numpunct<char>>(named).decimal_point()) {}

nlsNumPunct::~nlsNumPunct() = default;

char nlsNumPunct::do_decimal_point() const {
    return m_decimal_point;
}

char nlsNumPunct::do_thousands_sep() const {
    return '\0';
}

std::string nlsNumPunct::do_grouping() const {
    return std::string();
}

#include <platform/internal/apCrtLocale.h>

#include <apWinApi.h>

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>
#include <utility>

// mingw-w64's standard library builds no named locale but "C": std::locale("German") throws.
// The C run time knows the names, so a locale for a name is the base locale with numeric
// punctuation taken from the run time's localeconv() while that name is in force.

namespace {

// "Language_CTY" for the Windows locale called `iso_name` ("German_DEU" for "de-DE"), the form
// in which the run time takes a language with a three-letter country abbreviation; empty when
// Windows does not know the name.
std::string language_country(const char* iso_name) {
    wchar_t wide[LOCALE_NAME_MAX_LENGTH];
    if (!iso_name || !*iso_name ||
        !MultiByteToWideChar(CP_ACP, 0, iso_name, -1, wide, LOCALE_NAME_MAX_LENGTH))
        return std::string();
    wchar_t language[128], country[16];
    if (!GetLocaleInfoEx(wide, LOCALE_SENGLANGUAGE, language, 128) ||
        !GetLocaleInfoEx(wide, LOCALE_SABBREVCTRYNAME, country, 16))
        return std::string();
    std::string result;
    // English names are ASCII; the first word is the language ("Chinese (Simplified)").
    for (const wchar_t* c = language; *c && *c != L' '; ++c)
        result += static_cast<char>(*c < 0x80 ? *c : '?');
    result += '_';
    for (const wchar_t* c = country; *c; ++c)
        result += static_cast<char>(*c < 0x80 ? *c : '?');
    return result;
}

// The C run time's setlocale for a library name: the name as it stands ("German", "English_GBR",
// ""), else "Language-CTY" as "Language_CTY", else the table's ISO name as "Language_CTY".
const char* crt_setlocale(int category, const char* name, const char* iso_name) {
    if (const char* set = std::setlocale(category, name)) return set;
    const char* hyphen = std::strrchr(name, '-');
    if (hyphen && hyphen != name && std::strlen(hyphen + 1) == 3) {
        std::string underscored(name);
        underscored[static_cast<std::size_t>(hyphen - name)] = '_';
        if (const char* set = std::setlocale(category, underscored.c_str())) return set;
    }
    std::string from_iso = language_country(iso_name);
    return from_iso.empty() ? nullptr : std::setlocale(category, from_iso.c_str());
}

struct Punctuation {
    char decimal_point = '.';
    char thousands_sep = ',';
    std::string grouping;
    wchar_t wide_decimal_point = L'.';
    wchar_t wide_thousands_sep = L',';
};

wchar_t widen(char c) {
    wchar_t wide = 0;
    return std::mbtowc(&wide, &c, 1) == 1 ? wide
                                          : static_cast<wchar_t>(static_cast<unsigned char>(c));
}

// The numeric punctuation of `name`, read with the run time's numeric and character-type
// categories switched to it for the moment; the process locale is as before afterwards.
Punctuation punctuation_of(const char* name, const char* iso_name) {
    const char* current = std::setlocale(LC_ALL, nullptr);
    const std::string saved = current ? current : "C";
    if (!crt_setlocale(LC_NUMERIC, name, iso_name) || !crt_setlocale(LC_CTYPE, name, iso_name)) {
        std::setlocale(LC_ALL, saved.c_str());
        throw std::runtime_error(std::string("locale name not valid: ") + name);
    }
    const std::lconv* conventions = std::localeconv();
    Punctuation result;
    if (conventions->decimal_point[0]) result.decimal_point = conventions->decimal_point[0];
    if (conventions->thousands_sep[0]) result.thousands_sep = conventions->thousands_sep[0];
    result.grouping = conventions->grouping;
    result.wide_decimal_point = widen(result.decimal_point);
    result.wide_thousands_sep = widen(result.thousands_sep);
    std::setlocale(LC_ALL, saved.c_str());
    return result;
}

template <class Char> class CrtNumPunct : public std::numpunct<Char> {
public:
    CrtNumPunct(Char decimal_point, Char thousands_sep, std::string grouping)
        : m_decimal_point(decimal_point), m_thousands_sep(thousands_sep),
          m_grouping(std::move(grouping)) {}

protected:
    Char do_decimal_point() const override { return m_decimal_point; }
    Char do_thousands_sep() const override { return m_thousands_sep; }
    std::string do_grouping() const override { return m_grouping; }

private:
    Char m_decimal_point;
    Char m_thousands_sep;
    std::string m_grouping;
};

bool is_classic(const char* name) {
    return std::strcmp(name, "C") == 0 || std::strcmp(name, "POSIX") == 0;
}

} // namespace

const char* ap_setlocale(int category, const char* name, const char* iso_name) {
    if (!name) return std::setlocale(category, nullptr);
    return crt_setlocale(category, name, iso_name);
}

std::locale ap_make_locale(const std::locale& base, const char* name, const char* iso_name,
                           std::locale::category category) {
    if (is_classic(name)) return std::locale(base, name, category);
    Punctuation p = punctuation_of(name, iso_name);
    if (!(category & std::locale::numeric)) return base;
    std::locale narrow(base, new CrtNumPunct<char>(p.decimal_point, p.thousands_sep, p.grouping));
    return std::locale(
        narrow, new CrtNumPunct<wchar_t>(p.wide_decimal_point, p.wide_thousands_sep, p.grouping));
}

bool ap_unnamed_locales() {
    return true;
}

#include <nls/nlsUtils.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

char nlsUtils::m_decimal_point = '.';

char nlsUtils::lookup_decimal_point() {
    char formatted[64];
    std::snprintf(formatted, sizeof formatted, "%2.1f", 1.1);
    m_decimal_point = formatted[1];
    return m_decimal_point;
}

int nlsUtils::convert_decimal_point(utString* text) {
    if (!text) return 0;
    for (int i = text->length() - 1; i >= 0; --i) {
        char c = (*text)[i];
        if (c == ',' || c == '.') {
            text->set_char(i, m_decimal_point);
            return 1;
        }
    }
    return 0;
}

int nlsUtils::is_numeric(char c) {
    if (c >= '+' && c <= '.') return 1;
    return std::isdigit(static_cast<unsigned char>(c)) ? 1 : 0;
}

int nlsUtils::is_numeric(const utString& text) {
    if (text.empty()) return 0;
    bool separator_seen = false;
    for (int i = text.length() - 1; i >= 0; --i) {
        char c = text[i];
        if (!is_numeric(c)) return 0;
        if (c == ',' || c == '.' || c == m_decimal_point) {
            if (separator_seen) return 0;
            separator_seen = true;
        }
    }
    return 1;
}

double nlsUtils::fiddle_atof(const char* text) {
    if (!text) return 0.0;
    char copy[64];
    std::strncpy(copy, text, sizeof copy - 1);
    copy[sizeof copy - 1] = '\0';
    std::size_t plain = std::strspn(copy, "+-e0123456789inf");
    if (copy[plain] != '\0') copy[plain] = m_decimal_point;
    // strtod rather than its equivalent atof: some C run times' atof reads no "inf".
    return std::strtod(copy, nullptr);
}

#include "apWinLocaleTable.h"

namespace {

// clang-format off
constexpr apWinLocaleRow kLocales[] = {
    {0x0401, "ar-SA", "Arabic", "ARA", "SAU", "ar", "SA", "1256"},
    {0x0402, "bg-BG", "Bulgarian", "BGR", "BGR", "bg", "BG", "1251"},
    {0x0403, "ca-ES", "Catalan", "CAT", "ESP", "ca", "ES", "1252"},
    {0x0404, "zh-TW", "Chinese", "CHT", "TWN", "zh", "TW", "950"},
    {0x0405, "cs-CZ", "Czech", "CSY", "CZE", "cs", "CZ", "1250"},
    {0x0406, "da-DK", "Danish", "DAN", "DNK", "da", "DK", "1252"},
    {0x0407, "de-DE", "German", "DEU", "DEU", "de", "DE", "1252"},
    {0x0408, "el-GR", "Greek", "ELL", "GRC", "el", "GR", "1253"},
    {0x0409, "en-US", "English", "ENU", "USA", "en", "US", "1252"},
    {0x040A, "es-ES_tradnl", "Spanish", "ESP", "ESP", "es", "ES", "1252"},
    {0x040B, "fi-FI", "Finnish", "FIN", "FIN", "fi", "FI", "1252"},
    {0x040C, "fr-FR", "French", "FRA", "FRA", "fr", "FR", "1252"},
    {0x040D, "he-IL", "Hebrew", "HEB", "ISR", "he", "IL", "1255"},
    {0x040E, "hu-HU", "Hungarian", "HUN", "HUN", "hu", "HU", "1250"},
    {0x040F, "is-IS", "Icelandic", "ISL", "ISL", "is", "IS", "1252"},
    {0x0410, "it-IT", "Italian", "ITA", "ITA", "it", "IT", "1252"},
    {0x0411, "ja-JP", "Japanese", "JPN", "JPN", "ja", "JP", "932"},
    {0x0412, "ko-KR", "Korean", "KOR", "KOR", "ko", "KR", "949"},
    {0x0413, "nl-NL", "Dutch", "NLD", "NLD", "nl", "NL", "1252"},
    {0x0415, "pl-PL", "Polish", "PLK", "POL", "pl", "PL", "1250"},
    {0x0416, "pt-BR", "Portuguese", "PTB", "BRA", "pt", "BR", "1252"},
    {0x0418, "ro-RO", "Romanian", "ROM", "ROU", "ro", "RO", "1250"},
    {0x0419, "ru-RU", "Russian", "RUS", "RUS", "ru", "RU", "1251"},
    {0x041A, "hr-HR", "Croatian", "HRV", "HRV", "hr", "HR", "1250"},
    {0x041B, "sk-SK", "Slovak", "SKY", "SVK", "sk", "SK", "1250"},
    {0x041D, "sv-SE", "Swedish", "SVE", "SWE", "sv", "SE", "1252"},
    {0x041E, "th-TH", "Thai", "THA", "THA", "th", "TH", "874"},
    {0x041F, "tr-TR", "Turkish", "TRK", "TUR", "tr", "TR", "1254"},
    {0x0421, "id-ID", "Indonesian", "IND", "IDN", "id", "ID", "1252"},
    {0x0422, "uk-UA", "Ukrainian", "UKR", "UKR", "uk", "UA", "1251"},
    {0x0424, "sl-SI", "Slovenian", "SLV", "SVN", "sl", "SI", "1250"},
    {0x0425, "et-EE", "Estonian", "ETI", "EST", "et", "EE", "1257"},
    {0x0426, "lv-LV", "Latvian", "LVI", "LVA", "lv", "LV", "1257"},
    {0x0427, "lt-LT", "Lithuanian", "LTH", "LTU", "lt", "LT", "1257"},
    {0x0429, "fa-IR", "Persian", "FAR", "IRN", "fa", "IR", "1256"},
    {0x042A, "vi-VN", "Vietnamese", "VIT", "VNM", "vi", "VN", "1258"},
    {0x0439, "hi-IN", "Hindi", "HIN", "IND", "hi", "IN", "0"},
    {0x043E, "ms-MY", "Malay", "MSL", "MYS", "ms", "MY", "1252"},
    {0x0804, "zh-CN", "Chinese", "CHS", "CHN", "zh", "CN", "936"},
    {0x0807, "de-CH", "German", "DES", "CHE", "de", "CH", "1252"},
    {0x0809, "en-GB", "English", "ENG", "GBR", "en", "GB", "1252"},
    {0x080A, "es-MX", "Spanish", "ESM", "MEX", "es", "MX", "1252"},
    {0x080C, "fr-BE", "French", "FRB", "BEL", "fr", "BE", "1252"},
    {0x0810, "it-CH", "Italian", "ITS", "CHE", "it", "CH", "1252"},
    {0x0813, "nl-BE", "Dutch", "NLB", "BEL", "nl", "BE", "1252"},
    {0x0816, "pt-PT", "Portuguese", "PTG", "PRT", "pt", "PT", "1252"},
    {0x081D, "sv-FI", "Swedish", "SVF", "FIN", "sv", "FI", "1252"},
    {0x0C01, "ar-EG", "Arabic", "ARE", "EGY", "ar", "EG", "1256"},
    {0x0C04, "zh-HK", "Chinese", "ZHH", "HKG", "zh", "HK", "950"},
    {0x0C07, "de-AT", "German", "DEA", "AUT", "de", "AT", "1252"},
    {0x0C09, "en-AU", "English", "ENA", "AUS", "en", "AU", "1252"},
    {0x0C0A, "es-ES", "Spanish", "ESN", "ESP", "es", "ES", "1252"},
    {0x0C0C, "fr-CA", "French", "FRC", "CAN", "fr", "CA", "1252"},
    {0x1004, "zh-SG", "Chinese", "ZHI", "SGP", "zh", "SG", "936"},
    {0x1007, "de-LU", "German", "DEL", "LUX", "de", "LU", "1252"},
    {0x1009, "en-CA", "English", "ENC", "CAN", "en", "CA", "1252"},
    {0x100C, "fr-CH", "French", "FRS", "CHE", "fr", "CH", "1252"},
    {0x1404, "zh-MO", "Chinese", "ZHM", "MAC", "zh", "MO", "950"},
    {0x1407, "de-LI", "German", "DEC", "LIE", "de", "LI", "1252"},
    {0x1409, "en-NZ", "English", "ENZ", "NZL", "en", "NZ", "1252"},
    {0x140C, "fr-LU", "French", "FRL", "LUX", "fr", "LU", "1252"},
    {0x1809, "en-IE", "English", "ENI", "IRL", "en", "IE", "1252"},
    {0x1C09, "en-ZA", "English", "ENS", "ZAF", "en", "ZA", "1252"},
    {0x240A, "es-CO", "Spanish", "ESO", "COL", "es", "CO", "1252"},
    {0x2C0A, "es-AR", "Spanish", "ESS", "ARG", "es", "AR", "1252"},
    {0x340A, "es-CL", "Spanish", "ESL", "CHL", "es", "CL", "1252"},
    {0x4009, "en-IN", "English", "ENN", "IND", "en", "IN", "1252"},
    {0x4809, "en-SG", "English", "ENE", "SGP", "en", "SG", "1252"},
    {0x540A, "es-US", "Spanish", "EST", "USA", "es", "US", "1252"},
};
// clang-format on

constexpr std::size_t kCount = sizeof kLocales / sizeof kLocales[0];

// ASCII only: the process locale, which the library itself changes, must not alter the match.
char fold(char c) {
    if (c == '_') return '-';
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Whether the first `length` characters of `name` are `stored`, folded alike.
bool same_name(const char* name, std::size_t length, const char* stored) {
    std::size_t i = 0;
    while (i < length && stored[i] != '\0' && fold(name[i]) == fold(stored[i]))
        ++i;
    return i == length && stored[i] == '\0';
}

} // namespace

const apWinLocaleRow* ap_locale_rows(std::size_t* count) {
    *count = kCount;
    return kLocales;
}

const apWinLocaleRow* ap_find_locale(LCID lcid) {
    for (const apWinLocaleRow& row : kLocales)
        if (row.lcid == lcid) return &row;
    return nullptr;
}

const apWinLocaleRow* ap_find_locale(const char* name, std::size_t length) {
    if (!name) return nullptr;
    for (const apWinLocaleRow& row : kLocales)
        if (same_name(name, length, row.name)) return &row;
    return nullptr;
}

const apWinLocaleRow* ap_find_language(const char* language, std::size_t length) {
    if (!language) return nullptr;
    for (const apWinLocaleRow& row : kLocales)
        if (same_name(language, length, row.iso639)) return &row;
    return nullptr;
}

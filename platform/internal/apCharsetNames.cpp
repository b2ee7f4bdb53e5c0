#include <platform/internal/apCharset.h>

#include <cstring>
#include <string>

namespace {

struct Charset {
    unsigned int code_page; ///< 0: none on Windows
    const char* names;      ///< the usual name first, then its aliases, upper case, blank-separated
};

// The charsets that catalogues and locales name, with the aliases the system's converter takes
// for one another. ISO 8859 spellings ("ISO8859-1", "ISO_8859-1") and "WINDOWS-1252" or
// "IBM850" for "CP1252" and "CP850" are folded before the table is read.
const Charset kCharsets[] = {
    {65001, "UTF-8 UTF8 ISO-10646/UTF8 ISO-10646/UTF-8"},
    {20127, "ANSI_X3.4-1968 ASCII US-ASCII ISO646-US US"},
    {28591, "ISO-8859-1 LATIN1 L1 CP819"},
    {28592, "ISO-8859-2 LATIN2 L2"},
    {28593, "ISO-8859-3 LATIN3 L3"},
    {28594, "ISO-8859-4 LATIN4 L4"},
    {28595, "ISO-8859-5 CYRILLIC"},
    {28596, "ISO-8859-6 ARABIC"},
    {28597, "ISO-8859-7 GREEK"},
    {28598, "ISO-8859-8 HEBREW"},
    {28599, "ISO-8859-9 LATIN5 L5"},
    {0, "ISO-8859-10 LATIN6 L6"},
    {28603, "ISO-8859-13 LATIN7 L7"},
    {0, "ISO-8859-14 LATIN8 L8"},
    {28605, "ISO-8859-15 LATIN-9 LATIN9"},
    {0, "ISO-8859-16 LATIN10"},
    {20866, "KOI8-R"},
    {21866, "KOI8-U"},
    {874, "TIS-620 TIS620"},
    {1250, "CP1250 MS-EE"},
    {1251, "CP1251 MS-CYRL"},
    {1252, "CP1252 MS-ANSI"},
    {1253, "CP1253 MS-GREEK"},
    {1254, "CP1254 MS-TURK"},
    {1255, "CP1255 MS-HEBR"},
    {1256, "CP1256 MS-ARAB"},
    {1257, "CP1257 WINBALTRIM"},
    {20932, "EUC-JP EUCJP UJIS"},
    {932, "SHIFT_JIS SJIS SHIFT-JIS MS_KANJI"},
    {932, "CP932 WINDOWS-31J"},
    {51949, "EUC-KR EUCKR"},
    {949, "CP949 UHC"},
    {1361, "JOHAB"},
    {936, "GBK"},
    {20936, "GB2312 EUC-CN EUCCN"},
    {54936, "GB18030"},
    {950, "BIG5 BIG-5 BIG-FIVE BIGFIVE CN-BIG5"},
    {0, "EUC-TW EUCTW"},
};

bool starts_with(const std::string& text, const char* prefix) {
    return text.compare(0, std::strlen(prefix), prefix) == 0;
}

bool all_digits(const std::string& text, std::size_t from) {
    return from < text.size() && text.find_first_not_of("0123456789", from) == std::string::npos;
}

// The name in one spelling: upper case, without a "//" suffix or trailing slashes, ISO 8859
// parts as "ISO-8859-N", and "WINDOWS-N" or "IBMN" as "CPN".
std::string folded(const char* name) {
    const char* suffix = std::strstr(name, "//");
    std::string text(name, suffix ? static_cast<std::size_t>(suffix - name) : std::strlen(name));
    while (!text.empty() && text.back() == '/')
        text.pop_back();
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (starts_with(text, "ISO")) {
        std::size_t at = 3;
        if (at < text.size() && (text[at] == '-' || text[at] == '_')) ++at;
        if (text.compare(at, 4, "8859") == 0) {
            at += 4;
            if (at < text.size() && (text[at] == '-' || text[at] == '_')) ++at;
            if (all_digits(text, at)) return "ISO-8859-" + text.substr(at);
        }
    }
    if (starts_with(text, "WINDOWS-") && all_digits(text, 8)) return "CP" + text.substr(8);
    if (starts_with(text, "IBM") && all_digits(text, 3)) return "CP" + text.substr(3);
    return text;
}

// The table's row for a folded name, or null.
const Charset* find(const std::string& name) {
    for (const Charset& charset : kCharsets) {
        for (const char* word = charset.names; *word;) {
            std::size_t length = std::strcspn(word, " ");
            if (length == name.size() && name.compare(0, length, word, length) == 0)
                return &charset;
            word += length;
            word += std::strspn(word, " ");
        }
    }
    return nullptr;
}

} // namespace

bool ap_same_charset(const char* a, const char* b) {
    std::string first = folded(a), second = folded(b);
    const Charset* row = find(first);
    return row ? row == find(second) : first == second;
}

unsigned int ap_charset_code_page(const char* name) {
    std::string text = folded(name);
    if (const Charset* row = find(text)) return row->code_page;
    // Any other code page by its number, within the range Windows numbers them in.
    if (starts_with(text, "CP") && all_digits(text, 2) && text.size() <= 7) {
        unsigned long number = std::stoul(text.substr(2));
        return number <= 65535 ? static_cast<unsigned int>(number) : 0;
    }
    return 0;
}

#include <nls/nlsErrorData.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace {

struct ReportText {
    unsigned int code;
    bool warning;     // "NLS Warning: " rather than "NLS Error: "; the prefix is not the code's bit
    const char* text; // "%0" to "%4" stand for the record's strings
};

constexpr ReportText kReportTexts[] = {
    {nlsERROR_INITIALISATION, false, "Initialisation failed"},
    {nlsERROR_CATALOG_STAT, false, "Could not stat the catalog"},
    {nlsERROR_CATALOG_OPEN, false, "Could not open the catalog"},
    {nlsERROR_CATALOG_MAGIC, false, "Catalog Magic number failed"},
    {nlsERROR_CATALOG_REVISION, false, "Catalog revision number is incompatible"},
    {nlsERROR_NO_DOMAIN, false, "Domain does not exist"},
    {nlsERROR_MEMORY, false, "memory error"},
    {nlsERROR_LOCALE_SETUP, true, "Setting up locale for language <%0> failed"},
    {nlsERROR_CATALOG_LANGUAGE, true, "Catalog <%0> failed to load for language <%1>"},
    {nlsERROR_DOMAIN_PATH, false, "Path to domain failed"},
    {nlsERROR_DOMAIN_EXISTS, false,
     "Domain (nls database) already exists for catalog <%0> and language <%1>"},
    {nlsERROR_CATALOG_FALLBACK, true,
     "Catalog <%0> failed to load for language <%1> so fallback language <%2> was used"},
    {nlsERROR_CATALOG_FILE, true, "Catalog <%0> could not be loaded from <%1>"},
    {nlsERROR_CATALOG_SEARCH, true, "Catalog <%0> was looked for in <%1> under <%2>"},
};

// nlsERROR_FAILED has no text of its own, like any code missing from the table.
constexpr ReportText kUnknownCode = {0, false, "Internal error"};

// A string as a report shows it: control characters, which could start a forged second line or
// drive a terminal, become '?'.
utString printable(const utString& string) {
    const char* text = string.c_str();
    const char* end = text + string.length();
    auto is_control = [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; };
    if (std::none_of(text, end, is_control)) return string;
    std::string copy(text, end);
    std::replace_if(copy.begin(), copy.end(), is_control, '?');
    return utString(utStringArray{}, copy.data(), static_cast<int>(copy.size()));
}

} // namespace

nlsErrorData::nlsErrorData(unsigned int code) : m_code(code), m_string_count(0) {}

nlsErrorData::nlsErrorData(unsigned int code, const utString& string)
    : m_code(code), m_string_count(0) {
    add_string(string);
}

nlsErrorData::nlsErrorData(unsigned int code, const utString* strings, int count)
    : m_code(code), m_string_count(0) {
    // The count is the caller's word; clamping keeps a wrong one from reading past five slots.
    if (!strings) return;
    for (int i = 0; i < count && i < max_strings; ++i)
        add_string(strings[i]);
}

// Slots beyond the count are always empty, so copying every slot copies just the strings in use.
nlsErrorData::nlsErrorData(const nlsErrorData& other) = default;
nlsErrorData& nlsErrorData::operator=(const nlsErrorData& other) = default;
nlsErrorData::~nlsErrorData() = default;

void nlsErrorData::add_string(const utString& string) {
    if (m_string_count >= max_strings) return;
    m_strings[m_string_count++] = string;
}

const utString& nlsErrorData::get_string(int index) const {
    if (index >= 0 && index < m_string_count) return m_strings[index];
    static const utString range_error(utStringLit{}, "Internal range error");
    return range_error;
}

utString nlsErrorData::text() const {
    if (m_code == nlsERROR_NONE) return utString(utStringLit{}, "nlsERROR_NONE");
    const ReportText* entry = &kUnknownCode;
    for (const ReportText& candidate : kReportTexts)
        if (candidate.code == m_code) entry = &candidate;
    utString message(utStringLit{}, entry->warning ? "NLS Warning: " : "NLS Error: ");
    const char* piece = entry->text;
    while (const char* mark = std::strchr(piece, '%')) {
        message << utString(utStringArray{}, piece, static_cast<int>(mark - piece))
                << printable(get_string(mark[1] - '0'));
        piece = mark + 2;
    }
    return message << piece;
}

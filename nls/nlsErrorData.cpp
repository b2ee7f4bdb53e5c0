#include <nls/nlsErrorData.h>

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

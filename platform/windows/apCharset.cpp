#include <platform/internal/apCharset.h>

#include <apWinApi.h>

#include <climits>

const char* ap_output_charset() {
    // The ANSI code page is the process's for its whole life.
    static const std::string name = [] {
        UINT code_page = GetACP();
        return code_page == CP_UTF8 ? std::string("UTF-8") : "CP" + std::to_string(code_page);
    }();
    return name.c_str();
}

struct apCharsetConverter::State {
    UINT from, to;
};

apCharsetConverter::apCharsetConverter(const char* from, const char* to)
    : m_state(
          std::make_unique<State>(State{ap_charset_code_page(from), ap_charset_code_page(to)})) {
    if (!IsValidCodePage(m_state->from) || !IsValidCodePage(m_state->to))
        m_state->from = m_state->to = 0;
}

apCharsetConverter::~apCharsetConverter() = default;

bool apCharsetConverter::valid() const {
    return m_state->from != 0;
}

bool apCharsetConverter::convert(const char* text, std::size_t length, std::string& out) {
    out.clear();
    if (!valid() || length > INT_MAX) return false;
    if (length == 0) return true;
    const int n = static_cast<int>(length);
    int wide_length = MultiByteToWideChar(m_state->from, MB_ERR_INVALID_CHARS, text, n, nullptr, 0);
    if (wide_length <= 0) return false;
    std::wstring wide(static_cast<std::size_t>(wide_length), L'\0');
    MultiByteToWideChar(m_state->from, MB_ERR_INVALID_CHARS, text, n, &wide[0], wide_length);
    // Without flags a character the target lacks becomes its best fit ("o" for "\u0151"), else
    // the code page's default character, as iconv transliterates on POSIX.
    int needed =
        WideCharToMultiByte(m_state->to, 0, wide.data(), wide_length, nullptr, 0, nullptr, nullptr);
    if (needed <= 0) return false;
    out.resize(static_cast<std::size_t>(needed));
    WideCharToMultiByte(m_state->to, 0, wide.data(), wide_length, &out[0], needed, nullptr,
                        nullptr);
    return true;
}

#include <platform/internal/apCharset.h>

#include <cerrno>
#include <cstring>
#include <iconv.h>
#include <langinfo.h>

const char* ap_output_charset() {
    return nl_langinfo(CODESET);
}

struct apCharsetConverter::State {
    iconv_t descriptor;
};

namespace {

// The name without a "//" suffix, which the converter would take as instructions.
std::string bare(const char* name) {
    const char* suffix = std::strstr(name, "//");
    return suffix ? std::string(name, static_cast<std::size_t>(suffix - name)) : name;
}

} // namespace

apCharsetConverter::apCharsetConverter(const char* from, const char* to)
    : m_state(std::make_unique<State>()) {
    // Characters the target lacks are transliterated by the LC_CTYPE locale's rules ("EUR" for
    // the euro sign, "oe" for "\u00f6" in German), as the system's own message lookups give them.
    m_state->descriptor = iconv_open((bare(to) + "//TRANSLIT").c_str(), bare(from).c_str());
}

apCharsetConverter::~apCharsetConverter() {
    if (valid()) iconv_close(m_state->descriptor);
}

bool apCharsetConverter::valid() const {
    return m_state->descriptor != reinterpret_cast<iconv_t>(-1);
}

bool apCharsetConverter::convert(const char* text, std::size_t length, std::string& out) {
    if (!valid()) return false;
    iconv_t descriptor = m_state->descriptor;
    iconv(descriptor, nullptr, nullptr, nullptr, nullptr);
    char* in = const_cast<char*>(text);
    std::size_t left = length, done = 0;
    out.resize(length + 16);
    // The text, then the return to the initial shift state that stateful charsets end with.
    for (bool flushing = false;;) {
        char* to = &out[done];
        std::size_t room = out.size() - done;
        std::size_t result = flushing ? iconv(descriptor, nullptr, nullptr, &to, &room)
                                      : iconv(descriptor, &in, &left, &to, &room);
        done = out.size() - room;
        if (result == static_cast<std::size_t>(-1)) {
            if (errno != E2BIG) return false; // a byte sequence invalid or cut short
            out.resize(out.size() * 2);
        } else if (flushing) {
            break;
        } else {
            flushing = true;
        }
    }
    out.resize(done);
    return true;
}

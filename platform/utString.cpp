#include <platform/utString.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

int utRef::s_single = 0;

// Counts are atomic, so that copies of one text may be made and dropped in several threads; the
// sentinel is never written, so literal and null texts cost nothing.
void utRef::copy_constructor_imp(const utRef& other) {
    m_count = other.m_count;
    if (m_count != &s_single) __atomic_add_fetch(m_count, 1, __ATOMIC_RELAXED);
}

int utRef::assignment_imp(utRef& own, const utRef& other) {
    if (own.m_count == other.m_count) return 0;
    int last = own.destructor_imp();
    own.copy_constructor_imp(other);
    return last;
}

int utRef::destructor_imp() {
    if (m_count == &s_single) return 0;
    int last = __atomic_sub_fetch(m_count, 1, __ATOMIC_ACQ_REL) == 0;
    if (last) std::free(m_count);
    m_count = &s_single;
    return last;
}

namespace {

int* new_count() {
    int* count = static_cast<int*>(std::malloc(sizeof(int)));
    if (!count) throw std::bad_alloc();
    *count = 1;
    return count;
}

char* new_text(int capacity) {
    char* text = static_cast<char*>(std::malloc(static_cast<std::size_t>(capacity) + 1));
    if (!text) throw std::bad_alloc();
    return text;
}

int clamp_length(std::size_t n) {
    // Lengths are ints; a text this long is beyond what the library handles.
    if (n > 0x7ffffffe) throw std::bad_alloc();
    return static_cast<int>(n);
}

} // namespace

utString::utString(const char* text) {
    if (text) append(text, clamp_length(std::strlen(text)));
}

utString::utString(utStringLit, const char* text)
    : m_text(const_cast<char*>(text)), m_length(text ? clamp_length(std::strlen(text)) : 0) {}

utString::utString(utStringClaim, char* buffer, int length) {
    if (buffer) adopt(buffer, length > 0 ? length : clamp_length(std::strlen(buffer)));
}

utString::utString(utStringArray, const char* array, int n) {
    if (!array) return;
    if (n <= 0) {
        *this = utString(utStringLit{}, "");
        return;
    }
    append(array, n);
}

utString::utString(const utString& other, int start, int count) {
    if (!other.m_text) return;
    if (start < 0) start = 0;
    if (start > other.m_length) start = other.m_length;
    if (count < 0 || count > other.m_length - start) count = other.m_length - start;
    *this = utString(utStringArray{}, other.m_text + start, count);
}

utString::utString(const utString& other) : m_text(other.m_text), m_length(other.m_length) {
    m_ref.copy_constructor_imp(other.m_ref);
}

utString& utString::operator=(const utString& other) {
    char* old = m_text;
    if (utRef::assignment_imp(m_ref, other.m_ref)) std::free(old);
    m_text = other.m_text;
    m_length = other.m_length;
    return *this;
}

utString& utString::operator=(const char* text) {
    return *this = utString(text);
}

utString::~utString() {
    release();
}

void utString::release() {
    if (m_ref.destructor_imp()) std::free(m_text);
    m_text = nullptr;
    m_length = 0;
}

int utString::operator==(const utString& other) const {
    if (!m_text || !other.m_text) return !m_text && !other.m_text;
    return m_length == other.m_length && std::memcmp(m_text, other.m_text, m_length) == 0;
}

int utString::case_compare(const utString& other) const {
    const unsigned char* a = reinterpret_cast<const unsigned char*>(c_str());
    const unsigned char* b = reinterpret_cast<const unsigned char*>(other.c_str());
    for (;; ++a, ++b) {
        int diff = std::tolower(*a) - std::tolower(*b);
        if (diff != 0 || *a == 0) return diff;
    }
}

void utString::convert(int (*fn)(int)) {
    if (!m_text || m_length == 0) return;
    copy_or_grow(m_length);
    for (int i = 0; i < m_length; ++i)
        m_text[i] = static_cast<char>(fn(static_cast<unsigned char>(m_text[i])));
}

utString utString::operator+(const utString& other) const {
    utString sum;
    sum.append(c_str(), m_length);
    sum.append(other.c_str(), other.m_length);
    return sum;
}

utString& utString::operator+=(const utString& other) {
    if (other.m_text) append(other.m_text, other.m_length);
    return *this;
}

bool utString::is_shared() const {
    int count = m_ref.count();
    return count != 1 && count != -1;
}

void utString::copy_or_grow(int n) {
    if (n < m_length) n = m_length;
    char* text = new_text(n);
    if (m_text) std::memcpy(text, m_text, m_length);
    text[m_length] = '\0';
    adopt(text, m_length);
}

void utString::set_char(int i, char c) {
    if (i < 0 || i >= m_length) return;
    if (is_shared()) copy_or_grow(m_length);
    m_text[i] = c;
}

void utString::append(const char* text, int n) {
    // Always builds a new private text: cheap enough for the short strings the library keeps, and
    // it never disturbs a text that other strings share.
    if (n < 0) n = 0;
    if (n > 0x7ffffffe - m_length) throw std::bad_alloc();
    int length = m_length + n;
    char* joined = new_text(length);
    if (m_text) std::memcpy(joined, m_text, m_length);
    if (n > 0) std::memcpy(joined + m_length, text, n);
    joined[length] = '\0';
    adopt(joined, length);
}

void utString::adopt(char* text, int length) {
    int* count = nullptr;
    try {
        count = new_count();
    } catch (...) {
        std::free(text);
        throw;
    }
    release();
    m_text = text;
    m_length = length;
    m_ref = utRef(count);
}

namespace {
utAssertHandler g_assert_handler = nullptr;
int g_assert_failures = 0;
} // namespace

void ut_report_assert_failure(const char* file, int line, const char* message, const char* function,
                              const char* expression) {
    ++g_assert_failures;
    if (g_assert_handler) {
        g_assert_handler(file, line, message, function, expression);
        return;
    }
    std::fprintf(stderr, "Assertion failed: %s:%d: %s in %s (%s)\n", file ? file : "?", line,
                 message ? message : "", function ? function : "?", expression ? expression : "");
    std::fflush(stderr);
}

utAssertHandler ut_set_assert_handler(utAssertHandler handler) {
    utAssertHandler previous = g_assert_handler;
    g_assert_handler = handler;
    return previous;
}

int ut_assert_failure_count() {
    return g_assert_failures;
}

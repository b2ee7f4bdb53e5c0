#pragma once

#include <platform/apExport.h>

#include <cstddef>

/// @file
/// The library's reference-counted string and its assertion reports.

// Tags that choose how a utString takes its text.
struct utStringLit {};   ///< over literal text that outlives the string; nothing is copied
struct utStringClaim {}; ///< takes over a malloc'ed buffer (from apconcat)
struct utStringArray {}; ///< the first n characters of an array, NUL or not

/// The shared use count of a utString's text.
///
/// A string that owns a malloc'ed text points at a heap count of its holders. A string that owns
/// nothing (null or literal text) points at the sentinel s_single, whose value is 0 and never
/// changes, so such a text is never freed and is copied before it is written.
class NLS_EXPORT utRef {
public:
    utRef() : m_count(&s_single) {}
    /// Shares the heap count `count`.
    explicit utRef(int* count) : m_count(count) {}

    /// Makes this (a new reference) share the count of `other`.
    void copy_constructor_imp(const utRef& other);
    /// Drops this reference and shares `other`'s; non-zero when the old text lost its last holder.
    static int assignment_imp(utRef& own, const utRef& other);
    /// Drops this reference; non-zero when it was the last holder of an owned text.
    int destructor_imp();

    /// The text's holders; 0 when nothing owns it.
    int count() const { return __atomic_load_n(m_count, __ATOMIC_RELAXED); }
    bool owns_nothing() const { return m_count == &s_single; } ///< for a null or literal text

    /// The count of every text that nothing owns; always 0.
    static int s_single;

private:
    int* m_count;
};

/// Reference-counted 8-bit string. Copies share one text; a write makes the text private first.
class NLS_EXPORT utString {
public:
    utString() = default;
    /// A copy of `text`; null gives the null string.
    utString(const char* text);
    /// Over `text` without a copy: the text must outlive the string and its copies.
    utString(utStringLit, const char* text);
    /// Takes over `buffer`, which must come from malloc; `length` 0 means "measure it".
    utString(utStringClaim, char* buffer, int length);
    /// The first `n` characters of `array`; a negative n gives the empty text.
    utString(utStringArray, const char* array, int n);
    /// `count` characters from `start`, both clamped to the string.
    utString(const utString& other, int start, int count);
    /// Copies share the text.
    ///@{
    utString(const utString& other);
    utString& operator=(const utString& other);
    ///@}
    /// A copy of `text`, as utString(const char*) makes it.
    utString& operator=(const char* text);
    ~utString();

    /// The text, or null for a null string.
    const char* text() const { return m_text; }
    /// The text, or "" for a null string: safe to print.
    const char* c_str() const { return m_text ? m_text : ""; }
    int length() const { return m_length; }            ///< in bytes, without the terminating NUL
    bool empty() const { return m_length == 0; }       ///< for the null string too
    bool is_null() const { return m_text == nullptr; } ///< no text at all, not even ""
    char operator[](int i) const { return m_text[i]; } ///< unchecked: `i` must be below length()

    /// 1 when both texts are null, 0 when one is, else 1 when equal byte for byte.
    int operator==(const utString& other) const;
    int operator!=(const utString& other) const { return !(*this == other); } ///< !operator==
    /// 0 when equal ignoring letter case; otherwise the sign orders the two.
    int case_compare(const utString& other) const;
    /// Applies `fn` (such as toupper) to every character.
    void convert(int (*fn)(int));

    /// The text with `other`'s appended, a null string adding nothing: as a new string (+), or
    /// in place (+=, <<).
    ///@{
    utString operator+(const utString& other) const;
    utString& operator+=(const utString& other);
    utString& operator<<(const utString& other) { return *this += other; }
    utString& operator<<(const char* text) { return *this += utString(utStringLit{}, text); }
    ///@}

    /// True when the text may not be written in place (its count is neither 1 nor -1).
    bool is_shared() const;
    /// Makes the text private to this string, with room for at least n characters.
    void copy_or_grow(int n);
    /// Writes one character in place, making the text private first.
    void set_char(int i, char c);

private:
    void release();
    void append(const char* text, int n);
    /// Takes over the malloc'ed `text` as this string's own private text.
    void adopt(char* text, int length);

    char* m_text = nullptr;
    int m_length = 0;
    utRef m_ref;
};

/// A receiver of assertion reports: source file, line, message, function and expression text.
using utAssertHandler = void (*)(const char* file, int line, const char* message,
                                 const char* function, const char* expression);

/// Reports a failed assertion as one line on standard error (or to the installed handler), and
/// returns.
NLS_EXPORT void ut_report_assert_failure(const char* file, int line, const char* message,
                                         const char* function, const char* expression);
/// Routes assertion reports to `handler` (null restores standard error); returns the previous one.
NLS_EXPORT utAssertHandler ut_set_assert_handler(utAssertHandler handler);
/// How many assertion failures were reported in this process.
NLS_EXPORT int ut_assert_failure_count();

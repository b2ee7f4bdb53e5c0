#pragma once

#include <platform/apExport.h>

#include <cstdint>

/// A catalogue's plural rule, from the "Plural-Forms: nplurals=N; plural=EXPR;" line of its
/// header, compiled into a small fixed-size program.
///
/// EXPR is the C expression language that catalogues use: `n`, unsigned decimal constants,
/// `! * / % + - < > <= >= == != && || ?:` and parentheses, evaluated in unsigned long arithmetic.
/// A rule that is missing, does not parse, or is larger or nests deeper than the program holds
/// leaves the object unparsed; `index` then gives the Germanic rule (n != 1).
class NLS_EXPORT nlsPluralForms {
public:
    /// The Germanic rule with two forms.
    nlsPluralForms();
    /// Reads the rule from a catalogue header (the translation of the empty message); null or a
    /// header without a usable rule gives the Germanic rule, unparsed.
    explicit nlsPluralForms(const char* header);

    /// True when the header's rule compiled.
    bool parsed() const { return m_parsed; }
    /// The header's nplurals, or 2 without a parsed rule.
    unsigned long nplurals() const { return m_nplurals; }

    /// The form for `n`: the rule's value, or n != 1 when it divides by zero or gives an index at
    /// or beyond nplurals (or when the rule did not parse).
    unsigned long index(unsigned long n) const;
    /// As index, but false (and `*form` untouched) where index falls back.
    bool evaluate(unsigned long n, unsigned long* form) const;

    /// Most instructions a rule may compile to; the longest rules in use take about 35.
    static constexpr int max_program = 96;
    /// Deepest parenthesis or operator nesting accepted while parsing.
    static constexpr int max_nesting = 40;
    /// Most values a rule may hold on the evaluation stack at once.
    static constexpr int max_stack = 16;

private:
    struct Compiler;

    // Four bytes an instruction: the argument is a jump target or a constant below 2^24, which
    // every rule in use keeps to (a larger constant leaves the rule unparsed).
    struct Op {
        std::uint32_t code : 8;
        std::uint32_t arg : 24;
    };

    Op m_program[max_program];
    unsigned long m_nplurals;
    std::uint8_t m_length;
    bool m_parsed;
};

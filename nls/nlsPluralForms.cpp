#include <nls/nlsPluralForms.h>

#include <cctype>
#include <cstdlib>
#include <cstring>

namespace {

enum Code : std::uint8_t {
    kN,     // push n
    kConst, // push arg
    kNot,
    kBool, // top != 0
    kMul,
    kDiv,
    kMod,
    kAdd,
    kSub,
    kLess,
    kGreater,
    kLessEqual,
    kGreaterEqual,
    kEqual,
    kNotEqual,
    kJumpIfZero, // pop; jump to arg when it was 0
    kJump,       // jump to arg
};

constexpr std::uint32_t kMaxConstant = (1u << 24) - 1;

} // namespace

// A recursive-descent parser that emits the program as it goes, with C's precedence:
// ?: (right to left), ||, &&, == !=, < > <= >=, + -, * / %, unary !. Tokens are read as the
// catalogue tools read them: blanks and tabs are skipped, and ';', a line end or the text's end
// ends the rule.
struct nlsPluralForms::Compiler {
    const char* cursor;
    Op* program;
    int length = 0;
    int depth = 0;   // values on the evaluation stack at this point of the program
    int nesting = 0; // recursion depth of the parser
    bool ok = true;

    void skip_blanks() {
        while (*cursor == ' ' || *cursor == '\t')
            ++cursor;
    }
    bool at_end() {
        skip_blanks();
        return *cursor == '\0' || *cursor == ';' || *cursor == '\n';
    }
    // Takes `token` when the text continues with it.
    bool take(const char* token) {
        skip_blanks();
        std::size_t size = std::strlen(token);
        if (std::strncmp(cursor, token, size) != 0) return false;
        cursor += size;
        return true;
    }

    int emit(Code code, std::uint32_t arg = 0) {
        if (length == max_program) {
            ok = false;
            return 0;
        }
        program[length] = Op{code, arg & kMaxConstant};
        return length++;
    }
    void push(Code code, std::uint32_t arg = 0) {
        emit(code, arg);
        if (++depth > max_stack) ok = false;
    }
    void binary(Code code) {
        emit(code);
        --depth;
    }
    void land(int jump) {
        if (ok) program[jump].arg = static_cast<std::uint32_t>(length);
    }

    void conditional() {
        if (++nesting > max_nesting) ok = false;
        if (ok) logical_or();
        if (ok && take("?")) {
            int to_else = emit(kJumpIfZero);
            --depth;
            conditional();
            int to_end = emit(kJump);
            if (!take(":")) ok = false;
            land(to_else);
            --depth; // the other branch starts from the same stack
            conditional();
            land(to_end);
        }
        --nesting;
    }
    // a || b is a ? 1 : (b != 0), so that b is only evaluated when it decides.
    void logical_or() {
        logical_and();
        while (ok && take("||")) {
            int to_right = emit(kJumpIfZero);
            --depth;
            push(kConst, 1);
            int to_end = emit(kJump);
            land(to_right);
            --depth;
            logical_and();
            emit(kBool);
            land(to_end);
        }
    }
    // a && b is a ? (b != 0) : 0.
    void logical_and() {
        equality();
        while (ok && take("&&")) {
            int to_zero = emit(kJumpIfZero);
            --depth;
            equality();
            emit(kBool);
            int to_end = emit(kJump);
            land(to_zero);
            --depth;
            push(kConst, 0);
            land(to_end);
        }
    }
    void equality() {
        relation();
        while (ok) {
            if (take("==")) {
                relation();
                binary(kEqual);
            } else if (take("!=")) {
                relation();
                binary(kNotEqual);
            } else {
                return;
            }
        }
    }
    void relation() {
        sum();
        while (ok) {
            Code code;
            if (take("<="))
                code = kLessEqual;
            else if (take(">="))
                code = kGreaterEqual;
            else if (take("<"))
                code = kLess;
            else if (take(">"))
                code = kGreater;
            else
                return;
            sum();
            binary(code);
        }
    }
    void sum() {
        product();
        while (ok) {
            Code code;
            if (take("+"))
                code = kAdd;
            else if (take("-"))
                code = kSub;
            else
                return;
            product();
            binary(code);
        }
    }
    void product() {
        unary();
        while (ok) {
            Code code;
            if (take("*"))
                code = kMul;
            else if (take("/"))
                code = kDiv;
            else if (take("%"))
                code = kMod;
            else
                return;
            unary();
            binary(code);
        }
    }
    void unary() {
        if (++nesting > max_nesting) ok = false;
        // "!=" is an operator, never a negation followed by '='.
        skip_blanks();
        if (ok && cursor[0] == '!' && cursor[1] != '=') {
            ++cursor;
            unary();
            emit(kNot);
        } else if (ok) {
            primary();
        }
        --nesting;
    }
    void primary() {
        skip_blanks();
        if (*cursor == 'n') {
            ++cursor;
            push(kN);
        } else if (std::isdigit(static_cast<unsigned char>(*cursor))) {
            std::uint64_t value = 0;
            for (; std::isdigit(static_cast<unsigned char>(*cursor)); ++cursor) {
                value = value * 10 + static_cast<std::uint64_t>(*cursor - '0');
                if (value > kMaxConstant) ok = false; // no rule needs such constants
            }
            push(kConst, static_cast<std::uint32_t>(value));
        } else if (take("(")) {
            conditional();
            if (!take(")")) ok = false;
        } else {
            ok = false;
        }
    }
};

nlsPluralForms::nlsPluralForms() : m_program(), m_nplurals(2), m_length(0), m_parsed(false) {}

nlsPluralForms::nlsPluralForms(const char* header) : nlsPluralForms() {
    // Both settings are looked for anywhere in the header, as the catalogue tools do.
    const char* plural = header ? std::strstr(header, "plural=") : nullptr;
    const char* count = header ? std::strstr(header, "nplurals=") : nullptr;
    if (!plural || !count) return;
    count += 9;
    while (std::isspace(static_cast<unsigned char>(*count)))
        ++count;
    if (!std::isdigit(static_cast<unsigned char>(*count))) return;
    unsigned long nplurals = std::strtoul(count, nullptr, 10);

    Compiler compiler{plural + 7, m_program};
    compiler.conditional();
    if (!compiler.ok || !compiler.at_end()) {
        *this = nlsPluralForms();
        return;
    }
    m_length = static_cast<std::uint8_t>(compiler.length);
    m_nplurals = nplurals;
    m_parsed = true;
}

bool nlsPluralForms::evaluate(unsigned long n, unsigned long* form) const {
    if (!m_parsed) return false;
    unsigned long stack[max_stack];
    int top = -1;
    for (int pc = 0; pc < m_length; ++pc) {
        const Op& op = m_program[pc];
        switch (op.code) {
        case kN:
            stack[++top] = n;
            continue;
        case kConst:
            stack[++top] = op.arg;
            continue;
        case kNot:
            stack[top] = !stack[top];
            continue;
        case kBool:
            stack[top] = stack[top] != 0;
            continue;
        case kJumpIfZero:
            if (stack[top--] == 0) pc = static_cast<int>(op.arg) - 1;
            continue;
        case kJump:
            pc = static_cast<int>(op.arg) - 1;
            continue;
        default:
            break;
        }
        unsigned long right = stack[top--];
        unsigned long& left = stack[top];
        switch (op.code) {
        case kMul:
            left *= right;
            break;
        case kDiv:
        case kMod:
            if (right == 0) return false;
            left = op.code == kDiv ? left / right : left % right;
            break;
        case kAdd:
            left += right;
            break;
        case kSub:
            left -= right;
            break;
        case kLess:
            left = left < right;
            break;
        case kGreater:
            left = left > right;
            break;
        case kLessEqual:
            left = left <= right;
            break;
        case kGreaterEqual:
            left = left >= right;
            break;
        case kEqual:
            left = left == right;
            break;
        default: // kNotEqual
            left = left != right;
            break;
        }
    }
    if (stack[0] >= m_nplurals) return false;
    *form = stack[0];
    return true;
}

unsigned long nlsPluralForms::index(unsigned long n) const {
    unsigned long form;
    return evaluate(n, &form) ? form : n != 1;
}

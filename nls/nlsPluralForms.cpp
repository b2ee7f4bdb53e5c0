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
    kOperation = 0x3f,
    // Added to a binary operation whose right operand is the constant arg: a rule's operations
    // mostly have one (n%10, == 1), and every instruction saved is a dispatch saved.
    kImmediate = 0x80,
    // Added to an immediate operation whose left operand is n: it pushes n op arg.
    kOnN = 0x40,
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
    // Where the last n and the last constant operand were emitted, and the last place a jump
    // lands: what may be fused into one instruction.
    int last_n = -1;
    int last_constant = -1;
    int landed = -1;

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
        --depth;
        // A right operand that is a constant alone (not the end of a ?: or && that jumps past it)
        // becomes the operation's argument; whatever jumps to it finds the left operand on the
        // stack, as the fused instruction expects. A left operand that is n alone, which nothing
        // jumps into the middle of, joins them too.
        int at = length - 1;
        if (!ok || last_constant != at || landed == length) {
            emit(code);
            return;
        }
        if (last_n == at - 1 && landed != at) {
            program[at - 1] =
                Op{static_cast<std::uint32_t>(code | kImmediate | kOnN), program[at].arg};
            --length;
        } else {
            program[at].code = code | kImmediate;
        }
        last_n = last_constant = -1; // neither stands alone any more
    }
    void land(int jump) {
        if (!ok) return;
        program[jump].arg = static_cast<std::uint32_t>(length);
        landed = length;
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
        binary_level(0);
        while (ok && take("&&")) {
            int to_zero = emit(kJumpIfZero);
            --depth;
            binary_level(0);
            emit(kBool);
            int to_end = emit(kJump);
            land(to_zero);
            --depth;
            push(kConst, 0);
            land(to_end);
        }
    }
    // The left-associative binary operators by level of precedence, loosest first; within a
    // level, "<=" comes before "<" so that the longer token is taken whole.
    struct Operator {
        const char* token;
        Code code;
    };
    static constexpr int kBinaryLevels = 4;
    static constexpr Operator kBinary[kBinaryLevels][4] = {
        {{"==", kEqual}, {"!=", kNotEqual}},
        {{"<=", kLessEqual}, {">=", kGreaterEqual}, {"<", kLess}, {">", kGreater}},
        {{"+", kAdd}, {"-", kSub}},
        {{"*", kMul}, {"/", kDiv}, {"%", kMod}},
    };
    void binary_level(int level) {
        auto operand = [&] { level + 1 < kBinaryLevels ? binary_level(level + 1) : unary(); };
        operand();
        while (ok) {
            const Operator* taken = nullptr;
            for (const Operator& op : kBinary[level])
                if (op.token && take(op.token)) {
                    taken = &op;
                    break;
                }
            if (!taken) return;
            operand();
            binary(taken->code);
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
            last_n = length - 1;
        } else if (std::isdigit(static_cast<unsigned char>(*cursor))) {
            std::uint64_t value = 0;
            for (; std::isdigit(static_cast<unsigned char>(*cursor)); ++cursor) {
                value = value * 10 + static_cast<std::uint64_t>(*cursor - '0');
                if (value > kMaxConstant) ok = false; // no rule needs such constants
            }
            push(kConst, static_cast<std::uint32_t>(value));
            last_constant = length - 1;
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
    // The top of the stack lives apart, where the compiler can keep it in a register; below
    // holds the values under it (the first push saves a meaningless one).
    unsigned long top = 0;
    unsigned long below[max_stack];
    int count = 0;
    for (int pc = 0; pc < m_length; ++pc) {
        const Op op = m_program[pc];
        switch (op.code) {
        case kN:
            below[count++] = top;
            top = n;
            continue;
        case kConst:
            below[count++] = top;
            top = op.arg;
            continue;
        case kNot:
            top = !top;
            continue;
        case kBool:
            top = top != 0;
            continue;
        case kJumpIfZero: {
            bool zero = top == 0;
            top = below[--count];
            if (zero) pc = static_cast<int>(op.arg) - 1;
            continue;
        }
        case kJump:
            pc = static_cast<int>(op.arg) - 1;
            continue;
        default:
            break;
        }
        unsigned long right;
        if (op.code & kImmediate) {
            right = op.arg;
            if (op.code & kOnN) {
                below[count++] = top;
                top = n;
            }
        } else {
            right = top;
            top = below[--count];
        }
        switch (op.code & kOperation) {
        case kMul:
            top *= right;
            break;
        case kDiv:
            if (right == 0) return false;
            top /= right;
            break;
        case kMod:
            if (right == 0) return false;
            top %= right;
            break;
        case kAdd:
            top += right;
            break;
        case kSub:
            top -= right;
            break;
        case kLess:
            top = top < right;
            break;
        case kGreater:
            top = top > right;
            break;
        case kLessEqual:
            top = top <= right;
            break;
        case kGreaterEqual:
            top = top >= right;
            break;
        case kEqual:
            top = top == right;
            break;
        default: // kNotEqual
            top = top != right;
            break;
        }
    }
    if (top >= m_nplurals) return false;
    *form = top;
    return true;
}

unsigned long nlsPluralForms::index(unsigned long n) const {
    unsigned long form;
    return evaluate(n, &form) ? form : n != 1;
}

#include <nls/internal/nlsSystemMessages.h>

#include <nls/nlsErrorData.h>
#include <nls/nlsLoadedDomain.h>

#include <algorithm>
#include <cinttypes>
#include <cstring>

namespace {

constexpr std::uint32_t kHeaderSize = 48;
constexpr std::uint32_t kLastSegment = 0xffffffff;

struct Conversion {
    const char* name;
    const char* spelling;
};

// The conversions of <cinttypes> by the macro's name, spelt as this platform's C library spells
// them, and the flag I, which is kept.
// clang-format off
#define NLS_CONVERSION(macro) {#macro, macro}
#define NLS_CONVERSIONS(c)                                                                         \
    NLS_CONVERSION(PRI##c##8), NLS_CONVERSION(PRI##c##16), NLS_CONVERSION(PRI##c##32),             \
    NLS_CONVERSION(PRI##c##64), NLS_CONVERSION(PRI##c##LEAST8), NLS_CONVERSION(PRI##c##LEAST16),   \
    NLS_CONVERSION(PRI##c##LEAST32), NLS_CONVERSION(PRI##c##LEAST64), NLS_CONVERSION(PRI##c##FAST8),\
    NLS_CONVERSION(PRI##c##FAST16), NLS_CONVERSION(PRI##c##FAST32), NLS_CONVERSION(PRI##c##FAST64),\
    NLS_CONVERSION(PRI##c##MAX), NLS_CONVERSION(PRI##c##PTR)
const Conversion kConversions[] = {
    {"I", "I"}, NLS_CONVERSIONS(d), NLS_CONVERSIONS(i), NLS_CONVERSIONS(o), NLS_CONVERSIONS(u),
    NLS_CONVERSIONS(x), NLS_CONVERSIONS(X),
};
// clang-format on
#undef NLS_CONVERSIONS
#undef NLS_CONVERSION

// The conversion that a segment's name (its `length` bytes, the last a NUL) stands for, or null.
const char* spelling(const unsigned char* name, std::uint32_t length) {
    if (length == 0 || name[length - 1] != 0) return nullptr;
    for (const Conversion& conversion : kConversions)
        if (std::strlen(conversion.name) + 1 == length &&
            std::memcmp(conversion.name, name, length) == 0)
            return conversion.spelling;
    return nullptr;
}

// The smallest prime not below n (n >= 3): with it, a probe's step visits every slot.
std::uint32_t next_prime(std::uint32_t n) {
    for (;; ++n) {
        bool prime = true;
        for (std::uint32_t d = 2; d * d <= n && prime; ++d)
            prime = n % d != 0;
        if (prime) return n;
    }
}

// Expands strings into one buffer, each followed by a NUL, within a budget of work shared by all
// of them: a file whose strings share and repeat their segments cannot make the expansion take
// more than a few times its own size in time or memory.
class Expander {
public:
    Expander(const nlsMessageTables& file, std::vector<const char*> spellings)
        : m_file(file), m_spellings(std::move(spellings)),
          m_budget(2 * std::uint64_t{file.image_size} + 1024) {}

    // Appends the string whose description lies at `at` (its text's offset, then segment sizes
    // and conversion numbers up to kLastSegment); false when it names an unknown conversion,
    // runs outside the file or exhausts the budget. `*length` gets its length without the NUL
    // that ends it.
    bool append(std::uint32_t at, std::uint32_t* start, std::uint32_t* length) {
        const std::size_t begin = strings.size();
        if (!expand(at)) return false;
        // msgfmt's last segment ends with the string's NUL; one is added where it does not.
        if (strings.size() == begin || strings.back() != 0) strings.push_back(0);
        *start = static_cast<std::uint32_t>(begin);
        *length = static_cast<std::uint32_t>(strings.size() - begin - 1);
        return true;
    }

    std::vector<unsigned char> strings;

private:
    bool expand(std::uint64_t at) {
        const std::uint32_t size = m_file.image_size;
        if (!nlsMessageTables::fits(at, 1, 4, size)) return false;
        std::uint64_t text = m_file.word(m_file.image + at);
        for (at += 4;; at += 8) {
            if (!nlsMessageTables::fits(at, 1, 8, size)) return false;
            const std::uint32_t length = m_file.word(m_file.image + at);
            const std::uint32_t conversion = m_file.word(m_file.image + at + 4);
            if (!nlsMessageTables::fits(text, length, 1, size) || !spend(8 + std::uint64_t{length}))
                return false;
            strings.insert(strings.end(), m_file.image + text, m_file.image + text + length);
            text += length;
            if (conversion == kLastSegment) return true;
            const char* spelt = conversion < m_spellings.size() ? m_spellings[conversion] : nullptr;
            if (!spelt || !spend(std::strlen(spelt))) return false;
            strings.insert(strings.end(), spelt, spelt + std::strlen(spelt));
        }
    }
    bool spend(std::uint64_t work) {
        if (work > m_budget) {
            m_budget = 0;
            return false;
        }
        m_budget -= work;
        return true;
    }

    const nlsMessageTables& m_file;
    const std::vector<const char*> m_spellings;
    std::uint64_t m_budget;
};

struct Pair {
    std::uint32_t message, message_length, translation, translation_length;
};

} // namespace

unsigned int nlsSystemMessages::expand(const nlsMessageTables& file) {
    const unsigned char* header = file.image;
    if (file.image_size < kHeaderSize) return nlsERROR_CATALOG_MAGIC;
    const std::uint32_t segment_count = file.word(header + 28);
    const std::uint32_t segments = file.word(header + 32);
    const std::uint32_t count = file.word(header + 36);
    const std::uint32_t messages = file.word(header + 40);
    const std::uint32_t translations = file.word(header + 44);
    if (!nlsMessageTables::fits(segments, segment_count, 8, file.image_size) ||
        !nlsMessageTables::fits(messages, count, 4, file.image_size) ||
        !nlsMessageTables::fits(translations, count, 4, file.image_size))
        return nlsERROR_CATALOG_MAGIC;

    std::vector<const char*> spellings(segment_count);
    for (std::uint32_t i = 0; i < segment_count; ++i) {
        const unsigned char* segment = header + segments + std::size_t{i} * 8;
        std::uint32_t length = file.word(segment), offset = file.word(segment + 4);
        if (nlsMessageTables::fits(offset, length, 1, file.image_size))
            spellings[i] = spelling(header + offset, length);
    }

    Expander expander(file, std::move(spellings));
    std::vector<Pair> pairs;
    for (std::uint32_t i = 0; i < count; ++i) {
        Pair pair;
        const std::size_t mark = expander.strings.size();
        if (expander.append(file.word(header + messages + std::size_t{i} * 4), &pair.message,
                            &pair.message_length) &&
            expander.append(file.word(header + translations + std::size_t{i} * 4),
                            &pair.translation, &pair.translation_length))
            pairs.push_back(pair);
        else
            expander.strings.resize(mark);
    }
    if (pairs.empty()) return nlsERROR_NONE;
    const std::vector<unsigned char>& strings = expander.strings;
    auto text = [&](std::uint32_t at) { return reinterpret_cast<const char*>(&strings[at]); };
    // Sorted by message (up to its NUL), as the binary search wants them.
    std::sort(pairs.begin(), pairs.end(), [&](const Pair& a, const Pair& b) {
        return std::strcmp(text(a.message), text(b.message)) < 0;
    });

    // At least one slot stays empty, so that a miss ends its walk there.
    const std::uint32_t n = static_cast<std::uint32_t>(pairs.size());
    const std::uint32_t slots = next_prime(std::max<std::uint32_t>(3, n + n / 3 + 1));
    const std::uint64_t base = 16 * std::uint64_t{n} + 4 * std::uint64_t{slots};
    if (base + strings.size() > 0xffffffffu) return nlsERROR_NONE;
    m_block.assign(base, 0);
    m_block.insert(m_block.end(), strings.begin(), strings.end());

    nlsMessageTables& t = m_tables;
    t.image = m_block.data();
    t.image_size = static_cast<std::uint32_t>(m_block.size());
    t.string_count = n;
    t.messages = t.image;
    t.translations = t.image + std::size_t{8} * n;
    t.hash_size = slots;
    t.hash_table = t.image + std::size_t{16} * n;
    auto put = [&](std::size_t at, std::uint32_t value) { std::memcpy(&m_block[at], &value, 4); };
    std::vector<bool> taken(slots);
    for (std::uint32_t i = 0; i < n; ++i) {
        const Pair& pair = pairs[i];
        const std::size_t message = std::size_t{8} * i, translation = message + std::size_t{8} * n;
        put(message, pair.message_length);
        put(message + 4, static_cast<std::uint32_t>(base + pair.message));
        put(translation, pair.translation_length);
        put(translation + 4, static_cast<std::uint32_t>(base + pair.translation));
        std::uint32_t h = nlsLoadedDomain::hash(text(pair.message));
        std::uint32_t index = h % slots, step = 1 + h % (slots - 2);
        while (taken[index])
            index = index >= slots - step ? index - (slots - step) : index + step;
        taken[index] = true;
        put(std::size_t{16} * n + std::size_t{4} * index, i + 1);
    }
    return nlsERROR_NONE;
}

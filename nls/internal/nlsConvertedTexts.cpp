#include <nls/internal/nlsConvertedTexts.h>

#include <platform/internal/apAtomic.h>
#include <platform/internal/apCharset.h>

#include <cstdint>
#include <cstring>

nlsConvertedTexts::nlsConvertedTexts(std::string charset)
    : m_charset(std::move(charset)), m_utf8(ap_same_charset(m_charset.c_str(), "UTF-8")) {}

nlsConvertedTexts::~nlsConvertedTexts() = default;

const char* nlsConvertedTexts::converted(const char* text, const char* end, const char* codeset,
                                         const char* untranslated) {
    if (m_charset.empty()) return text;
    if (!codeset) codeset = ap_output_charset();
    Target* target = nullptr;
    for (const Spelling* s = ap_load_acquire(m_spellings); s && !target; s = s->next)
        if (std::strcmp(s->name.c_str(), codeset) == 0) target = s->target;
    if (!target) target = &this->target(codeset);
    if (!target->converter) return text;
    if (!target->converter->valid()) return untranslated;
    const Slot* known = find(ap_load_acquire(target->table), text);
    const char* result = known ? known->result : convert(*target, text, end);
    return result ? result : untranslated;
}

std::size_t nlsConvertedTexts::slot_of(const char* text, unsigned int bits) {
    // Fibonacci hashing: the address's low bits, alike for aligned strings, spread to the top.
    std::uint64_t address = reinterpret_cast<std::uintptr_t>(text);
    return static_cast<std::size_t>((address * 0x9E3779B97F4A7C15ull) >> (64 - bits));
}

const nlsConvertedTexts::Slot* nlsConvertedTexts::find(const Table* table, const char* text) {
    if (!table) return nullptr;
    const std::size_t mask = (std::size_t{1} << table->bits) - 1;
    for (std::size_t i = slot_of(text, table->bits);; i = (i + 1) & mask) {
        const char* source = ap_load_acquire(table->slots[i].source);
        if (!source) return nullptr;
        if (source == text) return &table->slots[i];
    }
}

void nlsConvertedTexts::place(Table& table, const char* source, const char* result) {
    const std::size_t mask = (std::size_t{1} << table.bits) - 1;
    std::size_t i = slot_of(source, table.bits);
    while (table.slots[i].source)
        i = (i + 1) & mask;
    table.slots[i].result = result;
    ap_store_release(table.slots[i].source, source);
}

nlsConvertedTexts::Target& nlsConvertedTexts::target(const char* codeset) {
    std::lock_guard<std::mutex> lock(m_lock);
    for (const Spelling* s = m_spellings; s; s = s->next)
        if (s->name == codeset) return *s->target;
    // Another spelling of a charset asked for before shares its texts.
    Target* target = nullptr;
    for (const auto& known : m_targets)
        if (ap_same_charset(known->name.c_str(), codeset)) target = known.get();
    if (!target) {
        m_targets.push_back(std::make_unique<Target>());
        target = m_targets.back().get();
        target->name = codeset;
        if (!ap_same_charset(m_charset.c_str(), codeset))
            target->converter = std::make_unique<apCharsetConverter>(m_charset.c_str(), codeset);
    }
    m_spelling_store.push_back(std::make_unique<Spelling>(Spelling{codeset, target, m_spellings}));
    ap_store_release(m_spellings, static_cast<const Spelling*>(m_spelling_store.back().get()));
    return *target;
}

const char* nlsConvertedTexts::convert(Target& target, const char* text, const char* end) {
    std::lock_guard<std::mutex> lock(m_lock);
    if (const Slot* known = find(target.table, text)) return known->result;
    // Only a string that ends inside the catalogue is read.
    const void* nul = std::memchr(text, 0, static_cast<std::size_t>(end - text));
    if (!nul) return text;
    const std::size_t length = static_cast<std::size_t>(static_cast<const char*>(nul) - text);
    const char* result = nullptr;
    std::string out;
    if (target.converter->convert(text, length, out)) {
        // Text that converting leaves alone (ASCII, mostly) is not copied.
        if (out.size() == length && std::memcmp(out.data(), text, length) == 0) {
            result = text;
        } else {
            target.made.push_back(std::move(out));
            result = target.made.back().c_str();
        }
    }
    Table* table = target.tables.empty() ? nullptr : target.tables.back().get();
    if (!table || (target.count + 1) * 2 > (std::size_t{1} << table->bits)) {
        // A table twice the size, filled before it is published; readers may go on in the old
        // one, which stays.
        auto grown = std::make_unique<Table>();
        grown->bits = table ? table->bits + 1 : 4;
        grown->slots = std::make_unique<Slot[]>(std::size_t{1} << grown->bits);
        for (std::size_t i = 0; table && i < (std::size_t{1} << table->bits); ++i)
            if (table->slots[i].source)
                place(*grown, table->slots[i].source, table->slots[i].result);
        table = grown.get();
        target.tables.push_back(std::move(grown));
        ap_store_release(target.table, static_cast<const Table*>(table));
    }
    place(*table, text, result);
    ++target.count;
    return result;
}

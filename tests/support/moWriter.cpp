#include "moWriter.h"

#include <algorithm>
#include <cstring>

namespace nlstest {

namespace {

// Whether the file's words are little-endian: the host's order unless swapped.
bool file_is_little(const std::string& image) {
    return static_cast<unsigned char>(image[0]) == 0xde; // 0x950412de little-endian starts with de
}

void put(std::string& image, std::size_t offset, std::uint32_t value, bool little) {
    for (int i = 0; i < 4; ++i) {
        int shift = little ? 8 * i : 8 * (3 - i);
        image[offset + i] = static_cast<char>((value >> shift) & 0xff);
    }
}

// The smallest prime >= n (n >= 3), the usual hash-table size.
std::uint32_t next_prime(std::uint32_t n) {
    if (n < 3) n = 3;
    for (;; ++n) {
        bool prime = true;
        for (std::uint32_t d = 2; d * d <= n && prime; ++d)
            prime = n % d != 0;
        if (prime) return n;
    }
}

} // namespace

std::uint32_t mo_hash(const std::string& text, bool msgfmt) {
    std::uint32_t h = 0;
    for (const char* p = text.c_str(); *p; ++p) {
        const int byte = msgfmt ? static_cast<unsigned char>(*p) : static_cast<signed char>(*p);
        h = (h << 4) + static_cast<std::uint32_t>(byte);
        if (std::uint32_t g = h & 0xF0000000u) h ^= (g >> 24) ^ g;
    }
    return h;
}

std::string build_mo(std::vector<MoEntry> entries, const MoOptions& options) {
    std::stable_sort(entries.begin(), entries.end(), [](const MoEntry& a, const MoEntry& b) {
        return std::strcmp(a.msgid.c_str(), b.msgid.c_str()) < 0;
    });
    const std::uint32_t n = static_cast<std::uint32_t>(entries.size());
    const std::uint32_t slots = options.hash_size < 0
                                    ? next_prime(n * 4 / 3)
                                    : static_cast<std::uint32_t>(options.hash_size);
    const std::uint16_t one = 1; // little-endian hosts store its low byte first
    const bool little = (*reinterpret_cast<const unsigned char*>(&one) == 1) != options.swapped;

    const std::uint32_t messages = 28, translations = messages + 8 * n, hash = translations + 8 * n;
    std::string image(hash + 4 * std::size_t{slots}, '\0');
    put(image, kMoMagic, 0x950412de, little);
    put(image, kMoCount, n, little);
    put(image, kMoMessages, messages, little);
    put(image, kMoTranslations, translations, little);
    put(image, kMoHashSize, slots, little);
    put(image, kMoHashOffset, hash, little);

    auto add_string = [&](std::size_t descriptor, const std::string& text) {
        put(image, descriptor, static_cast<std::uint32_t>(text.size()), little);
        put(image, descriptor + 4, static_cast<std::uint32_t>(image.size()), little);
        image += text;
        image += '\0';
    };
    for (std::uint32_t i = 0; i < n; ++i) {
        add_string(messages + 8 * i, entries[i].msgid);
        add_string(translations + 8 * i, entries[i].msgstr);
    }

    if (slots >= 3) {
        std::vector<std::uint32_t> table(slots, 0);
        for (std::uint32_t i = 0; i < n; ++i) {
            std::uint32_t h = mo_hash(entries[i].msgid);
            std::uint32_t index = h % slots, step = 1 + h % (slots - 2);
            for (std::uint32_t probe = 0; table[index] != 0 && probe < slots; ++probe)
                index = (index + step) % slots;
            if (table[index] == 0) table[index] = i + 1;
        }
        for (std::uint32_t i = 0; i < slots; ++i)
            put(image, hash + 4 * i, table[i], little);
    }
    return image;
}

std::uint32_t mo_word(const std::string& image, std::size_t offset) {
    bool little = file_is_little(image);
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) {
        int shift = little ? 8 * i : 8 * (3 - i);
        value |= std::uint32_t{static_cast<unsigned char>(image[offset + i])} << shift;
    }
    return value;
}

void set_mo_word(std::string& image, std::size_t offset, std::uint32_t value) {
    put(image, offset, value, file_is_little(image));
}

} // namespace nlstest

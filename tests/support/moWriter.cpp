#include "moWriter.h"

#include <algorithm>
#include <cstring>

namespace nlstest {

namespace {

// Whether the file's words are little-endian: 0x950412de little-endian starts with de.
bool file_is_little(const std::string& image) {
    return static_cast<unsigned char>(image[0]) == 0xde;
}

void put(std::string& image, std::size_t offset, std::uint32_t value, bool little) {
    for (int i = 0; i < 4; ++i)
        image[offset + i] = static_cast<char>(value >> (little ? 8 * i : 8 * (3 - i)));
}

// The catalogue hash of `text` up to its first NUL, bytes 0x80 to 0xFF taken as signed.
std::uint32_t mo_hash(const std::string& text) {
    std::uint32_t h = 0;
    for (const char* p = text.c_str(); *p; ++p) {
        h = (h << 4) + static_cast<std::uint32_t>(static_cast<signed char>(*p));
        if (std::uint32_t g = h & 0xF0000000u) h ^= (g >> 24) ^ g;
    }
    return h;
}

bool is_prime(std::uint32_t n) {
    for (std::uint32_t d = 2; d * d <= n; ++d)
        if (n % d == 0) return false;
    return true;
}

} // namespace

std::string build_mo(std::vector<MoEntry> entries, long hash_size, bool swapped) {
    std::stable_sort(entries.begin(), entries.end(), [](const MoEntry& a, const MoEntry& b) {
        return std::strcmp(a.msgid.c_str(), b.msgid.c_str()) < 0;
    });
    const auto n = static_cast<std::uint32_t>(entries.size());
    auto slots = static_cast<std::uint32_t>(hash_size);
    if (hash_size < 0) // the smallest prime of at least 3 and 4/3 of the entries
        for (slots = std::max(n * 4 / 3, 3u); !is_prime(slots); ++slots) {
        }
    const std::uint16_t one = 1; // little-endian hosts store its low byte first
    const bool little = (*reinterpret_cast<const unsigned char*>(&one) == 1) != swapped;
    const std::uint32_t messages = 28, translations = messages + 8 * n, hash = translations + 8 * n;
    std::string image(hash + 4 * std::size_t{slots}, '\0');
    const std::uint32_t header[] = {0x950412de, 0, n, messages, translations, slots, hash};
    for (std::size_t i = 0; i < 7; ++i)
        put(image, 4 * i, header[i], little);
    auto add_string = [&](std::size_t descriptor, const std::string& text) {
        put(image, descriptor, static_cast<std::uint32_t>(text.size()), little);
        put(image, descriptor + 4, static_cast<std::uint32_t>(image.size()), little);
        image += text + '\0';
    };
    std::vector<std::uint32_t> table(slots, 0);
    for (std::uint32_t i = 0; i < n; ++i) {
        add_string(messages + 8 * i, entries[i].msgid);
        add_string(translations + 8 * i, entries[i].msgstr);
        if (slots < 3) continue;
        const std::uint32_t h = mo_hash(entries[i].msgid), step = 1 + h % (slots - 2);
        std::uint32_t index = h % slots;
        for (std::uint32_t probe = 0; table[index] != 0 && probe < slots; ++probe)
            index = (index + step) % slots;
        if (table[index] == 0) table[index] = i + 1;
    }
    for (std::uint32_t i = 0; i < slots; ++i)
        put(image, hash + 4 * i, table[i], little);
    return image;
}

std::uint32_t mo_word(const std::string& image, std::size_t offset) {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) {
        const auto byte = static_cast<unsigned char>(image[offset + i]);
        value |= std::uint32_t{byte} << (file_is_little(image) ? 8 * i : 8 * (3 - i));
    }
    return value;
}

void set_mo_word(std::string& image, std::size_t offset, std::uint32_t value) {
    put(image, offset, value, file_is_little(image));
}

} // namespace nlstest

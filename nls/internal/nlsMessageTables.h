#pragma once

// Internal: not installed.

#include <cstdint>
#include <cstring>

/// Message pairs laid out as a catalogue file lays them out, inside one block of bytes: a table
/// of the messages' lengths and offsets (8 bytes a pair), a parallel one for the translations,
/// and a hash table of pair numbers. The block is a file's image, or the system-dependent
/// messages that a catalogue expands at load. Lookups read the tables in place.
struct nlsMessageTables {
    const unsigned char* image = nullptr; ///< the block; offsets count from its start
    std::uint32_t size = 0;               ///< bytes in the block
    bool swapped = false;                 ///< words in the byte order opposite to the machine's
    std::uint32_t count = 0;              ///< pairs
    const unsigned char* messages = nullptr;
    const unsigned char* translations = nullptr;
    std::uint32_t hash_size = 0; ///< slots, 4 bytes each
    const unsigned char* hash_table = nullptr;

    /// The word at `at`, in the machine's byte order.
    std::uint32_t word(const unsigned char* at) const {
        std::uint32_t value;
        std::memcpy(&value, at, sizeof value);
        if (!swapped) return value;
        return (value >> 24) | ((value >> 8) & 0xff00) | ((value << 8) & 0xff0000) | (value << 24);
    }

    /// Whether `count` items of `width` bytes at `offset` lie inside a block of `size` bytes.
    static bool fits(std::uint64_t offset, std::uint64_t count, std::uint64_t width,
                     std::uint64_t size) {
        return offset <= size && count * width <= size - offset;
    }
};

#pragma once

// Internal: not installed.

#include <cstdint>
#include <cstring>

/// Message pairs laid out as a catalogue file lays them out, inside one block of bytes: a table
/// of the messages' lengths and offsets (8 bytes a pair), a parallel one for the translations,
/// and a hash table of pair numbers. The block is the system-dependent messages that a catalogue
/// expands at load, or a view of a file's image. The fields are named as nlsLoadedDomain's, so
/// that one lookup reads either.
struct nlsMessageTables {
    const unsigned char* image = nullptr; ///< the block; offsets count from its start
    std::uint32_t image_size = 0;         ///< bytes in the block
    std::uint32_t swapped = 0;            ///< 1 when words are in the machine's opposite order
    std::uint32_t string_count = 0;       ///< pairs
    const unsigned char* messages = nullptr;
    const unsigned char* translations = nullptr;
    std::uint32_t hash_size = 0; ///< slots, 4 bytes each
    const unsigned char* hash_table = nullptr;

    /// The word at `at`, in the machine's byte order, from tables whose `swapped` is given.
    static std::uint32_t word(std::uint32_t swapped, const unsigned char* at) {
        std::uint32_t value;
        std::memcpy(&value, at, sizeof value);
        if (!swapped) return value;
        return (value >> 24) | ((value >> 8) & 0xff00) | ((value << 8) & 0xff0000) | (value << 24);
    }
    /// The word at `at` of these tables.
    std::uint32_t word(const unsigned char* at) const { return word(swapped, at); }

    /// Whether `count` items of `width` bytes at `offset` lie inside a block of `size` bytes.
    static bool fits(std::uint64_t offset, std::uint64_t count, std::uint64_t width,
                     std::uint64_t size) {
        return offset <= size && count * width <= size - offset;
    }
};

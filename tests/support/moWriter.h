#pragma once

// Writes binary message catalogues for tests and benchmarks: either byte order, a hash table of
// any size or none. It hashes on its own, so that a fault in the library's hash shows.

#include <cstdint>
#include <string>
#include <vector>

namespace nlstest {

struct MoEntry {
    std::string msgid; ///< may hold a NUL: the stored length then counts what follows it
    std::string msgstr;
};

/// The catalogue's bytes, entries sorted by msgid: header, message table at 28, translation
/// table, hash table (bytes above 0x7F hashed as signed; -1 slots: a prime about 4/3 of the
/// entries, 0: none), then the strings; `swapped` in the byte order opposite to the host's.
std::string build_mo(std::vector<MoEntry> entries, long hash_size = -1, bool swapped = false);

/// Header field offsets; from minor revision 1 on, the system-dependent tables.
constexpr std::size_t kMoMagic = 0, kMoRevision = 4, kMoCount = 8, kMoMessages = 12,
                      kMoTranslations = 16, kMoHashSize = 20, kMoHashOffset = 24,
                      kMoSegmentCount = 28, kMoSegments = 32, kMoSystemCount = 36,
                      kMoSystemMessages = 40;

/// Reads or overwrites a 32-bit word of a catalogue in its own byte order.
std::uint32_t mo_word(const std::string& image, std::size_t offset);
void set_mo_word(std::string& image, std::size_t offset, std::uint32_t value);

} // namespace nlstest

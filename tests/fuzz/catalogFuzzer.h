#pragma once

// What the catalogue fuzzer and the replay of its seeds share: loading bytes as the fuzzer does,
// and the lookups that the seeds (seed.po, seed-system.po) answer.

#include <nls/nlsLoadedDomain.h>

#include <cinttypes>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace nlsfuzz {

/// Loads `size` bytes at `data` as a catalogue, served through the run-time seam.
std::unique_ptr<nlsLoadedDomain> load(const std::uint8_t* data, std::size_t size,
                                      unsigned int* code);

struct SeedLookup {
    const char* context; ///< null: none
    std::string message;
    const char* plural; ///< null: a lookup without a count
    unsigned long n;
    std::string answer; ///< what the seed's catalogue gives
};

inline const char* look_up(const nlsLoadedDomain& domain, const SeedLookup& lookup) {
    const char* message = lookup.message.c_str();
    if (lookup.plural)
        return lookup.context ? domain.npgettext(lookup.context, message, lookup.plural, lookup.n)
                              : domain.ngettext(message, lookup.plural, lookup.n);
    return lookup.context ? domain.pgettext(lookup.context, message) : domain.translate(message);
}

/// seed.po's lookups: plain, with bytes above 0x7F, three plural forms, in a context.
inline const std::vector<SeedLookup>& seed_lookups() {
    static const std::vector<SeedLookup> lookups = {
        {nullptr, "Open", nullptr, 0, "Oeffnen"},
        {nullptr, "caf\xC3\xA9", nullptr, 0, "Kaffee"},
        {nullptr, "file", "files", 1, "Datei"},
        {nullptr, "file", "files", 3, "Dateien"},
        {nullptr, "file", "files", 5, "Dateien2"},
        {"menu", "Open", nullptr, 0, "Oeffnen (Menue)"},
        {"menu", "file", "files", 22, "Menuedateien"},
    };
    return lookups;
}

/// seed-system.po's lookups: its system-dependent messages as this platform spells them.
inline const std::vector<SeedLookup>& system_seed_lookups() {
    static const std::vector<SeedLookup> lookups = {
        {nullptr, "Open", nullptr, 0, "Oeffnen"},
        {nullptr, "%" PRIu64 " bytes", nullptr, 0, "%" PRIu64 " Bytes"},
        {"menu", "%" PRIu64 " bytes", nullptr, 0, "%" PRIu64 " Bytes im Menue"},
        {nullptr, "%" PRId32 " file", "%" PRId32 " files", 1, "%" PRId32 " Datei"},
        {nullptr, "%" PRId32 " file", "%" PRId32 " files", 2, "%" PRId32 " Dateien"},
        {nullptr, "%d of %" PRIxPTR, nullptr, 0, "%Id von %" PRIxPTR},
    };
    return lookups;
}

} // namespace nlsfuzz

#pragma once

// Catalogues for the benchmarks, laid out as gettext implementations look for them
// (<root>/de/LC_MESSAGES/<domain>.mo) in a temporary folder that goes with the object.

#include "moWriter.h"

#include <memory>
#include <string>
#include <vector>

namespace nlsbench {

class Catalogue {
public:
    /// A generated catalogue of `n` messages, written with the tests' catalogue writer.
    static std::unique_ptr<Catalogue> generated(int n);
    /// A catalogue of the given entries under the domain name `domain`.
    static std::unique_ptr<Catalogue> written(const std::string& domain,
                                              const std::vector<nlstest::MoEntry>& entries);
    /// An existing catalogue file, linked into a fresh folder under its own domain name; null
    /// when the file cannot be read as a catalogue.
    static std::unique_ptr<Catalogue> linked(const std::string& file);
    ~Catalogue();
    Catalogue(const Catalogue&) = delete;
    Catalogue& operator=(const Catalogue&) = delete;

    /// Links the file once more under a new domain name and returns that name: a catalogue that
    /// an implementation which never unloads has not seen yet.
    std::string fresh_domain() const;

    std::string root;
    std::string domain;
    std::string path;      ///< root/de/LC_MESSAGES/domain.mo
    std::string real_path; ///< the file itself, as /proc/self/maps names it
    std::size_t bytes = 0;
    /// Every lookup key of the file: non-empty messages without a plural form.
    std::vector<std::string> msgids;
    /// Each message with a suffix that no message of the file ends in.
    std::vector<std::string> absent;
    /// The lookup orders, each key once, shuffled.
    std::vector<const char*> present_order, absent_order;

private:
    Catalogue();
    bool read_keys();
};

/// Bytes of the blocks that malloc has handed out and not taken back, counted by block (the
/// usable size of each), so that no cache inside malloc hides a small block.
std::size_t heap_in_use();
/// Bytes of the process's mappings of `file`.
std::size_t mapped_bytes(const std::string& file);

} // namespace nlsbench

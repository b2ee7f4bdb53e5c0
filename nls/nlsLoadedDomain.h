#pragma once

#include <platform/apExport.h>
#include <platform/utString.h>

#include <cstdint>

/// One binary message catalogue (.mo layout, either byte order) read whole into memory.
///
/// Lookups answer with a pointer into the image, or with the message pointer itself when the
/// catalogue has no entry for it. Every descriptor, slot and string read is bounded by the image,
/// so a damaged file can at worst translate nothing.
class NLS_EXPORT nlsLoadedDomain {
public:
    /// Reads the file named by `path`; `*error` gets 0 or the code of the step that failed, and
    /// `failed` is 1 after any failure.
    nlsLoadedDomain(const utString& path, unsigned int* error);
    ~nlsLoadedDomain();
    nlsLoadedDomain(const nlsLoadedDomain&) = delete;
    nlsLoadedDomain& operator=(const nlsLoadedDomain&) = delete;

    /// The translation of `msgid`: through the hash table when it has three slots or more, else
    /// by binary search. Returns `msgid` itself when there is no entry. A pair with a plural
    /// form is found by its singular and gives its first form.
    const char* translate(const char* msgid) const;
    const char* translate_by_binary_chop(const char* msgid) const;
    /// Only for hash_size of 3 or more. A message with bytes 0x80 to 0xFF that the signed hash
    /// misses is looked for again under the unsigned hash that msgfmt writes.
    const char* translate_by_hash_table(const char* msgid) const;

    /// The catalogue hash of a NUL-terminated string (bytes taken as signed).
    static std::uint32_t hash(const char* text);

    nlsLoadedDomain* next;
    unsigned char* image;
    utString path;
    std::uint32_t swapped;
    std::uint32_t string_count;
    const unsigned char* messages;
    const unsigned char* translations;
    std::uint32_t hash_size;
    const unsigned char* hash_table;
    std::uint32_t references;
    std::uint32_t failed;
    /// Bytes in `image`; every lookup stays below it.
    std::uint32_t image_size;

private:
    unsigned int load();
    std::uint32_t word(const unsigned char* at) const;
    /// Walks the hash table from hash `h`: the number (1 to N) of the pair for `msgid`, whose
    /// length is `length`, or 0.
    std::uint32_t probe(std::uint32_t h, const char* msgid, std::size_t length) const;
    const char* string_at(const unsigned char* table, std::uint32_t index) const;
};

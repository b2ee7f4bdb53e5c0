#pragma once

#include <nls/nlsPluralForms.h>
#include <platform/apExport.h>
#include <platform/apFileFinder.h>
#include <platform/utString.h>

#include <cstdint>
#include <memory>

class nlsConvertedTexts;
class nlsSystemMessages;

/// One binary message catalogue (.mo layout, either byte order, major revision 0 or 1) in memory:
/// mapped where the file cannot change under the mapping, else read whole.
///
/// Lookups answer with a pointer into the image, or with the message pointer itself when the
/// catalogue has no entry for it. Every descriptor, slot and string read is bounded by the image,
/// so a damaged file can at worst translate nothing. The system-dependent messages of a file
/// (messages with `<inttypes.h>` conversions, from minor revision 1 on) are expanded at load for
/// this platform and found as the others are; their answers point into the expanded copy.
class NLS_EXPORT nlsLoadedDomain {
public:
    /// Reads the file named by `path`; `*error` gets 0 or the code of the step that failed, and
    /// `failed` is 1 after any failure.
    nlsLoadedDomain(const utString& path, unsigned int* error);
    ~nlsLoadedDomain();
    nlsLoadedDomain(const nlsLoadedDomain&) = delete;
    nlsLoadedDomain& operator=(const nlsLoadedDomain&) = delete;

    /// The translation of `msgid`: through the hash table when it has three slots or more, else
    /// by binary search. Returns `msgid` itself when there is no entry (or it is null). A pair
    /// with a plural form is found by its singular and gives its first form.
    const char* translate(const char* msgid) const;
    /// As translate, by binary search over the messages, which msgfmt writes sorted.
    const char* translate_by_binary_chop(const char* msgid) const;
    /// Only for hash_size of 3 or more. A message with bytes 0x80 to 0xFF that the signed hash
    /// misses is looked for again under the unsigned hash that msgfmt writes.
    const char* translate_by_hash_table(const char* msgid) const;

    /// The form for `n` of the translation of `singular`, chosen by the catalogue's plural rule;
    /// where the rule's form is not stored, the form n != 1 chooses, else the first. Without an
    /// entry: `singular` for n == 1, `plural` otherwise.
    const char* ngettext(const char* singular, const char* plural, unsigned long n) const;
    /// The translation of `message` in `context` (the entry "context\004message"), or `message`.
    const char* pgettext(const char* context, const char* message) const;
    /// ngettext for `singular` in `context`.
    const char* npgettext(const char* context, const char* singular, const char* plural,
                          unsigned long n) const;

    /// `text`, a translation that this catalogue returned or one of its plural forms, in the
    /// charset `codeset`, or when that is null in the process's output charset at this moment
    /// (the LC_CTYPE locale's codeset; on Windows the ANSI code page). `text` itself when it is in
    /// that charset already, when the header names no charset, or when `text` is not the
    /// catalogue's; `untranslated`, what the lookup gives without a translation, when the text
    /// cannot be given in `codeset` (bytes not valid in the catalogue's charset, a charset the
    /// system cannot convert). Each text is converted once and lives as long as the catalogue.
    const char* converted(const char* text, const char* codeset, const char* untranslated) const;

    /// The catalogue hash of a NUL-terminated string (bytes taken as signed).
    static std::uint32_t hash(const char* text);

    nlsLoadedDomain* next;             ///< the next loaded catalogue, in ascending order of path
    unsigned char* image;              ///< the file's bytes: mapped (see `mapped`) or from malloc
    utString path;                     ///< the file that was read
    std::uint32_t swapped;             ///< 1 when the file's byte order is not the machine's
    std::uint32_t string_count;        ///< message pairs in the file
    const unsigned char* messages;     ///< the table of the messages' lengths and offsets
    const unsigned char* translations; ///< the same for the translations
    std::uint32_t hash_size;           ///< slots in the hash table (0: none)
    const unsigned char* hash_table;   ///< the slots, 4 bytes each
    std::uint32_t references;          ///< databases that use the catalogue
    std::uint32_t failed;              ///< 1 when the file did not load
    /// Bytes in `image`; every lookup stays below it.
    std::uint32_t image_size;
    /// The plural rule of the header (the translation of the empty message), read at load.
    nlsPluralForms plural_forms;
    /// The file that was read, so that another spelling of its path finds this catalogue; zero
    /// when the system cannot tell.
    apFileIdentity identity;
    /// 1 when `image` is a read-only shared mapping of the file, 0 when it is a copy.
    std::uint32_t mapped = 0;

private:
    unsigned int load();
    /// The number of the pair for `key` (a Message or a MessageInContext), or 0: through the hash
    /// table when it has three slots or more, else by binary search. Numbers 1 to string_count
    /// are the file's pairs, the ones after them the expanded system-dependent pairs.
    template <class Key> std::uint32_t find(const Key& key) const;
    template <class Key> std::uint32_t find_by_binary_chop(const Key& key) const;
    template <class Key> std::uint32_t find_by_hash_table(const Key& key) const;
    /// The translation of pair `pair`, or null when it lies outside its tables.
    const char* translation(std::uint32_t pair) const;
    /// The form for `n` of pair `pair`'s translation, or null when the translation lies outside
    /// its tables.
    const char* plural_form(std::uint32_t pair, unsigned long n) const;

    /// The system-dependent pairs of a file of minor revision 1 or more, expanded for this
    /// platform; null when it has none.
    std::unique_ptr<nlsSystemMessages> m_system_messages;
    /// Owns the texts converted into other charsets, made when first needed.
    struct ConvertedTextsOwner {
        nlsConvertedTexts* texts = nullptr; ///< published; read with acquire ordering
        ConvertedTextsOwner() = default;
        ConvertedTextsOwner(const ConvertedTextsOwner&) = delete;
        ConvertedTextsOwner& operator=(const ConvertedTextsOwner&) = delete;
        ~ConvertedTextsOwner();
    };
    /// Reads the header's charset; the first of several threads to publish its texts wins.
    nlsConvertedTexts& make_converted_texts() const;
    mutable ConvertedTextsOwner m_converted;
};

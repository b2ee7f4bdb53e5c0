#pragma once

// Internal: not installed.

#include <platform/internal/apCharset.h>

#include <cstddef>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

/// The texts of one catalogue in the charsets they are asked for, each converted once and kept
/// as long as this object. Lookups read it without a lock from any number of threads; what is
/// added (a charset, a converted text) is made under its own lock and then published whole.
class nlsConvertedTexts {
public:
    /// For texts in `charset`, the one the catalogue's header names; none (empty) is never
    /// converted.
    explicit nlsConvertedTexts(std::string charset);
    ~nlsConvertedTexts();
    nlsConvertedTexts(const nlsConvertedTexts&) = delete;
    nlsConvertedTexts& operator=(const nlsConvertedTexts&) = delete;

    /// `text`, a string of the catalogue that ends before `end`, in `codeset` (null: the
    /// process's output charset now): `text` itself when no conversion is needed; `untranslated`
    /// when the text cannot be given in it (its bytes are not valid in the catalogue's charset,
    /// or the system cannot convert between the two).
    const char* converted(const char* text, const char* end, const char* codeset,
                          const char* untranslated);
    /// True when texts plainly need no conversion into `codeset` (null: the output charset now):
    /// both it and the catalogue's are UTF-8 as the system spells it, the usual case, told
    /// without a lookup.
    bool plainly_unchanged(const char* codeset) const {
        if (!m_utf8) return false;
        const char* to = codeset ? codeset : ap_output_charset();
        return to[0] == 'U' && to[1] == 'T' && to[2] == 'F' && to[3] == '-' && to[4] == '8' &&
               to[5] == '\0';
    }

private:
    /// A text and what it became: the text itself when converting changed nothing, null when it
    /// cannot be converted. `source` is written last, with release ordering, so that a reader
    /// who sees it sees `result`.
    struct Slot {
        const char* source;
        const char* result;
    };
    /// An open-addressing table of texts by their address, 2^bits slots, at most half of them
    /// used. It is only ever added to; a fuller one replaces it.
    struct Table {
        unsigned int bits;
        std::unique_ptr<Slot[]> slots;
    };
    /// A charset that texts are asked for. How they are given in it is settled when it is first
    /// asked for: unchanged (no converter), converted, or not at all (a converter that is not
    /// valid).
    struct Target {
        std::string name;
        std::unique_ptr<apCharsetConverter> converter;
        const Table* table = nullptr;               ///< published; read with acquire ordering
        std::vector<std::unique_ptr<Table>> tables; ///< every one made: readers may hold any
        std::size_t count = 0;                      ///< texts in the table
        std::deque<std::string> made;               ///< the results; a deque never moves them
    };
    /// The spellings of charsets asked for ("UTF-8", "utf8"), newest first, each with its target.
    struct Spelling {
        std::string name;
        Target* target;
        const Spelling* next;
    };

    static std::size_t slot_of(const char* text, unsigned int bits);
    static const Slot* find(const Table* table, const char* text);
    static void place(Table& table, const char* source, const char* result);
    Target& target(const char* codeset);
    /// The result of `text` in `target`, converted now unless another thread just did.
    const char* convert(Target& target, const char* text, const char* end);

    const std::string m_charset;
    const bool m_utf8; ///< the catalogue's charset is UTF-8
    const Spelling* m_spellings = nullptr; ///< published; read with acquire ordering
    std::mutex m_lock;                     ///< held while anything is added
    std::vector<std::unique_ptr<Target>> m_targets;
    std::vector<std::unique_ptr<Spelling>> m_spelling_store;
};

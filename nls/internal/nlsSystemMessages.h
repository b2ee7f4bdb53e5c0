#pragma once

// Internal: not installed.

#include <nls/internal/nlsMessageTables.h>

#include <vector>

/// The system-dependent messages of a catalogue whose minor revision is 1 or more: messages and
/// translations stored as segments of text with a named conversion between them ("PRIu64", the
/// flag "I"), which stands for the platform's own spelling. They are expanded once, at load, into
/// tables of their own, laid out as a file's (in the machine's byte order, sorted, with a hash
/// table of the library's hash), so that lookups search them as they search the file.
class nlsSystemMessages {
public:
    /// Expands the strings that the header of the image `file` names (its words at 28 to 44:
    /// segment count and offset, string count, and the offsets of the message and translation
    /// tables). Returns nlsERROR_CATALOG_MAGIC when those tables do not fit the file; a pair whose
    /// string names an unknown conversion or runs outside the file is left out. Throws
    /// std::bad_alloc.
    unsigned int expand(const nlsMessageTables& file);

    /// The expanded pairs (none before expand, or when every one was left out).
    const nlsMessageTables& tables() const { return m_tables; }

private:
    std::vector<unsigned char> m_block;
    nlsMessageTables m_tables;
};

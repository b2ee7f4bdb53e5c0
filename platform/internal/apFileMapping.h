#pragma once

// Catalogue files mapped rather than read: a read-only shared mapping brings in only the pages
// that lookups touch, and every process that maps the same file shares them. A file cut short
// under its mapping would end the process on the next lookup that reaches past the new end, so
// each backend maps only where that cannot happen (ap_mappable); everything else is read.

#include <platform/apExport.h>

#include <cstddef>

/// Whether the open file `fd` may be mapped. POSIX: only a file that nobody but the superuser can
/// write or change the permissions of (owned by the superuser, writable by neither its group nor
/// others), as packages install them. Windows, which refuses to change a file at all while a view
/// of it exists: only a file that the process's user may not write, as one installed for all
/// users is, so that the user's own files stay free to change.
NLS_EXPORT bool ap_mappable(int fd);
/// The first `size` bytes of the open file `fd`, mapped read-only and shared; null when the
/// system refuses. The mapping outlives `fd` and holds the file even once it is replaced.
const unsigned char* ap_map_file(int fd, std::size_t size);
/// Releases a mapping made by ap_map_file.
void ap_unmap_file(const unsigned char* image, std::size_t size);

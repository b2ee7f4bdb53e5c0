#!/bin/sh
# Doxygen's input filter, for one file. Headers: protected members read as private, so that the
# reference leaves them out (they serve the library's own derived classes). The README: each
# heading below the title gets the anchor that a repository's page derives from it, which links
# such as [Build options](#build-options) name; fenced code is left alone.
case "$1" in
*.h)
  exec sed -e 's/protected:/private:/' "$1" ;;
*README.md)
  exec awk '
    /^```/ { fenced = !fenced }
    !fenced && /^##+ / {
      id = tolower($0); sub(/^#+ /, "", id); gsub(/[^a-z0-9 _-]/, "", id); gsub(/ /, "-", id)
      print $0 " {#" id "}"
      next
    }
    { print }' "$1" ;;
*)
  exec cat "$1" ;;
esac

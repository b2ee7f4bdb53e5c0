#!/usr/bin/env bash
# Installs, with apt-get, the Debian packages that building and testing need, when missing.
# With "example", only what the library and the example program need; with --windows, those of
# the Windows cross build and of running it under Wine.
set -euo pipefail
case "${1:-}" in
example)
  # The library (cmake, g++, SQLite) and the example's catalogues (msgfmt, from gettext).
  packages=(cmake make g++ pkg-config libsqlite3-dev gettext) ;;
--windows)
  # googletest: its sources, built with the cross compiler.
  packages=(cmake make pkg-config gettext g++-mingw-w64-x86-64-posix wine64 googletest) ;;
*)
  # libboost-locale-dev and gcc-12-locales (a real catalogue) serve the peer benchmarks only;
  # clang the fuzzer; doxygen the API reference, which a test builds.
  packages=(cmake make g++ pkg-config libgtest-dev libgmock-dev libbenchmark-dev gettext
            clang libclang-rt-dev locales-all libsqlite3-dev libboost-locale-dev gcc-12-locales
            doxygen) ;;
esac
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"

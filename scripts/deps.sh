#!/usr/bin/env bash
# Installs, with apt-get, the Debian packages that building and testing need, when missing.
# With "example", only what the library and the example program need.
set -euo pipefail
if [ "${1:-}" = "example" ]; then
  # The library (cmake, g++, SQLite) and the example's catalogues (msgfmt, from gettext).
  packages=(cmake make g++ pkg-config libsqlite3-dev gettext)
else
  # libboost-locale-dev and gcc-12-locales (a real catalogue) serve the peer benchmarks only;
  # clang the fuzzer; dpkg-dev and file the package test.
  packages=(cmake make g++ pkg-config libgtest-dev libgmock-dev libbenchmark-dev gettext
            clang libclang-rt-dev locales-all libsqlite3-dev libboost-locale-dev gcc-12-locales)
fi
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

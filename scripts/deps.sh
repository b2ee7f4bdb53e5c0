#!/usr/bin/env bash
# Installs, with apt-get, the Debian packages that building and testing need, when missing.
# With "example", only what the library and the example program need, and the locales that its
# tour switches to; with --windows, those of the Windows cross build and of running it under Wine.
set -euo pipefail
locales=()
case "${1:-}" in
example)
  # The library (cmake, g++, SQLite), the example's catalogues (msgfmt, from gettext), and the
  # locales of the tour's languages and of a machine without a language of its own (en_US),
  # generated from the package locales: without them the C library keeps its own conventions.
  packages=(cmake make g++ pkg-config libsqlite3-dev gettext locales)
  locales=(en_US de_DE fr_FR ja_JP pt_BR) ;;
--windows)
  # googletest: its sources, built with the cross compiler.
  packages=(cmake make pkg-config gettext g++-mingw-w64-x86-64-posix wine64 googletest) ;;
*)
  # libboost-locale-dev and gcc-12-locales (a real catalogue) serve the peer benchmarks only;
  # clang the fuzzer; doxygen the API reference, which a test builds; ninja-build the second
  # generator of the install checks; lintian and dpkg-dev (dpkg-shlibdeps) the Debian packages.
  packages=(cmake make ninja-build g++ pkg-config libgtest-dev libgmock-dev libbenchmark-dev
            gettext clang libclang-rt-dev locales-all libsqlite3-dev libboost-locale-dev
            gcc-12-locales doxygen lintian dpkg-dev) ;;
esac
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
missing=()
for l in "${locales[@]}"; do
  locale -a 2>/dev/null | grep -qx "$l\.utf8" || missing+=("$l")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "generating locales: ${missing[*]}"
for l in "${missing[@]}"; do
  line="$l.UTF-8 UTF-8"
  # Debian's /etc/locale.gen lists every locale commented out.
  $sudo sed -i "s/^# *$line\$/$line/" /etc/locale.gen
  grep -qx "$line" /etc/locale.gen || echo "$line" | $sudo tee -a /etc/locale.gen >/dev/null
done
$sudo locale-gen

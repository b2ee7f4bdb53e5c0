#!/usr/bin/env bash
# Builds the library and runs every test, the install and package checks also from a Ninja build
# folder. With --sanitize, the same under AddressSanitizer and UndefinedBehaviorSanitizer; with
# --tsan, under ThreadSanitizer; each in its own build folder. With --windows, the Windows x86-64
# build (mingw-w64), every test run under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "${1:-}" = "--windows" ]; then
  scripts/deps.sh --windows
  build=build-windows
  cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DNLS_BUILD_TESTS=ON \
    -DNLS_BUILD_BENCH=OFF
  # The build's own Wine prefix (as the toolchain file's emulator has it), and one Wine server
  # for the build and the tests, started before the build: the build runs nls-catalog.exe
  # for several catalogues at once, and two Wine processes that both find no prefix or no
  # server race to make them (one fails). With one server each process also starts in a
  # fraction of a second, not seconds.
  export WINEPREFIX="$PWD/$build/wine" WINEDEBUG=-all
  wine=/usr/lib/wine
  mkdir -p "$WINEPREFIX"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    # wineboot reports the 32-bit half that wine64 lacks as a failure; the prefix is what counts.
    "$wine/wine64" wineboot --init </dev/null >/dev/null 2>&1 || true
    "$wine/wineserver" -w
    [ -f "$WINEPREFIX/system.reg" ] || { echo "no Wine prefix in $WINEPREFIX" >&2; exit 1; }
  fi
  "$wine/wineserver" -p
  trap '"$wine/wineserver" -k 2>/dev/null || true' EXIT
  # The first Wine program starts the background services that live as long as the server; they
  # keep its standard streams, which must not be ctest's.
  "$wine/wine64" wineboot </dev/null >/dev/null 2>&1 || true
  cmake --build "$build" -j2
  # A test whose Wine process dies before it prints anything (rarely seen) gets a second run; a
  # failure of the test itself fails both.
  ctest --test-dir "$build" -j2 --output-on-failure --repeat until-pass:2
  exit
fi

scripts/deps.sh
build=build
options=()
if [ "${1:-}" = "--sanitize" ]; then
  build=build-asan
  options=(-DNLS_SANITIZE="address;undefined" -DNLS_BUILD_BENCH=OFF)
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
elif [ "${1:-}" = "--tsan" ]; then
  build=build-tsan
  options=(-DNLS_SANITIZE=thread -DNLS_BUILD_BENCH=OFF)
  export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1
fi
if [ -z "${1:-}" ]; then
  # The install and package checks once more from a Ninja build folder, which holds nothing else:
  # every project they configure must follow the build's generator.
  cmake -S . -B build-ninja -G Ninja -DNLS_BUILD_TESTS=ON -DNLS_BUILD_BENCH=OFF \
    -DNLS_BUILD_EXAMPLES=OFF
  cmake --build build-ninja -j2 --target nls nls-catalog
  ctest --test-dir build-ninja -R '^(install|package)\.consumer$' --output-on-failure
fi
cmake -S . -B "$build" -DNLS_BUILD_TESTS=ON "${options[@]}"
cmake --build "$build" -j2
ctest --test-dir "$build" -j2 --output-on-failure

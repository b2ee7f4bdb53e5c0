#!/usr/bin/env bash
# Builds the library and runs every test. With --sanitize, the same under AddressSanitizer and
# UndefinedBehaviorSanitizer, in its own build folder.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
build=build
options=()
if [ "${1:-}" = "--sanitize" ]; then
  build=build-asan
  options=(-DNLS_SANITIZE="address;undefined" -DNLS_BUILD_BENCH=OFF)
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
fi
cmake -S . -B "$build" -DNLS_BUILD_TESTS=ON "${options[@]}"
cmake --build "$build" -j2
ctest --test-dir "$build" -j2 --output-on-failure

#!/usr/bin/env bash
# Builds the catalogue fuzzer with clang and runs it for a bounded time: scripts/fuzz.sh [seconds]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
scripts/deps.sh
build=build-fuzz
CXX=clang++ cmake -S . -B "$build" -DNLS_BUILD_FUZZ=ON -DNLS_SANITIZE="address;undefined" \
  -DNLS_BUILD_BENCH=OFF -DNLS_BUILD_EXAMPLES=OFF
cmake --build "$build" -j2 --target nls_catalog_fuzzer
corpus="$build/corpus"
mkdir -p "$corpus"
# Seeds: one small catalogue in both byte orders, with and without a hash table, and one with
# system-dependent messages in both byte orders.
msgfmt -o "$corpus/seed-le.mo" tests/fuzz/seed.po
msgfmt --no-hash -o "$corpus/seed-le-nohash.mo" tests/fuzz/seed.po
msgfmt --endianness=big -o "$corpus/seed-be.mo" tests/fuzz/seed.po
msgfmt --endianness=big --no-hash -o "$corpus/seed-be-nohash.mo" tests/fuzz/seed.po
msgfmt -o "$corpus/seed-system-le.mo" tests/fuzz/seed-system.po
msgfmt --endianness=big -o "$corpus/seed-system-be.mo" tests/fuzz/seed-system.po
"$build/tests/nls_catalog_fuzzer" -max_total_time="$seconds" -max_len=4096 -print_final_stats=1 "$corpus"

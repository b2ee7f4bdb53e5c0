#!/usr/bin/env bash
# Installs what the example needs, the locales it switches to included, builds the library and the
# example program, then runs the example on the shipped catalogues.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh example
cmake -S . -B build -DNLS_BUILD_EXAMPLES=ON
cmake --build build -j2 --target nls_example
build/examples/nls_example "$@"

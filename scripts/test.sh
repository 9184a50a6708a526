#!/usr/bin/env bash
# Builds kova and runs the whole test suite:
#   1. the optimised build (RelWithDebInfo) and every test;
#   2. the same suite under AddressSanitizer + UndefinedBehaviorSanitizer (a Debug build);
#   3. the same suite in a Release build;
#   4. the tests of the read-ahead and write-behind threads (packet input, file writers,
#      whole runs) under ThreadSanitizer;
#   5. the programs built with clang, and a check that the Release and clang programs write
#      the very bytes of the first build (products, dumps, reports, messages);
#   6. every fuzz target for a short time (10 s each; scripts/fuzz.sh runs them longer).
set -euo pipefail
cd "$(dirname "$0")/.."
if ! command -v clang++ >/dev/null 2>&1; then
  echo "scripts/test.sh: the clang build and the fuzz targets need clang++ and its fuzzer runtime" \
       "(Debian: apt-get install clang libclang-rt-14-dev)" >&2
  exit 1
fi
cmake --workflow --preset default
cmake --workflow --preset sanitize
cmake --workflow --preset release
cmake --workflow --preset thread
cmake --preset clang > /dev/null
cmake --build --preset clang
./scripts/same-bytes.sh build build-release build-clang
./scripts/fuzz.sh 10

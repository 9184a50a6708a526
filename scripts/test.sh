#!/usr/bin/env bash
# Builds kova and runs the whole test suite:
#   1. the optimised build (g++, RelWithDebInfo) and every test;
#   2. the same suite under AddressSanitizer + UndefinedBehaviorSanitizer (clang, Debug), whose
#      build also holds the fuzz targets: each of them then runs for 10 seconds
#      (scripts/fuzz.sh runs them longer, in an optimised build);
#   3. the same suite in a Release build (g++);
#   4. the tests of the read-ahead and write-behind threads (packet input, file writers, whole
#      runs) and of kovaexport's second threads (the SPICE kernels' writing thread among them)
#      under ThreadSanitizer (clang); the programs of
#      this build also run in the check below, kovareport's census thread among them;
#   5. a check that the programs of the last three builds write the very bytes of the first
#      one (products, dumps, exports, reports, messages, exit statuses).
# About 13 minutes on a 2-core machine, nearly all of it compiling (each folder's tests compile as
# one unit, on one precompiled GoogleTest header).
set -euo pipefail
cd "$(dirname "$0")/.."
if ! command -v clang++ >/dev/null 2>&1; then
  echo "scripts/test.sh: the sanitizer builds and the fuzz targets need clang++ and its fuzzer runtime" \
       "(Debian: apt-get install clang libclang-rt-14-dev)" >&2
  exit 1
fi
cmake --workflow --preset default
cmake --workflow --preset sanitize
./scripts/fuzz.sh --build-dir build-sanitize 10
cmake --workflow --preset release
cmake --workflow --preset thread
./scripts/same-bytes.sh build build-release build-sanitize build-thread

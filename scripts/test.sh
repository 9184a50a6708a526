#!/usr/bin/env bash
# Builds kova and runs the whole test suite: the optimised build first, then the same suite
# under AddressSanitizer + UndefinedBehaviorSanitizer, then every fuzz target for a short
# time (10 s each, about a minute in all; scripts/fuzz.sh runs them longer).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --workflow --preset default
cmake --workflow --preset sanitize
if ! command -v clang++ >/dev/null 2>&1; then
  echo "scripts/test.sh: the fuzz targets need clang++ and its fuzzer runtime" \
       "(Debian: apt-get install clang libclang-rt-14-dev)" >&2
  exit 1
fi
./scripts/fuzz.sh 10

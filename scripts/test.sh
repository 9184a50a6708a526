#!/usr/bin/env bash
# Builds kova and runs the whole test suite: the optimised build first, then the same suite
# under AddressSanitizer + UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --workflow --preset default
cmake --workflow --preset sanitize

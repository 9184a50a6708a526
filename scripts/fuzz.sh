#!/usr/bin/env bash
# Builds the libFuzzer targets (preset "fuzz", clang) and runs each of them for a bounded
# time, starting from the committed seed corpus and the saved regression inputs.
#
#   scripts/fuzz.sh [--build-dir DIR] [seconds-per-target] [target...]
#
# Default: 10 seconds for each of the eight targets. With --build-dir the targets come from that
# build, which must be configured with KOVA_BUILD_FUZZ=ON and clang (the "sanitize" preset is:
# the test command runs the fuzzers of that build); without it the "fuzz" preset is configured
# in build-fuzz (or KOVA_FUZZ_BUILD_DIR), an optimised build that runs more inputs per second. New inputs that reach new code go to
# <build>/fuzz-corpus/<target>/ (the committed corpus is never written); an input that
# crashes, leaks, hangs or runs out of memory is saved as <build>/fuzz-findings/<target>-*
# and makes the script fail once every target has run.
# Environment: KOVA_FUZZ_BUILD_DIR (default build-fuzz), KOVA_FUZZ_JOBS (build jobs, default 2).
set -euo pipefail
cd "$(dirname "$0")/.."

given_build_dir=
if [ "${1:-}" = "--build-dir" ]; then
  given_build_dir="${2:?usage: scripts/fuzz.sh [--build-dir DIR] [seconds-per-target] [target...]}"
  shift 2
fi
seconds="${1:-10}"
shift || true
if ! [[ "$seconds" =~ ^[1-9][0-9]*$ ]]; then
  echo "usage: scripts/fuzz.sh [--build-dir DIR] [seconds-per-target] [target...]" >&2
  exit 2
fi
all_targets=(packet_file config_file norad ephdiag attdiag date_format export report_census)
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=("${all_targets[@]}")

if [ -n "$given_build_dir" ]; then
  build_dir="$given_build_dir"
else
  build_dir="${KOVA_FUZZ_BUILD_DIR:-build-fuzz}"
  cmake --preset fuzz -B "$build_dir" >/dev/null
fi
cmake --build "$build_dir" --target kova_fuzzers -j "${KOVA_FUZZ_JOBS:-2}"

findings_dir="$build_dir/fuzz-findings"
mkdir -p "$findings_dir"
failed=()
printf '\n%-14s %12s %8s  %s\n' target executions seconds result
for target in "${targets[@]}"; do
  fuzzer="$build_dir/fuzz/${target}_fuzzer"
  if [ ! -x "$fuzzer" ]; then
    echo "no fuzz target '$target' (known: ${all_targets[*]})" >&2
    exit 2
  fi
  work_corpus="$build_dir/fuzz-corpus/$target"
  mkdir -p "$work_corpus"
  seeds=("fuzz/corpus/$target")
  [ -d "fuzz/regressions/$target" ] && seeds+=("fuzz/regressions/$target")
  log="$build_dir/fuzz-$target.log"
  status=0
  "$fuzzer" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=30 -print_final_stats=1 \
    -artifact_prefix="$findings_dir/$target-" "$work_corpus" "${seeds[@]}" >"$log" 2>&1 || status=$?
  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  elapsed=$(sed -n 's/^Done [0-9]* runs in \([0-9]*\) second.*/\1/p' "$log" | tail -n 1)
  if [ "$status" -eq 0 ]; then
    result=ok
  else
    result="FINDING (exit $status), log $log"
    failed+=("$target")
  fi
  printf '%-14s %12s %8s  %s\n' "$target" "${executions:-?}" "${elapsed:-?}" "$result"
done

if [ ${#failed[@]} -gt 0 ]; then
  echo
  for target in "${failed[@]}"; do
    echo "--- $target: $build_dir/fuzz-$target.log" >&2
    grep -E -A 12 '^==[0-9]+==ERROR|runtime error|^SUMMARY|Test unit written' \
      "$build_dir/fuzz-$target.log" | head -n 40 >&2 || true
  done
  echo "findings in: ${failed[*]} (inputs in $findings_dir)" >&2
  exit 1
fi

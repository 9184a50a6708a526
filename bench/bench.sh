#!/usr/bin/env bash
# Throughput of kova, ephdiag, attdiag and kovaexport as whole processes on generated 1-day and
# 10-day packet files, beside the I/O floor of the same files measured in the same run; and the
# time of kovareport's whole report (text, JSON and page) and of kovaexport's four SPICE kernels
# beside kova's, runs alternating.
#
#   bench/bench.sh [--runs N] [--no-build] [--build-dir DIR] [--scratch DIR] [--micro]
#
# Builds the "bench" preset (a Release build with the micro-benchmarks, in build-bench/),
# generates the packet files with kovagen into a scratch directory (build-bench/bench-data by
# default) and times every program N times (default 7), reporting the best and the median.
#
# The I/O floor of a kova run is reading its packet file once (cat to /dev/null) and writing
# as many bytes as kova writes (dd from /dev/zero in 1 MiB blocks, the way kova's writers
# write); the floor of a dump is reading the toolkit file once and writing as many bytes as
# the dump; the floor of kovaexport is reading its packet file twice (it makes two passes) and
# writing as many bytes as its OEM and AEM. Floor runs alternate with the program's runs, so both meet the same load. Output
# files are removed before every run (outside the timing): kova truncates, and truncating a
# file of the previous run would be timed as well. Peak resident memory comes from one more
# run under /usr/bin/time -v.
#
# The machine is shared: the load average is printed before and after; compare ratios within
# one run rather than seconds across runs.
set -euo pipefail
export LC_ALL=C

root=$(cd "$(dirname "$0")/.." && pwd)
runs=7
build=yes
build_dir=$root/build-bench
scratch=
micro=no

usage() {
    sed -n '5p' "$0" | sed 's/^# */usage: /' >&2
    exit 2
}
while [ $# -gt 0 ]; do
    case $1 in
        --runs) runs=${2:?}; shift 2 ;;
        --no-build) build=no; shift ;;
        --build-dir) build_dir=$(cd "${2:?}" && pwd); shift 2 ;;
        --scratch) scratch=${2:?}; shift 2 ;;
        --micro) micro=yes; shift ;;
        -h|--help) usage ;;
        *) echo "bench.sh: unknown argument $1" >&2; usage ;;
    esac
done
case $runs in ''|*[!0-9]*|0) echo "bench.sh: --runs needs a positive number" >&2; exit 2 ;; esac

if [ $build = yes ]; then
    (cd "$root" && cmake --preset bench > /dev/null && cmake --build --preset bench -j2 > /dev/null)
fi
kova=$build_dir/run/kova
ephdiag=$build_dir/tools/ephdiag
attdiag=$build_dir/tools/attdiag
kovagen=$build_dir/generator/kovagen
kovaexport=$build_dir/export/kovaexport
kovareport=$build_dir/report/kovareport
for program in "$kova" "$ephdiag" "$attdiag" "$kovagen" "$kovaexport" "$kovareport"; do
    [ -x "$program" ] || { echo "bench.sh: $program is not built" >&2; exit 1; }
done
have_time=no
[ -x /usr/bin/time ] && have_time=yes

scratch=${scratch:-$build_dir/bench-data}
mkdir -p "$scratch"
cd "$scratch"

# --- helpers -------------------------------------------------------------------------------

# Seconds taken by the command, from the shell's own clock (microseconds). The disk is synced
# first, outside the time: a run must not pay for writing back what an earlier run left in the
# page cache (kova's files and the floor's are not synced; those of kovaexport, kovareport and
# kovagen are synced before they replace their targets, and would wait for the others' blocks).
elapsed() {
    sync
    local start=$EPOCHREALTIME
    "$@"
    local end=$EPOCHREALTIME
    awk -v s="$start" -v e="$end" 'BEGIN { printf "%.6f\n", e - s }'
}
best_of() { printf '%s\n' "$@" | sort -g | head -n 1; }
median_of() {
    printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END {
        if (NR % 2) print v[(NR + 1) / 2]; else printf "%.6f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
file_bytes() { stat -c %s "$1"; }
# The record count of a toolkit file: the big-endian word at offset 136 of its header.
record_count() { od -An -tu4 --endian=big -j 136 -N 4 "$1" | tr -d ' '; }
# Peak resident memory of one run of the program, in KiB, or "n/a".
peak_rss_kib() {
    if [ $have_time = no ]; then echo n/a; return; fi
    /usr/bin/time -v -o "$scratch/time.txt" "$@" > /dev/null 2>&1
    awk -F: '/Maximum resident set size/ { gsub(/ /, "", $2); print $2 }' "$scratch/time.txt"
}
write_zeros() { dd if=/dev/zero of="$1" bs=1M count="$2" iflag=count_bytes status=none; }

floor_kova() {  # packet file, ephemeris bytes, attitude bytes
    cat "$1" > /dev/null
    write_zeros floor.eph "$2"
    write_zeros floor.att "$3"
}
floor_dump() {  # toolkit file, dump bytes
    cat "$1" > /dev/null
    write_zeros floor.txt "$2"
}
floor_export() {  # packet file, OEM bytes, AEM bytes
    cat "$1" "$1" > /dev/null
    write_zeros floor.oem "$2"
    write_zeros floor.aem "$3"
}
run_kova() { "$kova" -packetfile "$1" -noradfile "${1%.kov}.tle" > /dev/null; }
run_export() { "$kovaexport" "$1" --norad "${1%.kov}.tle" > /dev/null; }
run_dump() { "$1" "$2" > /dev/null; }
run_spice() { "$kovaexport" "$1" --norad "${1%.kov}.tle" --spice > /dev/null; }
spice_files() { local base=${1%.kov}; echo "$base.bsp" "$base.bc" "$base.tsc" "$base.tf"; }
run_report() { "$kovareport" --norad "${1%.kov}.tle" --json "${1%.kov}.json" --html "${1%.kov}.html" "$1" > /dev/null; }

rows=()
report_rows=()
spice_rows=()
# One line of the table: file, program, record count, peak RSS (KiB or n/a), RSS limit (KiB
# or -), then the program's times, "--" and the floor's times.
add_row() {
    local file=$1 program=$2 count=$3 rss=$4 limit=$5
    shift 5
    local times=() floors=()
    while [ "$1" != -- ]; do times+=("$1"); shift; done
    shift
    floors=("$@")
    local best median floor_best floor_median
    best=$(best_of "${times[@]}")
    median=$(median_of "${times[@]}")
    floor_best=$(best_of "${floors[@]}")
    floor_median=$(median_of "${floors[@]}")
    rows+=("$(awk -v f="$file" -v p="$program" -v n="$count" -v b="$best" -v m="$median" \
        -v fb="$floor_best" -v fm="$floor_median" -v r="$rss" -v l="$limit" 'BEGIN {
        rss = (r == "n/a") ? "n/a" : sprintf("%.1f", r / 1024)
        lim = (l == "-") ? "-" : sprintf("%.1f", l / 1024)
        printf "%-8s %-8s %9d %8.3f %8.3f %8.2f %8.2f %8.3f %6.2f %6.2f %8s %8s",
            f, p, n, b, m, n / b / 1e6, n / m / 1e6, fb, b / fb, m / fm, rss, lim }')")
}

# --- inputs --------------------------------------------------------------------------------

echo "kova benchmark: $runs runs each, $(nproc) cores, in $scratch"
echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
# One day with short and long gaps, a duplicate and other APIDs between the navigation
# packets; ten days of plain one-second packets with a few gaps.
"$kovagen" --out day.kov --norad day.tle --duration 86400 --gap 3600:5 --gap 20000:30 \
    --gap 50000:600 --duplicate 70000 --other-apids 1 > day.gen
"$kovagen" --out ten.kov --norad ten.tle --duration 864000 --gap 100000:5 --gap 400000:40 \
    --gap 700000:900 > ten.gen
nav_packets() { sed -n 's/^kovagen: \([0-9]*\) navigation packets.*/\1/p' "$1"; }

# --- measurements --------------------------------------------------------------------------

for name in day ten; do
    input=$name.kov
    rm -f "$name.eph" "$name.att"
    run_kova "$input"  # the first run sizes the floor and warms the page cache
    eph_bytes=$(file_bytes "$name.eph")
    att_bytes=$(file_bytes "$name.att")
    records=$(record_count "$name.eph")
    times=() floors=()
    for ((n = 0; n < runs; n++)); do
        rm -f floor.eph floor.att
        floors+=("$(elapsed floor_kova "$input" "$eph_bytes" "$att_bytes")")
        rm -f "$name.eph" "$name.att"
        times+=("$(elapsed run_kova "$input")")
    done
    rm -f "$name.eph" "$name.att"
    rss=$(peak_rss_kib "$kova" -packetfile "$input" -noradfile "$name.tle")
    limit=$(( (16 * $(nav_packets "$name.gen") + 16 * 1024 * 1024) / 1024 ))
    add_row "$name" kova "$records" "$rss" "$limit" "${times[@]}" -- "${floors[@]}"

    # kovareport beside kova, one run of each in turn so that both meet the same load.
    run_report "$input"
    page_bytes=$(file_bytes "$name.html")
    kova_times=() report_times=()
    for ((n = 0; n < runs; n++)); do
        rm -f "$name.eph" "$name.att"
        kova_times+=("$(elapsed run_kova "$input")")
        report_times+=("$(elapsed run_report "$input")")
    done
    # The last kova run leaves the toolkit files that the dumps below read.
    rss=$(peak_rss_kib "$kovareport" --norad "$name.tle" --json "$name.json" --html "$name.html" "$input")
    report_rows+=("$(awk -v f="$name" -v k="$(best_of "${kova_times[@]}")" -v km="$(median_of "${kova_times[@]}")" \
        -v r="$(best_of "${report_times[@]}")" -v rm="$(median_of "${report_times[@]}")" -v p="$page_bytes" \
        -v s="$rss" 'BEGIN {
        rss = (s == "n/a") ? "n/a" : sprintf("%.1f", s / 1024)
        printf "%-8s %8.3f %8.3f %8.3f %8.3f %6.2f %6.2f %9.1f %8s", f, k, km, r, rm, r / k, rm / km, p / 1024, rss }')")
    rm -f "$name.json" "$name.html"

    # kovaexport --spice (all four kernels, one pass over the records) beside kova, alternating.
    # shellcheck disable=SC2046
    rm -f $(spice_files "$input")
    run_spice "$input"
    # shellcheck disable=SC2046
    kernel_bytes=$(cat $(spice_files "$input") | wc -c)
    kova_times=() spice_times=()
    for ((n = 0; n < runs; n++)); do
        rm -f "$name.eph" "$name.att"
        kova_times+=("$(elapsed run_kova "$input")")
        # shellcheck disable=SC2046
        rm -f $(spice_files "$input")
        spice_times+=("$(elapsed run_spice "$input")")
    done
    rss=$(peak_rss_kib "$kovaexport" "$input" --norad "$name.tle" --spice)
    spice_rows+=("$(awk -v f="$name" -v k="$(best_of "${kova_times[@]}")" -v km="$(median_of "${kova_times[@]}")" \
        -v r="$(best_of "${spice_times[@]}")" -v rm="$(median_of "${spice_times[@]}")" -v b="$kernel_bytes" \
        -v s="$rss" 'BEGIN {
        rss = (s == "n/a") ? "n/a" : sprintf("%.1f", s / 1024)
        printf "%-8s %8.3f %8.3f %8.3f %8.3f %6.2f %6.2f %9.1f %8s", f, k, km, r, rm, r / k, rm / km, b / 1048576, rss }')")
    # shellcheck disable=SC2046
    rm -f $(spice_files "$input")

    for tool in ephdiag attdiag; do
        toolkit_file=$name.${tool:0:3}
        program=$ephdiag
        [ $tool = attdiag ] && program=$attdiag
        rm -f "$toolkit_file.txt"
        run_dump "$program" "$toolkit_file"
        dump_bytes=$(file_bytes "$toolkit_file.txt")
        times=() floors=()
        for ((n = 0; n < runs; n++)); do
            rm -f floor.txt
            floors+=("$(elapsed floor_dump "$toolkit_file" "$dump_bytes")")
            rm -f "$toolkit_file.txt"
            times+=("$(elapsed run_dump "$program" "$toolkit_file")")
        done
        rm -f "$toolkit_file.txt"
        rss=$(peak_rss_kib "$program" "$toolkit_file")
        add_row "$name" "$tool" "$records" "$rss" - "${times[@]}" -- "${floors[@]}"
    done

    # kovaexport writes both messages from the packet file: as many data lines as kova's records
    # (the duplicate of the day file is left out of both).
    rm -f "$name.oem" "$name.aem"
    run_export "$input"
    oem_bytes=$(file_bytes "$name.oem")
    aem_bytes=$(file_bytes "$name.aem")
    times=() floors=()
    for ((n = 0; n < runs; n++)); do
        rm -f floor.oem floor.aem
        floors+=("$(elapsed floor_export "$input" "$oem_bytes" "$aem_bytes")")
        rm -f "$name.oem" "$name.aem"
        times+=("$(elapsed run_export "$input")")
    done
    rm -f "$name.oem" "$name.aem"
    rss=$(peak_rss_kib "$kovaexport" "$input" --norad "$name.tle")
    echo "$name: OEM $oem_bytes bytes, AEM $aem_bytes bytes"
    add_row "$name" export "$records" "$rss" - "${times[@]}" -- "${floors[@]}"
done
rm -f floor.eph floor.att floor.txt floor.oem floor.aem "$scratch/time.txt"

echo "load average after:  $(cut -d' ' -f1-3 /proc/loadavg)"
echo
echo "records: records written by kova, record lines written by the dumps; M/s = millions per second"
echo "floor: cat of the input + dd of the output size; ratio = program time / floor time"
printf '%-8s %-8s %9s %8s %8s %8s %8s %8s %6s %6s %8s %8s\n' file program records "best s" \
    "median s" "M/s best" "M/s med" "floor s" "ratio" "r med" "RSS MB" "limit MB"
printf '%s\n' "${rows[@]}"
echo
echo "targets: kova >= 5 M records/s on ten and <= 3x the floor; dumps >= 2 M lines/s;"
echo "         kovaexport >= 1 M records/s on ten (both messages);"
echo "         kova peak RSS <= 16 bytes per navigation packet + 16 MB (the limit column)"
echo
echo "kovareport (text + JSON + page) beside kova, runs alternating; ratio = kovareport / kova"
printf '%-8s %8s %8s %8s %8s %6s %6s %9s %8s\n' file "kova s" "kova med" "report s" "rep med" \
    "ratio" "r med" "page KiB" "RSS MB"
printf '%s\n' "${report_rows[@]}"
echo
echo "targets: kovareport <= 2x kova on ten; page < 2 MB"
echo
echo "kovaexport --spice (SPK, CK, SCLK and frame kernels) beside kova, runs alternating; ratio = --spice / kova"
printf '%-8s %8s %8s %8s %8s %6s %6s %9s %8s\n' file "kova s" "kova med" "spice s" "spi med" \
    "ratio" "r med" "files MB" "RSS MB"
printf '%s\n' "${spice_rows[@]}"
echo
echo "target: kovaexport --spice <= 1.5x kova on ten"

if [ $micro = yes ]; then
    echo
    "$build_dir/bench/kova_bench" --benchmark_min_time=0.2
fi

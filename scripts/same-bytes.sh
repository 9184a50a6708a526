#!/usr/bin/env bash
# The programs of two builds must write the same bytes: every product, dump, report and message,
# and every exit status, on the example pass and on generated passes with short and long gaps,
# a repeated time tag, other APIDs between the navigation packets, 214-byte packets, a pass with
# a filled gap of every length from 2 to 60 s (fill values are the most sensitive to the order
# of operations), and a file of zero-valued packets whose attitude angles are NaN. The SPICE
# kernels of every pass are among the products.
#
#   scripts/same-bytes.sh REFERENCE_BUILD OTHER_BUILD [OTHER_BUILD ...]
#
# Each build directory holds run/kova, tools/ephdiag, tools/attdiag, generator/kovagen,
# export/kovaexport and report/kovareport. Exits 1 after listing every difference.
set -euo pipefail
export LC_ALL=C

[ $# -ge 2 ] || { echo "usage: scripts/same-bytes.sh REFERENCE_BUILD OTHER_BUILD..." >&2; exit 2; }
builds=()
for build in "$@"; do builds+=("$(cd "$build" && pwd)"); done
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# One gap of each short length, 150 s apart, on time tags with a sub-second count.
every_gap="--subseconds 40000 --duration 9400"
for length in $(seq 2 60); do every_gap+=" --gap $((150 * length)):$length"; done

# The passes, each as kovagen arguments; kova's satellite name goes with the wide packets.
passes=(
  "example|--start 2003-07-30T12:00:00 --duration 7200 --gap 1800:5 --gap 3600:90"
  "mixed|--duration 20000 --gap 1800:5 --gap 3600:59 --gap 7000:61 --gap 9000:600 --duplicate 100 --duplicate 12000 --other-apids 2"
  "wide|--packet-size 214 --name SELA --duration 8000 --gap 500:30 --other-apids 1"
  "every-gap|$every_gap"
)

# Everything one build writes for the passes, under $scratch/<index>/.
run_build() {
    local bin=$1 out=$2
    mkdir -p "$out"
    cd "$out"
    for pass in "${passes[@]}"; do
        local name=${pass%%|*} args=${pass#*|} satellite=MARU
        case $args in *SELA*) satellite=SELA ;; esac
        # shellcheck disable=SC2086
        "$bin/generator/kovagen" --out "$name.kov" --norad "$name.tle" $args > "$name.gen.out" 2>&1
        for variant in plain diagnostics; do
            local extra=()
            [ $variant = diagnostics ] && extra=(-diag_1 yes -diag_2 yes -listconfig yes)
            set +e
            "$bin/run/kova" -packetfile "$name.kov" -noradfile "$name.tle" -noradsatname "$satellite" \
                -ephemerisfile "$name.$variant.eph" -attitudefile "$name.$variant.att" "${extra[@]}" \
                > "$name.$variant.out" 2> "$name.$variant.err"
            echo $? > "$name.$variant.status"
            set -e
            # The listing's stamp is the time of the run.
            sed -i 's/^KOVA \(.*\) [0-9/]* [0-9:]*$/KOVA \1 (time)/' "$name.$variant.out"
        done
        "$bin/tools/ephdiag" "$name.plain.eph" > /dev/null 2>&1 || true
        "$bin/tools/attdiag" "$name.plain.att" > /dev/null 2>&1 || true
        "$bin/export/kovaexport" "$name.kov" --norad "$name.tle" --satellite "$satellite" \
            --creation-date 2026-01-01T00:00:00 > "$name.export.out" 2>&1 || true
        # The four SPICE kernels (little-endian DAF and text), with an OEM from the same run.
        "$bin/export/kovaexport" "$name.kov" --norad "$name.tle" --satellite "$satellite" --spice \
            --oem "$name.spice.oem" --creation-date 2026-01-01T00:00:00 > "$name.export-spice.out" 2>&1 || true
        "$bin/export/kovaexport" --from-ephemeris "$name.plain.eph" --oem "$name.from-eph.oem" \
            --creation-date 2026-01-01T00:00:00 > "$name.export-eph.out" 2>&1 || true
        "$bin/report/kovareport" --norad "$name.tle" --satellite "$satellite" --json "$name.json" \
            --html "$name.html" "$name.kov" > "$name.report.txt" 2>&1 || true
    done
    # Three navigation packets of zeros: no position, so NaN angles and elements.
    : > zeros.kov
    for _ in 1 2 3; do
        { printf '\x0b\xbd\xc0\x00\x00\x77'; head -c 120 /dev/zero; } >> zeros.kov
    done
    set +e
    "$bin/run/kova" -packetfile zeros.kov -diag_2 yes > zeros.out 2> zeros.err
    echo $? > zeros.status
    "$bin/tools/attdiag" zeros.att > /dev/null 2>&1
    "$bin/tools/ephdiag" zeros.eph > /dev/null 2>&1
    "$bin/report/kovareport" --json zeros.json zeros.kov > zeros.report.txt 2>&1
    # Runs that stop early.
    "$bin/run/kova" -packetfile missing.kov > missing.out 2> missing.err; echo $? > missing.status
    "$bin/run/kova" -packetfile example.kov -attitudefile example.kov > refused.out 2> refused.err
    echo $? > refused.status
    set -e
    # File names differ between the runs' directories only where a program prints them.
    find . -type f -exec sed -i "s|$out|OUT|g" {} +
}

status=0
for index in "${!builds[@]}"; do
    run_build "${builds[$index]}" "$scratch/$index"
done
for index in "${!builds[@]}"; do
    [ "$index" = 0 ] && continue
    if ! diff -r -q "$scratch/0" "$scratch/$index" > "$scratch/diff"; then
        echo "same-bytes: ${builds[$index]} differs from ${builds[0]}:" >&2
        sed 's/^/  /' "$scratch/diff" >&2
        status=1
    else
        echo "same-bytes: ${builds[$index]} writes the same $(find "$scratch/0" -type f | wc -l) files as ${builds[0]}"
    fi
done
exit $status

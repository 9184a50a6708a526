#!/usr/bin/env bash
# Builds kova, generates a two-hour example pass with its element set, runs kova on it with
# the example configuration, dumps the two files it writes and exports the pass as CCSDS
# messages (OEM and AEM) and as SPICE kernels (SPK, CK, clock and frame kernels). Everything
# lands in examples/out/.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
cmake --preset default >/dev/null
cmake --build --preset default -j2 --target kova ephdiag attdiag kovagen kovaexport

out="$root/examples/out"
mkdir -p "$out"
cd "$out"
"$root/build/generator/kovagen" --out pass.kov --norad norad.tle \
  --start 2003-07-30T12:00:00 --duration 7200 --gap 1800:5 --gap 3600:90
"$root/build/run/kova" -configfile "$root/examples/example.cfg" -packetfile pass.kov
"$root/build/tools/ephdiag" pass.eph -cnt 5
"$root/build/tools/attdiag" pass.att -cnt 5
"$root/build/export/kovaexport" pass.kov --norad norad.tle
"$root/build/export/kovaexport" pass.kov --norad norad.tle --spice
echo
echo "Wrote $out/pass.eph and $out/pass.att; text dumps in pass.eph.txt and pass.att.txt;"
echo "CCSDS messages in pass.oem and pass.aem; SPICE kernels in pass.bsp, pass.bc, pass.tsc and pass.tf."

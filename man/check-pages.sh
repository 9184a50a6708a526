#!/bin/sh
# Checks that keep the manual pages true to the programs (run by ctest):
#   check-pages.sh renders PAGE              the page formats without a single groff warning
#   check-pages.sh kova-keywords KOVA PAGE   every keyword kova registers is described
#   check-pages.sh help-options PROGRAM PAGE
#                                            every option of PROGRAM --help is described
#                                            (kovagen, kovaexport)
# In roff source a literal minus is written \-, so "-noradfile" appears as "\-noradfile".
set -u

escaped() { printf '%s\n' "$1" | sed 's/-/\\-/g'; }

missing=0
require_in_page() {
    if ! grep -qF -- "$(escaped "$1")" "$2"; then
        echo "$2 does not describe $1"
        missing=1
    fi
}

case "$1" in
renders)
    warnings=$(groff -man -Tutf8 -ww -z "$2" 2>&1)
    [ -z "$warnings" ] && exit 0
    printf '%s\n' "$warnings"
    exit 1
    ;;
kova-keywords)
    # The full listing names every keyword of both option tables, one per line with its
    # value after two tabs; the run itself then stops on the missing packet file.
    keywords=$("$2" -listconfig yes -packetfile "" 2>/dev/null | grep '^-' | cut -f1 | sort -u)
    [ -n "$keywords" ] || { echo "no keyword listing from $2"; exit 1; }
    for keyword in $keywords; do require_in_page "$keyword" "$3"; done
    exit "$missing"
    ;;
help-options)
    options=$("$2" --help | grep -oE -- '--[a-z][a-z-]*' | sort -u)
    [ -n "$options" ] || { echo "no option summary from $2"; exit 1; }
    for option in $options; do require_in_page "$option" "$3"; done
    exit "$missing"
    ;;
*)
    echo "usage: check-pages.sh renders PAGE | kova-keywords KOVA PAGE | help-options PROGRAM PAGE" >&2
    exit 2
    ;;
esac

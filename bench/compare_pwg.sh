#!/usr/bin/env bash
# The PostScript engine's A0 drawing against the same page as PWG Raster (rendered by
# Ghostscript's pwgraster device at 720 dpi): prints both sizes in bytes.
set -euo pipefail
build=${1:-build}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
KEEP_POSTSCRIPT="$work/a0.ps" "$build/bench/postscript_engine_bench" >/dev/null
gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=pwgraster -r720 -sOutputFile="$work/a0.pwg" "$work/a0.ps"
printf 'PostScript %d bytes\nPWG Raster %d bytes\n' "$(stat -c %s "$work/a0.ps")" \
    "$(stat -c %s "$work/a0.pwg")"

#!/usr/bin/env bash
# Prints launch time and peak memory of glyphsmith and glyphbox beside an empty
# Qt Widgets window, then glyphbox's grid redraw time.
#   tools/bench.sh [runs]
# Uses the offscreen platform unless a display is set.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="${BUILD_DIR:-$here/build}"
runs="${1:-15}"

bash "$here/tools/setup.sh" build >/dev/null
[ -n "${DISPLAY:-}" ] || export QT_QPA_PLATFORM=offscreen

# A program folder whose settings skip the first-run prompt, so the window shows.
folder="$(mktemp -d)"
trap 'rm -rf "$folder"' EXIT
cp -r "$build_dir/bin/." "$folder/"
printf '[Glyphsmith]\r\nfirst=no\r\n' >"$folder/glyph.ini"
export GLYPH_PROGRAM_DIR="$folder"
export XDG_CONFIG_HOME="$folder/config"

"$build_dir/benchmarks/launchbench" -n "$runs" \
    glyphsmith="$folder/glyphsmith" glyphbox="$folder/glyphbox" \
    empty-window="$build_dir/benchmarks/emptywindow"
if [ -x "$build_dir/benchmarks/glyphbox_redraw" ]; then
    "$build_dir/benchmarks/glyphbox_redraw"
fi

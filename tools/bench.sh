#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Launch time of glyphsmith and glyphbox beside two yardsticks (an empty window
# and a window with one label), and glyphbox's font change, for one or more font
# sets. Everything runs on an X server of its own (Xvfb) that one client stays
# connected to, as on a desktop, so the server never resets between launches.
#
#   tools/bench.sh [-n runs] [font set ...]
#
# Font sets: "bare" (the machine's own fonts, the default), "noto" (the system's
# fonts plus the Noto families of Debian's fonts-noto-* packages, fetched once with
# apt-get download into the build folder, never installed), or a number N (N
# synthetic families made from DejaVu Sans, plus DejaVu's own three). Each set is
# a fontconfig file under build/benchmarks/fontsets; nothing outside the build
# folder is written. With several sets, a summary table follows.
#   tools/bench.sh 50 200 1000 2000 4000     the scaling table
# BUILD_DIR picks the build folder; BENCH_DISPLAY an X display number such as :96
# (by default Xvfb picks a free one); BENCH_COMPARE another build folder whose
# programs run interleaved with these (labelled "-cmp"), for before and after.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="${BUILD_DIR:-$here/build}"
runs=30
while getopts "n:h" opt; do
    case "$opt" in
    n) runs="$OPTARG" ;;
    *)
        sed -n '3,19p' "$0" | sed 's/^# \{0,1\}//'
        exit 2
        ;;
    esac
done
shift $((OPTIND - 1))
sets=("$@")
[ ${#sets[@]} -gt 0 ] || sets=(bare)

dejavu_dir=/usr/share/fonts/truetype/dejavu
noto_packages=(fonts-noto-core fonts-noto-extra fonts-noto-ui-core fonts-noto-ui-extra fonts-noto-mono)

need() {
    command -v "$1" >/dev/null || {
        echo "bench.sh: '$1' is missing; install the package $2" >&2
        exit 1
    }
}
bash "$here/tools/setup.sh" bench >/dev/null
need Xvfb xvfb
need fc-cache fontconfig
for s in "${sets[@]}"; do
    case "$s" in
    bare) ;;
    noto)
        need apt-get apt
        need dpkg-deb dpkg
        ;;
    *[!0-9]* | "")
        echo "bench.sh: unknown font set '$s' (bare, noto or a number)" >&2
        exit 2
        ;;
    *) [ -f "$dejavu_dir/DejaVuSans.ttf" ] || {
        echo "bench.sh: $dejavu_dir/DejaVuSans.ttf is missing; install fonts-dejavu-core" >&2
        exit 1
    } ;;
    esac
done

[ -f "$build_dir/CMakeCache.txt" ] || cmake -S "$here" -B "$build_dir" -G Ninja >/dev/null
cmake --build "$build_dir" --target glyphsmith glyphbox emptywindow labelwindow launchbench \
    fontset glyphbox_redraw gamefontbench installbench >/dev/null

fontsets="$build_dir/benchmarks/fontsets"
mkdir -p "$fontsets/cache"

# Writes the fontconfig file of a set and fills its cache, so that no launch
# below pays for scanning fonts; prints the file's path (nothing for "bare").
prepare_set() {
    local set="$1" dir conf
    [ "$set" = bare ] && return 0
    if [ "$set" = noto ]; then
        dir="$fontsets/noto"
        if [ ! -d "$dir/root" ]; then
            mkdir -p "$dir/debs"
            (cd "$dir/debs" && apt-get download -q "${noto_packages[@]}") >&2
            mkdir -p "$dir/root.part"
            for deb in "$dir"/debs/*.deb; do dpkg-deb -x "$deb" "$dir/root.part"; done
            mv "$dir/root.part" "$dir/root"
        fi
        conf="$dir/fonts.conf"
        # The cache comes first: fontconfig writes into the first folder it may.
        cat >"$conf" <<EOF
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig>
  <cachedir>$fontsets/cache</cachedir>
  <include ignore_missing="yes">/etc/fonts/fonts.conf</include>
  <dir>$dir/root/usr/share/fonts</dir>
</fontconfig>
EOF
    else
        dir="$fontsets/synthetic-$set"
        if [ ! -d "$dir/fonts" ]; then
            "$build_dir/benchmarks/fontset" "$set" "$dejavu_dir/DejaVuSans.ttf" "$dir/fonts.part"
            mv "$dir/fonts.part" "$dir/fonts"
        fi
        # DejaVu's three core families beside the synthetic ones, the system's
        # rules (aliases, preferences) but none of its other fonts.
        mkdir -p "$dir/dejavu"
        for f in DejaVuSans DejaVuSans-Bold DejaVuSansMono DejaVuSansMono-Bold DejaVuSerif \
            DejaVuSerif-Bold; do
            [ -f "$dejavu_dir/$f.ttf" ] && ln -sf "$dejavu_dir/$f.ttf" "$dir/dejavu/$f.ttf"
        done
        conf="$dir/fonts.conf"
        cat >"$conf" <<EOF
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig>
  <cachedir>$fontsets/cache</cachedir>
  <dir>$dir/dejavu</dir>
  <dir>$dir/fonts</dir>
  <include ignore_missing="yes">/etc/fonts/conf.d</include>
</fontconfig>
EOF
    fi
    FONTCONFIG_FILE="$conf" fc-cache >/dev/null 2>&1 || true
    echo "$conf"
}

work="$(mktemp -d)"
xvfb_pid=""
keeper_pid=""
cleanup() {
    [ -n "$keeper_pid" ] && kill "$keeper_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

# Prepared before the server starts, so that the downloads are not timed beside it.
confs=()
for s in "${sets[@]}"; do confs+=("$(prepare_set "$s")"); done

if [ -n "${BENCH_DISPLAY:-}" ]; then
    Xvfb "$BENCH_DISPLAY" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    display="$BENCH_DISPLAY"
    sleep 1
else
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
    display=":$(cat "$work/display")"
fi
kill -0 "$xvfb_pid" 2>/dev/null || {
    echo "bench.sh: Xvfb did not start on ${display:-a free display}" >&2
    exit 1
}
export DISPLAY="$display"
unset QT_QPA_PLATFORM QT_SCALE_FACTOR WAYLAND_DISPLAY

# A program folder whose settings skip the first-run prompt, so the window shows.
cp -r "$build_dir/bin/." "$work/"
printf '[Glyphsmith]\r\nfirst=no\r\n' >"$work/glyph.ini"
export GLYPH_PROGRAM_DIR="$work"
export XDG_CONFIG_HOME="$work/config"
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"

# The client that stays connected: a window left open, as on any desktop.
"$build_dir/benchmarks/emptywindow" >/dev/null 2>&1 &
keeper_pid=$!
sleep 1

summary=()
for i in "${!sets[@]}"; do
    if [ -n "${confs[$i]}" ]; then export FONTCONFIG_FILE="${confs[$i]}"; else unset FONTCONFIG_FILE; fi
    redraw="$("$build_dir/benchmarks/glyphbox_redraw")"
    compare=()
    if [ -n "${BENCH_COMPARE:-}" ]; then
        compare=(glyphsmith-cmp="$BENCH_COMPARE/bin/glyphsmith" glyphbox-cmp="$BENCH_COMPARE/bin/glyphbox")
        redraw_cmp="$("$BENCH_COMPARE/benchmarks/glyphbox_redraw" | sed 's/^/[cmp] /')"
    fi
    families="$(sed -n 's/.*, \([0-9]*\) families installed.*/\1/p' <<<"$redraw")"
    echo "== font set ${sets[$i]}: $families families (Qt's count), display $DISPLAY"
    launch="$("$build_dir/benchmarks/launchbench" -n "$runs" -b one-label -b empty-window \
        glyphsmith="$work/glyphsmith" glyphbox="$work/glyphbox" "${compare[@]}" \
        one-label="$build_dir/benchmarks/labelwindow" \
        empty-window="$build_dir/benchmarks/emptywindow")"
    echo "$launch"
    echo "$redraw"
    [ -n "${BENCH_COMPARE:-}" ] && echo "$redraw_cmp"
    med() { awk -v p="$1" '$1 == p { print $3 }' <<<"$launch"; }
    ratio() { awk -v p="$1" '$1 == p { print $6 }' <<<"$launch"; }
    cold="$(awk '/cold/ { for (k = 1; k <= NF; ++k) if ($k == "median") print $(k + 1) }' <<<"$redraw")"
    summary+=("| ${sets[$i]} | $families | $(med glyphsmith) | $(med glyphbox) | $(med one-label) | $(med empty-window) | $(ratio glyphsmith) | $(ratio glyphbox) | $cold |")
done

if [ ${#sets[@]} -gt 1 ]; then
    echo
    echo "| font set | families | glyphsmith ms | glyphbox ms | one-label ms | empty ms | glyphsmith / one-label | glyphbox / one-label | glyphbox first visit ms |"
    echo "|---|---|---|---|---|---|---|---|---|"
    printf '%s\n' "${summary[@]}"
    echo "(launch: medians of $runs interleaved runs to the first painted window; first visit: median, cold)"
fi

# The same launch with games installed: a home holding every client of the table
# and a Steam library of 50 games, both fields configured, so that the window
# resolves its installations at start-up (the last font set above stays).
echo
echo "== launch with every client installed and a Steam library of 50 games"
fakehome="$(TMPDIR="$work" "$build_dir/benchmarks/installbench" --keep 50)"
printf '[Glyphsmith]\r\nfirst=no\r\nq3config=%s\r\nq1config=%s\r\n' \
    "$fakehome/.openarena/baseoa" "$fakehome/.quakespasm/id1" >"$work/glyph.ini"
HOME="$fakehome" "$build_dir/benchmarks/launchbench" -n "$runs" -b one-label \
    glyphsmith="$work/glyphsmith" glyphbox="$work/glyphbox" \
    one-label="$build_dir/benchmarks/labelwindow"
printf '[Glyphsmith]\r\nfirst=no\r\n' >"$work/glyph.ini"
rm -rf "$(dirname "$fakehome")"
echo
echo "== finding the installed clients"
"$build_dir/benchmarks/installbench"

echo
echo "== finding a game's own font in a 400 MB installation"
"$build_dir/benchmarks/gamefontbench"

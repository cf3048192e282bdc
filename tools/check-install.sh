#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks what a user installs: `cmake --install` with a prefix and with DESTDIR,
# the desktop entries and AppStream metadata under the real validators, the icons,
# the manual pages, the installed programs' --version, and the Debian package.
#   tools/check-install.sh
# Builds in build-install/ (set BUILD_DIR to use another folder; CMAKE_ARGS passes
# more options to a first configure). Exits 1 naming every problem it found.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="${BUILD_DIR:-$here/build-install}"

programs=(glyphsmith glyphbox)
ids=(com.kestrelworks.glyphsmith com.kestrelworks.glyphbox)
icon_sizes=(16 24 32 48 64 128 256)

problems=()
problem() {
    echo "check-install: PROBLEM: $*" >&2
    problems+=("$*")
}
fatal() {
    echo "check-install: FAILED: $*" >&2
    exit 1
}
step() { echo "== $*"; }

missing=()
for tool in cmake cpack desktop-file-validate appstreamcli dpkg-deb dpkg-shlibdeps \
    dpkg-parsechangelog file man; do
    command -v "$tool" >/dev/null || missing+=("$tool")
done
[ ${#missing[@]} -eq 0 ] || fatal "missing tools: ${missing[*]} (run tools/setup.sh test)"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

step "Building in $build_dir"
if [ -f "$build_dir/CMakeCache.txt" ]; then
    cmake "$build_dir" >/dev/null
else
    # shellcheck disable=SC2086
    cmake -S "$here" -B "$build_dir" -G Ninja -DBUILD_TESTING=OFF ${CMAKE_ARGS:-} >/dev/null
fi
cmake --build "$build_dir" -j"$(nproc)" --target glyphsmith glyphbox compressed_docs
version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build_dir/CMakeCache.txt")"
[ -n "$version" ] || fatal "no project version in $build_dir/CMakeCache.txt"
echo "version $version"

# Every file a user gets, relative to the prefix.
expected=(
    lib/glyphsmith/glyphsmith lib/glyphsmith/glyphbox lib/glyphsmith/glyph.ini lib/glyphsmith/installed-copy
    lib/glyphsmith/glyph-help.html lib/glyphsmith/q3a/q3-white.gif
    share/metainfo/com.kestrelworks.glyphsmith.metainfo.xml
    share/doc/glyphsmith/copyright share/doc/glyphsmith/changelog.gz
)
for i in 0 1; do
    expected+=(
        "bin/${programs[$i]}"
        "share/applications/${ids[$i]}.desktop"
        "share/man/man1/${programs[$i]}.1.gz"
        "share/icons/hicolor/scalable/apps/${ids[$i]}.svg"
    )
    for size in "${icon_sizes[@]}"; do
        expected+=("share/icons/hicolor/${size}x${size}/apps/${ids[$i]}.png")
    done
done

# check_tree ROOT: the expected files below ROOT (a prefix), the commands as
# relative links into the program folder, the icons at their sizes.
check_tree() {
    local root="$1" path
    for path in "${expected[@]}"; do
        [ -e "$root/$path" ] || problem "$root: $path is missing"
    done
    for program in "${programs[@]}"; do
        path="$root/bin/$program"
        if [ ! -L "$path" ]; then
            problem "$path is not a link"
        elif [ "$(readlink "$path")" != "../lib/glyphsmith/$program" ]; then
            problem "$path points at $(readlink "$path")"
        elif [ ! -x "$(readlink -f "$path")" ]; then
            problem "$path does not lead to a program"
        fi
    done
    for id in "${ids[@]}"; do
        for size in "${icon_sizes[@]}"; do
            path="$root/share/icons/hicolor/${size}x${size}/apps/$id.png"
            [ -e "$path" ] || continue
            file -b "$path" | grep -q "^PNG image data, $size x $size," ||
                problem "$path is not a $size x $size PNG: $(file -b "$path")"
        done
    done
}

# run_version COMMAND NAME: the installed program answers --version offscreen.
run_version() {
    local out
    if ! out="$(QT_QPA_PLATFORM=offscreen "$1" --version 2>&1)"; then
        problem "$1 --version failed: $out"
    elif [ "$out" != "$2 $version" ]; then
        problem "$1 --version printed '$out', expected '$2 $version'"
    else
        echo "$1 --version: $out"
    fi
}

step "Install with --prefix"
prefix="$work/prefix"
cmake --install "$build_dir" --prefix "$prefix" >/dev/null
check_tree "$prefix"
# The manifest lists every file the install wrote: all below the prefix.
outside="$(grep -v "^$prefix/" "$build_dir/install_manifest.txt" || true)"
[ -z "$outside" ] || problem "the install wrote outside the prefix: $outside"
run_version "$prefix/bin/glyphsmith" Glyphsmith
run_version "$prefix/bin/glyphbox" Glyphbox

step "Install with DESTDIR"
stage="$work/stage"
DESTDIR="$stage" cmake --install "$build_dir" --prefix /usr >/dev/null
check_tree "$stage/usr"
top="$(ls -A "$stage")"
[ "$top" = usr ] || problem "DESTDIR holds more than usr/: $top"

step "Desktop entries"
for id in "${ids[@]}"; do
    entry="$stage/usr/share/applications/$id.desktop"
    # Hints are advice (Game;Utility; lists glyphsmith in two menus on purpose);
    # errors and warnings fail.
    if ! out="$(desktop-file-validate "$entry" 2>&1)"; then
        problem "desktop-file-validate $id: $out"
    elif grep -Eq "(error|warning):" <<<"$out"; then
        problem "desktop-file-validate $id: $out"
    fi
    [ -z "$out" ] || echo "$out"
    exec_line="$(sed -n 's/^Exec=//p' "$entry")"
    [ -x "$stage/usr/bin/${exec_line%% *}" ] ||
        problem "$id: Exec=$exec_line is not one of the installed commands"
done

step "AppStream metadata"
appstreamcli validate --no-net "$stage/usr/share/metainfo/com.kestrelworks.glyphsmith.metainfo.xml" ||
    problem "appstreamcli validate failed"
# The tree check also matches the metadata with its desktop entry and icon.
appstreamcli validate-tree --no-net "$stage" || problem "appstreamcli validate-tree failed"

step "Versions"
metainfo_version="$(grep -o '<release version="[^"]*"' \
    "$stage/usr/share/metainfo/com.kestrelworks.glyphsmith.metainfo.xml" | head -1 | cut -d'"' -f2)"
[ "$metainfo_version" = "$version" ] ||
    problem "the newest release in the metadata is $metainfo_version, the project is $version"
changelog_version="$(dpkg-parsechangelog -l "$here/packaging/changelog" -S Version)"
[ "$changelog_version" = "$version" ] ||
    problem "packaging/changelog is at $changelog_version, the project is $version"

step "Manual pages"
for program in "${programs[@]}"; do
    page="$stage/usr/share/man/man1/$program.1.gz"
    [ -e "$page" ] || continue
    warnings="$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null || echo "man failed")"
    [ -z "$warnings" ] || problem "man -l $program.1: $warnings"
    grep -q "\"Glyphsmith $version\"" <(gzip -dc "$page") ||
        problem "$program.1 does not name version $version in its title line"
done

step "Debian package"
packages="$work/packages"
(cd "$build_dir" && cpack -G DEB -B "$packages" >/dev/null) || fatal "cpack -G DEB failed"
debs=("$packages"/*.deb)
if [ ${#debs[@]} -ne 1 ] || [ ! -f "${debs[0]}" ]; then
    fatal "expected one .deb in $packages"
fi
deb="${debs[0]}"
dpkg-deb -I "$deb"
listing="$(dpkg-deb -c "$deb")"
echo "$listing"
for path in "${expected[@]}"; do
    grep -q " \./usr/$path\( -> \|$\)" <<<"$listing" || problem "the package lacks /usr/$path"
done
for program in "${programs[@]}"; do
    grep -q " \./usr/bin/$program -> \.\./lib/glyphsmith/$program$" <<<"$listing" ||
        problem "the package's /usr/bin/$program is not a link into /usr/lib/glyphsmith"
done
outside="$(awk '{print $6}' <<<"$listing" | grep -v '^\./usr/' | grep -v '^\./$' || true)"
[ -z "$outside" ] || problem "the package holds files outside /usr: $outside"
depends="$(dpkg-deb -f "$deb" Depends)"
for library in libqt6core6 libqt6gui6 libqt6widgets6 libc6; do
    grep -q "\b$library\b" <<<"$depends" ||
        problem "the package does not depend on $library (Depends: $depends)"
done
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || problem "the package's version is not $version"
# The packaged (stripped) programs run too.
unpacked="$work/unpacked"
dpkg-deb -x "$deb" "$unpacked"
run_version "$unpacked/usr/bin/glyphsmith" Glyphsmith
run_version "$unpacked/usr/bin/glyphbox" Glyphbox

if [ ${#problems[@]} -ne 0 ]; then
    echo "check-install: FAILED with ${#problems[@]} problem(s):" >&2
    printf '  %s\n' "${problems[@]}" >&2
    exit 1
fi
echo "check-install: all checks passed ($(basename "$deb"))"

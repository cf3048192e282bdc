#!/usr/bin/env bash
# One entry point for a fresh Debian 12 machine:
#   tools/setup.sh run    install what is missing, build, start glyphsmith
#   tools/setup.sh test   install what is missing, build, run every test
#   tools/setup.sh build  install what is missing, build
#   tools/setup.sh bench  the same, with what tools/bench.sh needs
# Set BUILD_DIR to build elsewhere, and CMAKE_ARGS to pass more options.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="${BUILD_DIR:-$here/build}"
mode="${1:-build}"

packages=(
    g++ cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev zlib1g-dev
    fonts-dejavu-core fonts-symbola
)
# What the checks need beyond the build: clang's libFuzzer, the validators and
# tools of the install and package checks, and the real engines and servers the
# tests run names through (on loopback, networking off where it can be).
test_packages=(
    clang libclang-rt-14-dev
    desktop-file-utils appstream dpkg-dev file man-db
    ioquake3-server mvdsv ktx
)
# The benchmark's own X server and font sets.
bench_packages=(xvfb fontconfig)
case "$mode" in
test) packages+=("${test_packages[@]}") ;;
bench) packages+=("${bench_packages[@]}") ;;
esac

install_missing() {
    local missing=()
    for p in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" ||
            missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    echo "Installing: ${missing[*]}"
    "${sudo[@]}" apt-get update -q
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q "${missing[@]}"
}

build() {
    # shellcheck disable=SC2086
    cmake -S "$here" -B "$build_dir" -G Ninja ${CMAKE_ARGS:-}
    cmake --build "$build_dir" -j"$(nproc)"
}

install_missing
build
case "$mode" in
run)
    exec "$build_dir/bin/glyphsmith"
    ;;
test)
    cd "$build_dir"
    exec ctest --output-on-failure -j"$(nproc)"
    ;;
build | bench) ;;
*)
    echo "usage: $0 run|test|build|bench" >&2
    exit 2
    ;;
esac

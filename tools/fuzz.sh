#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the fuzz harnesses (fuzz/fuzz_*.cpp, fuzz/gamedata/fuzz_*.cpp) with clang's libFuzzer, AddressSanitizer
# and UndefinedBehaviorSanitizer, and runs each for a while on a copy of its corpus.
#   tools/fuzz.sh [seconds per harness, default 60] [harness name ...]
# Prints each harness's executions; a finding stops the run with its input saved
# under build-fuzz/findings/ (add it to the corpus/<name>/ beside the harness once fixed).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="${FUZZ_BUILD_DIR:-$here/build-fuzz}"
seconds="${1:-60}"
shift || true

if ! command -v clang++ >/dev/null; then
    echo "fuzz: clang++ is not installed, nothing fuzzed" >&2
    exit 0
fi

cmake -S "$here" -B "$build_dir" -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DGLYPH_FUZZ=ON -DBUILD_TESTING=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build_dir" --target fuzzers -j"$(nproc)"

# Each harness's corpus is the corpus/<name>/ folder beside its source.
declare -A corpus
for src in "$here"/fuzz/fuzz_*.cpp "$here"/fuzz/*/fuzz_*.cpp; do
    [ -e "$src" ] || continue
    corpus[$(basename "$src" .cpp)]="$(dirname "$src")/corpus/$(basename "$src" .cpp)"
done
names=("$@")
if [ ${#names[@]} -eq 0 ]; then
    mapfile -t names < <(printf '%s\n' "${!corpus[@]}" | sort)
fi

# A small quarantine, and freed memory handed back to the system soon, so the memory
# limit measures what a harness holds at once, not freed pictures the sanitizer has
# not yet given back.
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1:quarantine_size_mb=64:allocator_release_to_os_interval_ms=1000
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export QT_QPA_PLATFORM=offscreen
mkdir -p "$build_dir/findings"
for name in "${names[@]}"; do
    work="$(mktemp -d)"
    log="$build_dir/findings/$name.log"
    # New inputs go to the scratch folder; the seeds in the repository stay as they are.
    # One allocation beyond 256 MB is a finding too: no reader here needs half of that.
    if ! "$build_dir/fuzz/$name" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -malloc_limit_mb=256 \
        -print_final_stats=1 -artifact_prefix="$build_dir/findings/$name-" \
        "$work" "${corpus[$name]}" >"$log" 2>&1; then
        tail -n 40 "$log"
        echo "fuzz: $name found a fault; its input is in $build_dir/findings/" >&2
        rm -rf "$work"
        exit 1
    fi
    execs=$(grep -m1 'stat::number_of_executed_units' "$log" | awk '{print $2}')
    echo "fuzz: $name ran ${seconds}s, ${execs:-?} executions, no finding"
    rm -rf "$work"
done

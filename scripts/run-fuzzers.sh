#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each for a bounded time on a copy
# of its seed corpus. Fails on any crash, leak, timeout or out-of-memory.
# Usage: scripts/run-fuzzers.sh [SECONDS]   (default 60 per target)
set -euo pipefail
seconds=${1:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QUILLET_FUZZ_BUILD:-$root/build-fuzz}

cmake -S "$root" -B "$build" -G Ninja -DQUILLET_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ ${CMAKE_CXX_COMPILER_LAUNCHER:+-DCMAKE_CXX_COMPILER_LAUNCHER=$CMAKE_CXX_COMPILER_LAUNCHER} >/dev/null
cmake --build "$build" -j2

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
# One target per core: each runs for its full time either way.
fuzz_target() {
    local target=$1 name work
    name=$(basename "$target" _fuzz)
    work=$build/fuzz-work/$name
    rm -rf "$work" && mkdir -p "$work/corpus" "$work/artifacts"
    cp "$root"/fuzz/corpus/"$name"/* "$work/corpus/" 2>/dev/null || true
    if "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$work/artifacts/" "$work/corpus" >"$work/log" 2>&1; then
        echo "$name: $(grep -m1 'stat::number_of_executed_units' "$work/log" | awk '{print $2}') runs, no fault"
    else
        echo "$name: FAILED, see $work/log; input in $work/artifacts/" >&2
        tail -40 "$work/log" >&2
        return 1
    fi
}

status=0
running=0
for target in "$build"/fuzz/*_fuzz; do
    if ((running >= $(nproc))); then
        wait -n || status=1
        running=$((running - 1))
    fi
    fuzz_target "$target" &
    running=$((running + 1))
done
while ((running > 0)); do
    wait -n || status=1
    running=$((running - 1))
done
exit $status

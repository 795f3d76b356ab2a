#!/usr/bin/env bash
# Sets up the machine, builds Quillet, runs every test and a short run of each
# benchmark (only to prove they run; the figures of so short a run mean little).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_dir=${QUILLET_BUILD_DIR:-$root/build}

machine_env=$("$root/scripts/setup-machine.sh")
eval "$machine_env"
export QT_QPA_PLATFORM=offscreen

"$root/scripts/build.sh"

ctest --test-dir "$build_dir" --output-on-failure --no-tests=error \
    --parallel "$(nproc)" --timeout 300

shopt -s nullglob
benchmarks=("$build_dir"/bench/*_bench)
((${#benchmarks[@]})) || { echo "test: no benchmark was built in $build_dir/bench" >&2; exit 1; }
for benchmark in "${benchmarks[@]}"; do
    echo "== $(basename "$benchmark") (smoke run)"
    QUILLET_BENCH_SMOKE=1 "$benchmark" --benchmark_min_time=0.01
done

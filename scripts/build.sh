#!/usr/bin/env bash
# Configures and builds Quillet with warnings as errors. Arguments are build
# targets (default: everything). QUILLET_BUILD_DIR overrides the build folder.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_dir=${QUILLET_BUILD_DIR:-$root/build}

cmake -S "$root" -B "$build_dir" -G Ninja \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLET_WERROR=ON
targets=()
for target in "$@"; do
    targets+=(--target "$target")
done
cmake --build "$build_dir" --parallel "$(nproc)" "${targets[@]}"

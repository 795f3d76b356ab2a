#!/bin/sh
# Builds Quillet without libcups (-DQUILLET_CUPS=OFF: jobs go through QPrinter
# alone, as on Windows and macOS), checks that the library needs no libcups,
# then runs the whole suite against it; the tests that need libcups say they
# are skipped and why. QUILLET_NOCUPS_BUILD overrides the build folder.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QUILLET_NOCUPS_BUILD:-$root/build-nocups}

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DQUILLET_WERROR=ON -DQUILLET_CUPS=OFF \
    -DQUILLET_BUILD_BENCH=OFF -DQUILLET_BUILD_DEMO=OFF \
    ${CMAKE_CXX_COMPILER_LAUNCHER:+-DCMAKE_CXX_COMPILER_LAUNCHER=$CMAKE_CXX_COMPILER_LAUNCHER} >/dev/null
cmake --build "$build" -j2

library=$(find "$build" -maxdepth 1 -name 'libquillet.so.*' -type f -print -quit)
[ -n "$library" ] || { echo "check-nocups: no libquillet.so in $build" >&2; exit 1; }
needed=$(readelf -d "$library" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p')
if echo "$needed" | grep -q '^libcups'; then
    echo "check-nocups: $library needs libcups:" $needed >&2
    exit 1
fi
echo "check-nocups: $(basename "$library") needs no libcups"

export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
chmod 700 "$XDG_RUNTIME_DIR"
ctest --test-dir "$build" --output-on-failure --no-tests=error --timeout 900 -j2

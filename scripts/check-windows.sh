#!/bin/sh
# Cross-builds the core and its tests for 64-bit Windows with mingw-w64 and
# runs the tests under Wine: the core's file layer as Windows has it, and the
# rest of the core on the Windows C++ runtime. Qt, CUPS, libzint and find
# (utf8proc, which Debian does not build for Windows) are not in this build.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QUILLET_MINGW_BUILD:-$root/build-mingw}

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" -DQUILLET_CORE_ONLY=ON \
    ${CMAKE_CXX_COMPILER_LAUNCHER:+-DCMAKE_CXX_COMPILER_LAUNCHER=$CMAKE_CXX_COMPILER_LAUNCHER} >/dev/null
cmake --build "$build" -j2

# A Wine prefix of the build's own, made once; no window, no messages but the tests'.
export WINEPREFIX="$build/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
[ -d "$WINEPREFIX" ] || wineboot --init >/dev/null 2>&1 || true
status=0
ctest --test-dir "$build" --output-on-failure --no-tests=error || status=$?
wineserver -w 2>/dev/null || true # its own prefix's server, which lingers a few seconds
exit "$status"

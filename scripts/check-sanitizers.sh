#!/bin/sh
# Builds the component and every test with AddressSanitizer and
# UndefinedBehaviorSanitizer, then runs the whole suite; any report fails.
# CMake's default generator builds it, so CI builds once with Make too.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QUILLET_ASAN_BUILD:-$root/build-asan}
# -O1 without debug information: a third quicker to build, and the reports
# still name every function on the stack.
flags="-O1 -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE= \
    -DQUILLET_BUILD_BENCH=OFF -DQUILLET_BUILD_DEMO=OFF \
    -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="$flags" -DCMAKE_SHARED_LINKER_FLAGS="$flags" \
    ${CMAKE_CXX_COMPILER_LAUNCHER:+-DCMAKE_CXX_COMPILER_LAUNCHER=$CMAKE_CXX_COMPILER_LAUNCHER} >/dev/null
cmake --build "$build" -j2

export ASAN_OPTIONS=halt_on_error=1:abort_on_error=1:detect_leaks=1:detect_stack_use_after_return=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export LSAN_OPTIONS=suppressions=$root/scripts/lsan-suppressions.txt:print_suppressions=0
export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
chmod 700 "$XDG_RUNTIME_DIR"
ctest --test-dir "$build" --output-on-failure --no-tests=error --timeout 900 -j2

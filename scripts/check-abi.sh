#!/usr/bin/env bash
# Checks what the shared library offers the programs linked against it: it
# exports the component's class and the C functions only, and its ABI keeps
# to the baseline in abi/ (libabigail's abidiff), unless the SONAME changed
# with it. After raising QUILLET_SOVERSION, --update writes the new SONAME's
# baseline, to be committed. QUILLET_BUILD_DIR overrides the build folder.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_dir=${QUILLET_BUILD_DIR:-$root/build}
library=$(readlink -f "$build_dir/libquillet.so")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
    echo "check-abi: $*" >&2
    exit 1
}

[[ -f $library ]] || fail "no library at $build_dir/libquillet.so: build first"
soname=$(objdump -p "$library" | awk '/SONAME/ {print $2}')
baseline=$root/abi/$soname.abi.xz

# The exported symbols, demangled, one a line.
nm -D --defined-only -C "$library" | sed -E 's/^[0-9a-f]+ [A-Za-z] //' >"$work/exports"
public='^(quillet_[a-z0-9_]+|quillet::Quillet::.+|(non-virtual thunk to|typeinfo for|typeinfo name for|vtable for) quillet::Quillet.*)$'
if grep -Ev "$public" "$work/exports" >"$work/unexpected"; then
    cat "$work/unexpected" >&2
    fail "$soname exports the $(wc -l <"$work/unexpected") symbols above besides the component and the C API"
fi
echo "check-abi: $soname exports $(wc -l <"$work/exports") symbols:" \
    "$(grep -c '^quillet_' "$work/exports") C functions and the class quillet::Quillet"

# Types and functions reachable from the public headers only; no paths, so a
# build anywhere compares equal.
abidw --headers-dir "$root/include/quillet" --headers-dir "$build_dir/include/quillet" --drop-private-types \
    --no-corpus-path --no-comp-dir-path --no-show-locs --no-parameter-names --type-id-style hash \
    --out-file "$work/current.abi" "$library"
if [[ ${1:-} == --update ]]; then
    mkdir -p "$root/abi"
    xz -9 -c "$work/current.abi" >"$baseline"
    echo "check-abi: wrote $baseline"
    exit 0
fi
[[ -f $baseline ]] ||
    fail "no ABI baseline for $soname: a new SONAME needs one (scripts/check-abi.sh --update, then commit abi/)"
xz -dc "$baseline" >"$work/baseline.abi"

# abidiff's status is a bit mask: 1 error, 2 usage, 4 a change that may
# break programs built against the baseline (a type's size or layout, a
# function's signature), 8 one that does (a symbol removed). Added functions
# and variables keep those programs working, so they are not counted here.
status=0
abidiff --no-added-syms "$work/baseline.abi" "$work/current.abi" >"$work/report" || status=$?
((status & 3)) && { cat "$work/report"; fail "abidiff could not compare (status $status)"; }
if ((status & 12)); then
    cat "$work/report"
    fail "the change above breaks programs built against $soname: raise QUILLET_SOVERSION in CMakeLists.txt and run scripts/check-abi.sh --update"
fi
echo "check-abi: nothing that breaks programs built against $soname (baseline $(basename "$baseline"))"

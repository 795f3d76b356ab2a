#!/usr/bin/env bash
# Checks Quillet as its users get it: builds, installs to a temporary prefix,
# builds examples/ against that prefix with CMake and with pkg-config, runs the
# C++, C and Python examples and reads their PDFs back with pdftotext, compiles
# each installed header on its own as a strict host would, checks
# the installed Designer plugin, then builds the Debian packages and checks
# their dependencies and contents. QUILLET_BUILD_DIR overrides the build
# folder, as for build.sh. Exits non-zero at the first failed check.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_dir=${QUILLET_BUILD_DIR:-$root/build}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix

fail() {
    echo "check-install: $*" >&2
    exit 1
}

# Everything the install rules name, built the usual way (a no-op after the CI build).
QUILLET_BUILD_DIR=$build_dir "$root/scripts/build.sh"
cmake --install "$build_dir" --prefix "$prefix" >/dev/null

soname=libquillet.so.$(sed -n 's/^set(QUILLET_SOVERSION \([0-9]*\))$/\1/p' "$root/CMakeLists.txt")
library=$(find "$prefix" -name "$soname" -print -quit)
pc_file=$(find "$prefix" -name quillet.pc -print -quit)
[[ -n $library && -n $pc_file ]] || fail "$soname or quillet.pc is not installed"
[[ $(objdump -p "$library" | awk '/SONAME/ {print $2}') == "$soname" ]] || fail "wrong SONAME"
# The public headers, and nothing of the library's insides.
installed_headers=$(cd "$prefix/include/quillet" && ls | sort | xargs)
[[ $installed_headers == "Quillet.h quillet.h quillet_compose.h quillet_export.h" ]] ||
    fail "include/quillet holds $installed_headers"
"$root/scripts/check-headers.sh" "$prefix/include"
# The CMake package asks for Qt alone: libcups, where linked, is the library's own business.
config_dir=$(dirname "$(find "$prefix" -name QuilletConfig.cmake -print -quit)")
grep -rqi cups "$config_dir" && fail "the installed CMake package names CUPS"

# The Designer plugin finds the installed library through its RUNPATH.
plugin=$(find "$prefix" -path '*/plugins/designer/libquillet_designer.so' -print -quit)
if [[ -n $plugin ]]; then
    # Read whole first: grep -q stops early, and under pipefail ldd's broken pipe would fail the check.
    links=$(ldd "$plugin")
    grep -q "$soname => $(dirname "$library")/" <<<"$links" ||
        fail "the Designer plugin does not load the installed library"
else
    echo "check-install: no Designer plugin installed (QUILLET_BUILD_DESIGNER off)"
fi

# The examples, built both ways.
cmake -S "$root/examples" -B "$work/cmake" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" \
    -DCMAKE_C_FLAGS="-Wall -Wextra -Werror" -DCMAKE_CXX_FLAGS="-Wall -Wextra -Werror" >/dev/null
cmake --build "$work/cmake" >/dev/null
mkdir "$work/pkg-config"
PKG_CONFIG_PATH=$(dirname "$pc_file") make --no-print-directory -s -f "$root/examples/Makefile" \
    -C "$work/pkg-config" CFLAGS="-O2 -Werror" CXXFLAGS="-O2 -Werror"

# Runs one example and checks that its PDF holds each expected text.
export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR=$work/xdg
mkdir -m 700 "$XDG_RUNTIME_DIR"
check_pdf() {
    local name=$1 pdf=$work/$1.pdf
    shift
    local -a texts=()
    while [[ $1 != -- ]]; do texts+=("$1"); shift; done
    shift
    "$@" "$pdf" || fail "$name exited with $?"
    [[ -s $pdf ]] || fail "$name wrote no PDF"
    local text
    text=$(pdftotext -layout "$pdf" -) || fail "$name: pdftotext cannot read $pdf"
    for expected in "${texts[@]}"; do
        grep -qF -- "$expected" <<<"$text" || fail "$name: \"$expected\" is not in its PDF"
    done
    echo "check-install: $name ok"
}
cpp_texts=("Relatório de stock" "Página 1 de 2" "Página 2 de 2" "Artigo número 1" "A-0041" --)
c_texts=("Carta de exemplo" "Quillet composes listings" "this PDF file." --)
check_pdf cpp-cmake "${cpp_texts[@]}" "$work/cmake/listing-cpp"
check_pdf c-cmake "${c_texts[@]}" "$work/cmake/listing-c"
check_pdf cpp-pkg-config "${cpp_texts[@]}" env LD_LIBRARY_PATH="$(dirname "$library")" "$work/pkg-config/listing-cpp"
check_pdf c-pkg-config "${c_texts[@]}" env LD_LIBRARY_PATH="$(dirname "$library")" "$work/pkg-config/listing-c"
check_pdf python "Fatura n.º 42" "Agrafador" "Total: 22.35 EUR" -- \
    env QUILLET_LIBRARY="$library" python3 "$root/examples/python/listing.py"

# The Debian packages: the run-time package's dependencies come from the
# library's own links (shlibdeps); the development package needs the run time.
cpack -G DEB --config "$build_dir/CPackConfig.cmake" -B "$work/deb" >/dev/null
runtime_package=libquillet${soname#libquillet.so.}
runtime_deb=$(find "$work/deb" -maxdepth 1 -name "${runtime_package}_*.deb" -print -quit)
dev_deb=$(find "$work/deb" -maxdepth 1 -name 'libquillet-dev_*.deb' -print -quit)
[[ -n $runtime_deb && -n $dev_deb ]] || fail "cpack did not build $runtime_package and libquillet-dev"
# One package name a line, versions dropped.
runtime_depends=$(dpkg-deb -f "$runtime_deb" Depends | sed 's/ ([^)]*)//g; s/, /\n/g')
# libcups only where the library prints through it (QUILLET_CUPS, on by default).
cups_runtime=libcups2
if grep -qx 'QUILLET_CUPS:BOOL=OFF' "$build_dir/CMakeCache.txt"; then
    cups_runtime=
    grep -qxF libcups2 <<<"$runtime_depends" && fail "$runtime_package depends on libcups2, built without it"
fi
for package in libc6 libstdc++6 $cups_runtime libutf8proc2 libzint2.11 libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6; do
    grep -qxF "$package" <<<"$runtime_depends" || fail "$runtime_package does not depend on $package"
done
dev_depends=$(dpkg-deb -f "$dev_deb" Depends)
grep -qE "$runtime_package \(= [0-9.]+\)" <<<"$dev_depends" || fail "libquillet-dev does not depend on $runtime_package"
grep -q qt6-base-dev <<<"$dev_depends" || fail "libquillet-dev does not depend on qt6-base-dev"
runtime_files=$(dpkg-deb -c "$runtime_deb")
grep -q "/usr/lib/.*$soname\\." <<<"$runtime_files" || fail "$runtime_package lacks the library"
grep -q '/usr/share/quillet/translations/quillet_en\.qm' <<<"$runtime_files" || fail "$runtime_package lacks the translations"
dev_files=$(dpkg-deb -c "$dev_deb")
for file in include/quillet/quillet.h cmake/Quillet/QuilletConfig.cmake pkgconfig/quillet.pc 'libquillet\.so ->'; do
    grep -q "$file" <<<"$dev_files" || fail "libquillet-dev lacks $file"
done
echo "check-install: packages ok: $(basename "$runtime_deb") $(basename "$dev_deb")"

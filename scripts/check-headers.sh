#!/usr/bin/env bash
# Compiles each public header on its own, as a strict host would include it:
# C++17 with QT_NO_KEYWORDS and -Wall -Wextra -Wpedantic -Wshadow -Werror, and
# the C headers also as C99. Qt's headers are system headers, as CMake makes
# them for a host. Usage: check-headers.sh INCLUDE_DIR... (the installed
# include folder, or the source and build ones)
set -euo pipefail

(($# > 0)) || { echo "usage: check-headers.sh INCLUDE_DIR..." >&2; exit 2; }
warnings=(-Wall -Wextra -Wpedantic -Wshadow -Werror)
includes=()
for dir in "$@"; do includes+=(-I "$dir"); done
# -fPIC: Qt built with reduced relocations refuses code without it.
read -ra qt_flags <<<"$(pkg-config --cflags-only-I Qt6Widgets Qt6PrintSupport | sed 's/-I/-isystem /g') -fPIC"

failures=0
check() { # language standard header extra-flags...
    local language=$1 standard=$2 header=$3
    shift 3
    # The typedef: a header of macros alone would leave an empty unit, which C forbids.
    if ! printf '#include <quillet/%s>\ntypedef int translation_unit_not_empty;\n' "$header" |
        "${CC_FOR[$language]}" -x "$language" -std="$standard" "${warnings[@]}" "$@" "${includes[@]}" \
            -fsyntax-only -; then
        echo "check-headers: quillet/$header does not compile on its own as $standard" >&2
        failures=$((failures + 1))
    fi
}
declare -A CC_FOR=([c++]=${CXX:-g++} [c]=${CC:-gcc})

found=0
shopt -s nullglob
headers=()
for dir in "$@"; do headers+=("$dir"/quillet/*.h); done
for header_path in "${headers[@]}"; do
    header=$(basename "$header_path")
    found=$((found + 1))
    check c++ c++17 "$header" -DQT_NO_KEYWORDS "${qt_flags[@]}"
    # The C interface and its export macro, without any Qt.
    case $header in
    quillet.h | quillet_compose.h | quillet_export.h) check c c99 "$header" ;;
    esac
done
((found > 0)) || { echo "check-headers: no header in $*" >&2; exit 1; }
((failures == 0)) || exit 1
echo "check-headers: $found headers compile on their own (C++17, QT_NO_KEYWORDS; the C ones as C99)"

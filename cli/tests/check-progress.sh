#!/usr/bin/env bash
# A display that does not answer: the run falls back to no screen. On a
# terminal (a pseudo-terminal here) progress ends with "FILE: N pages"; in a
# pipe, or with --quiet, none is shown. The --pdfa file is PDF/A-1b with
# every font embedded.
set -euo pipefail
quillet=$1 script=$2 out=$3
rm -rf "$out" && mkdir -p "$out"
run() { env -u QT_QPA_PLATFORM DISPLAY=:99 "$quillet" "$@" "$script"; }
fail() { echo "check-progress: $*" >&2; exit 1; }

shown=$(script -q -e -c "$(printf '%q ' env -u QT_QPA_PLATFORM DISPLAY=:99 "$quillet" --pdfa --pdf "$out/a.pdf" "$script")" /dev/null)
[[ $shown == *"Composing: page "* && $shown == *"$out/a.pdf: 1 page"* ]] || fail "no progress on a terminal: $shown"
quiet=$(script -q -e -c "$(printf '%q ' env -u QT_QPA_PLATFORM DISPLAY=:99 "$quillet" --quiet --pdf "$out/q.pdf" "$script")" /dev/null)
[[ $quiet != *"page"* ]] || fail "--quiet showed progress: $quiet"
run --png "$out/pages" 2> "$out/stderr"
! grep -q "page" "$out/stderr" || fail "progress shown in a pipe"

[[ $(pdfinfo -meta "$out/a.pdf") == *'pdfaid:part="1" pdfaid:conformance="B"'* ]] || fail "no PDF/A identification"
[[ $(pdfinfo "$out/a.pdf") == *CreationDate:* ]] || fail "no creation date"
pdffonts "$out/a.pdf" | awk 'NR > 2 && $(NF-4) != "yes" { bad = 1 } END { exit bad }' || fail "a font is not embedded"

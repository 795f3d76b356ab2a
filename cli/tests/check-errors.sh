#!/usr/bin/env bash
# A script with errors: each is reported as file:line:column, the exit code is
# 2 and nothing is saved; with --keep-going the good lines are still saved.
set -euo pipefail
quillet=$1 out=$2

rm -rf "$out" && mkdir -p "$out"
cat > "$out/bad.qls" <<'SCRIPT'
C "Primeira linha"
PNL 1 2
Cx "desconhecido"
PNL
C "Segunda linha
SCRIPT

status=0
"$quillet" --pdf "$out/bad.pdf" "$out/bad.qls" 2> "$out/stderr" || status=$?
expected="$out/bad.qls:2:7: too many arguments: PNL takes at most 1
$out/bad.qls:3:1: unknown command \"Cx\"
$out/bad.qls:5:3: unclosed quote: the string has no closing \""
[[ $status -eq 2 ]] || { echo "check-errors: exit code $status, not 2" >&2; exit 1; }
[[ $(grep -F "bad.qls:" "$out/stderr") == "$expected" ]] || { echo "check-errors: got"; cat "$out/stderr"; exit 1; } >&2
[[ ! -e $out/bad.pdf ]] || { echo "check-errors: a PDF was saved from a script with errors" >&2; exit 1; }

status=0
"$quillet" --keep-going --pdf "$out/kept.pdf" - < "$out/bad.qls" 2> /dev/null || status=$?
[[ $status -eq 2 ]] || { echo "check-errors: --keep-going exit code $status, not 2" >&2; exit 1; }
[[ $(pdftotext "$out/kept.pdf" -) == *"Primeira linha"* ]] || { echo "check-errors: --keep-going saved no text" >&2; exit 1; }

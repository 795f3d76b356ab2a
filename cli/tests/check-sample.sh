#!/usr/bin/env bash
# Runs a sample script through the command line into a PDF and page images,
# and checks them: the PDF holds every "# expect: TEXT" of the script, and
# there is one image per PDF page.
set -euo pipefail
quillet=$1 script=$2 out=$3

rm -rf "$out" && mkdir -p "$out"
"$quillet" --pdf "$out/listing.pdf" --png "$out/pages" --zoom 50 "$script"

text=$(pdftotext -layout "$out/listing.pdf" -)
status=0
while IFS= read -r expected; do
    if [[ $text != *"$expected"* ]]; then
        echo "check-sample: the PDF lacks \"$expected\"" >&2
        status=1
    fi
done < <(sed -n 's/^# expect: //p' "$script")

pages=$(pdfinfo "$out/listing.pdf" | awk '/^Pages:/ { print $2 }')
images=$(find "$out/pages" -name 'page-*.png' | wc -l)
if [[ $pages -lt 1 || $images -ne $pages ]]; then
    echo "check-sample: $pages PDF pages but $images images" >&2
    status=1
fi
exit $status

#!/usr/bin/env bash
# Builds the API reference (Doxygen over include/quillet/, warnings are
# errors) into <build>/docs/html. With --pictures it also draws the guide's
# pictures again with the command line: docs/guide-*.png.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_dir=${QUILLET_BUILD_DIR:-$root/build}
GUIDE_ZOOM_PERCENT=60

if [[ ${1:-} == --pictures ]]; then
    "$root/scripts/build.sh" quillet docs
    export QT_QPA_PLATFORM=offscreen
    pictures=$(mktemp -d)
    trap 'rm -rf "$pictures"' EXIT
    for script in "$root/docs/margins.qls" "$root"/cli/samples/{invoice,letter,graphics,barcodes}.qls; do
        name=$(basename "$script" .qls)
        "$build_dir/cli/quillet" --png "$pictures/$name" --zoom "$GUIDE_ZOOM_PERCENT" "$script"
        cp "$pictures/$name/page-0001.png" "$root/docs/guide-$name.png"
    done
else
    "$root/scripts/build.sh" docs
fi
echo "API reference: $build_dir/docs/html/index.html"

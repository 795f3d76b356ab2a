#!/usr/bin/env bash
# Draws the README's pictures of the preview again: docs/preview-*.png.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_dir=${QUILLET_BUILD_DIR:-$root/build}
"$root/scripts/build.sh" take_screenshots
QT_QPA_PLATFORM=offscreen "$build_dir/tests/take_screenshots" "$root/docs"

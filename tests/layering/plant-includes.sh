#!/usr/bin/env bash
# Plants one include at a time into a folder, under that folder's real rules
# from the build, and runs the check the build runs: every back edge must
# fail it, every allowed include pass. Usage: plant-includes.sh BUILD_DIR CHECK_SCRIPT
set -uo pipefail
build_dir=$1 check=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

# folder | planted line | expected | why
while IFS='|' read -r folder line expected why; do
    [[ -z $folder ]] && continue
    planted=$work/planted.cpp
    printf '%s\n' "$line" >"$planted"
    if cmake -DRULES="$build_dir/layering/$folder.rules.cmake" -DPLANTED="$planted" -DSTAMP="$work/stamp" \
        -P "$check" >"$work/out" 2>&1; then
        outcome=pass
    else
        outcome=fail
    fi
    if [[ $outcome != "$expected" ]]; then
        echo "FAIL: $folder/ with '$line': $outcome, expected $expected ($why)"
        cat "$work/out"
        failures=$((failures + 1))
    fi
done <<'TABLE'
spool|#include "preview/PreviewWindow.h"|fail|the core reaching up to the preview
spool|#include <control/Runtime.h>|fail|an include in angle brackets is read too
render|  #  include "print/PdfExport.h"|fail|spaces around the hash do not hide it
render|#include <quillet/Quillet.h>|fail|only the folders that implement or use the API include it
preview|#include "quillet/quillet.h"|fail|the C API is public too
capi|#include "print/PdfExport.h"|fail|capi/ is checked like every folder
control|#include <quillet/Quillet.h>|pass|control/ implements the API
capi|#include "platform/QtPlatformChoice.h"|pass|a folder capi/ depends on
find|#include "preview/FindDialog.h"|fail|find/ knows nothing of the preview
compose|#include "render/Surface.h"|pass|one of compose/'s named interface headers
compose|#include "render/PageRenderer.h"|fail|render/'s other headers stay out of compose/
spool|#include <sys/mman.h>|fail|in the core only the file layer includes the system's headers
render|#include <windows.h>|fail|nor Windows' headers
platform|#include <unistd.h>|pass|the Qt side is not held to it
spool|#include <gtest/gtest.h>|pass|another project's header is not the check's business
spool|#include "base/ErrorsIgnored.h"|pass|every folder may use base/
TABLE
((failures == 0)) || exit 1
echo "every planted include was judged as expected"

#!/usr/bin/env bash
# Sets up the machine, builds the demo host program and runs it. With a display
# it opens the demo's window (pick a sample listing, then preview, print or
# save it as PDF); without one (or with --print) it prints a sample, the
# invoice unless --sample KEY says otherwise (invoice, stock, letter,
# graphics), on the default printer (the cups-pdf queue PDF), says where the
# output went and waits for the PDF file.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_dir=${QUILLET_BUILD_DIR:-$root/build}
PDF_WAIT_SECONDS=20

machine_env=$("$root/scripts/setup-machine.sh")
eval "$machine_env"
# With a display the demo opens its window; without one it prints.
demo_args=("$@")
if [[ -z ${DISPLAY:-} && -z ${WAYLAND_DISPLAY:-} ]]; then
    export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
    echo "demo: no display, printing directly instead of previewing" >&2
    demo_args=(--print "$@")
fi

"$root/scripts/build.sh" quillet-demo
demo_output=$("$build_dir/demo/quillet-demo" "${demo_args[@]}")
[[ -n $demo_output ]] && echo "$demo_output"

# cups-pdf names its files <document>__<fragment>-job_<id>.pdf, about a second after the job is sent.
if [[ $demo_output == *cups-pdf* && $demo_output =~ job\ ([0-9]+) ]]; then
    job=${BASH_REMATCH[1]}
    deadline=$((SECONDS + PDF_WAIT_SECONDS))
    # cups-pdf writes the file in place: it is whole once a PDF reader takes it.
    until pdf=$(compgen -G "$HOME/PDF/*-job_$job.pdf") &&
        pages=$(pdfinfo "${pdf%%$'\n'*}" 2>/dev/null | awk '/^Pages:/ { print $2 }') && [[ -n $pages ]]; do
        if ((SECONDS >= deadline)); then
            echo "demo: cups-pdf wrote no whole file for job $job into $HOME/PDF/ within ${PDF_WAIT_SECONDS}s" >&2
            exit 1
        fi
        sleep 0.2
    done
    pdf=${pdf%%$'\n'*} # a file left from an earlier job of the same id may match too
    echo "PDF: $pdf ($pages pages)"
fi

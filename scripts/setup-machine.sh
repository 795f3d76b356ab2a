#!/usr/bin/env bash
# Prepares a Debian 12 machine to build, test and run Quillet: the packages, a
# running CUPS scheduler, the cups-pdf queues PDF (the default, A4), PDFLetter
# (Letter) and PSDuplex (two-sided printing offered, for reading the print
# dialog's choices back with ipptool), and a private XDG_RUNTIME_DIR. Safe to run again.
#
# Works as root, or through sudo otherwise. Progress goes to stderr; stdout
# carries only shell export lines, so callers can take over the environment:
#     machine_env=$(scripts/setup-machine.sh) && eval "$machine_env"
set -euo pipefail

exec 3>&1 1>&2 # keep stdout for the export lines

PACKAGES=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-tools-dev qt6-l10n-tools libgtest-dev libbenchmark-dev libcups2-dev
    clang libclang-rt-14-dev doxygen gnuplot-nox python3 dpkg-dev
    fonts-liberation2
    cups cups-bsd cups-ipp-utils printer-driver-cups-pdf poppler-utils
    xvfb xauth weston qt6-wayland
    abigail-tools libutf8proc-dev qt6-translations-l10n
    libzint-dev zbar-tools python3-zxing-cpp python3-pil
    ccache qpdf
    mingw-w64 g++-mingw-w64-x86-64-posix wine64 googletest
)
CUPS_PDF_PPD=lsb/usr/cups-pdf/CUPS-PDF_opt.ppd
# CUPS' generic PostScript PPD offers two-sided printing once its duplexer (Option1) is installed.
GENERIC_PS_PPD=drv:///sample.drv/generic.ppd
SCHEDULER_WAIT_SECONDS=30

fail() {
    echo "setup-machine: error: $*" >&2
    exit 1
}

as_root() {
    if [[ $EUID -eq 0 ]]; then
        "$@"
    elif command -v sudo >/dev/null; then
        sudo "$@"
    else
        fail "needs root for '$*': run as root or install sudo"
    fi
}

[[ -r /etc/debian_version ]] || fail "this script sets up Debian 12; /etc/debian_version is missing"

install_packages() {
    local missing=() package
    for package in "${PACKAGES[@]}"; do
        [[ $(dpkg-query -W -f='${Status}' "$package" 2>/dev/null) == *'install ok installed'* ]] ||
            missing+=("$package")
    done
    # Updating the package lists takes a while: only when something is missing.
    if ((${#missing[@]} == 0)); then
        echo "setup-machine: all packages present"
        return
    fi
    echo "setup-machine: installing ${missing[*]}"
    as_root apt-get update || fail "apt-get update failed"
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}" ||
        fail "apt-get install failed for: ${missing[*]}"
}

scheduler_running() {
    [[ $(lpstat -r 2>/dev/null) == 'scheduler is running'* ]]
}

start_scheduler() {
    if scheduler_running; then
        echo "setup-machine: cupsd already running"
        return
    fi
    # No service manager here: cupsd runs itself in the background.
    echo "setup-machine: starting cupsd"
    as_root cupsd || fail "cupsd did not start (see /var/log/cups/error_log)"
    local deadline=$((SECONDS + SCHEDULER_WAIT_SECONDS))
    until scheduler_running; do
        ((SECONDS < deadline)) ||
            fail "cupsd started but 'lpstat -r' did not report it running within ${SCHEDULER_WAIT_SECONDS}s"
        sleep 0.2
    done
}

# add_pdf_queue NAME PPD [lpadmin option...]: a cups-pdf queue whose jobs keep
# their TrueType fonts (pdftocairo instead of Ghostscript), so pdftotext can
# read the printed text back. lpadmin's "drivers are deprecated" warning is harmless.
add_pdf_queue() {
    local name=$1 ppd=$2
    shift 2
    if lpstat -p "$name" >/dev/null 2>&1; then
        echo "setup-machine: queue $name present"
    else
        echo "setup-machine: adding queue $name"
        as_root lpadmin -p "$name" -v cups-pdf:/ -m "$ppd" -E \
            -o pdftops-renderer-default=pdftocairo "$@" ||
            fail "lpadmin could not add the queue $name"
    fi
}

make_default_queue() {
    local name=$1
    if [[ $(lpstat -d 2>/dev/null) != *": $name" ]]; then
        as_root lpadmin -d "$name" || fail "lpadmin could not make $name the default queue"
    fi
    [[ $(lpstat -d 2>/dev/null) == *": $name" ]] || fail "$name is not the default queue: $(lpstat -d 2>&1)"
}

# A private runtime directory quiets Qt's XDG_RUNTIME_DIR warnings; it must be ours and 0700.
runtime_dir() {
    local dir=${XDG_RUNTIME_DIR:-/tmp/quillet-runtime-$EUID}
    [[ -d $dir ]] || mkdir -m 0700 "$dir" || fail "cannot create $dir"
    [[ -O $dir ]] || fail "$dir belongs to another user"
    chmod 0700 "$dir"
    echo "$dir"
}

install_packages
start_scheduler
add_pdf_queue PDF "$CUPS_PDF_PPD"
add_pdf_queue PDFLetter "$CUPS_PDF_PPD" -o PageSize=Letter
add_pdf_queue PSDuplex "$GENERIC_PS_PPD" -o Option1=True
make_default_queue PDF
xdg_runtime_dir=$(runtime_dir)
echo "setup-machine: ready (default queue PDF; cups-pdf writes to \$HOME/PDF/)"

printf 'export XDG_RUNTIME_DIR=%q\n' "$xdg_runtime_dir" >&3
# The checks build the same sources in several build folders (without CUPS,
# with sanitizers): ccache compiles each unchanged file once. Paths are taken
# relative to the checkout so that folders share entries.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
printf 'export CMAKE_CXX_COMPILER_LAUNCHER=ccache CMAKE_C_COMPILER_LAUNCHER=ccache CCACHE_BASEDIR=%q CCACHE_NOHASHDIR=1\n' "$root" >&3

#!/usr/bin/env bash
# Where the host names no Qt platform, the preview opens on the Wayland
# compositor that WAYLAND_DISPLAY announces, with no X display to fall back on:
# for a C host and for `quillet --preview`. A headless weston is the compositor.
# Skips (77) where weston is not installed.
set -euo pipefail
open_preview=$1 quillet=$2 script=$3 out=$4
fail() { echo "check-wayland-preview: $*" >&2; exit 1; }
command -v weston >/dev/null ||
    { echo "check-wayland-preview: skipped: weston is not installed (scripts/setup-machine.sh installs it)"; exit 77; }

rm -rf "$out" && mkdir -p "$out"
runtime=$(mktemp -d "${TMPDIR:-/tmp}/quillet-wayland.XXXXXX") # 0700, short enough for a socket path
socket=quillet-test-$$
preview_pid=
stop() {
    [[ -z $preview_pid ]] || kill "$preview_pid" 2>/dev/null || true
    kill "$weston_pid" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$runtime"
}
XDG_RUNTIME_DIR=$runtime weston --backend=headless-backend.so --use-pixman --socket="$socket" --no-config \
    --idle-time=0 --log="$out/weston.log" &
weston_pid=$!
trap stop EXIT
for ((tries = 0; tries < 200; ++tries)); do
    [[ -S $runtime/$socket ]] && break
    kill -0 "$weston_pid" 2>/dev/null || fail "weston ended: $(cat "$out/weston.log")"
    sleep 0.05
done
[[ -S $runtime/$socket ]] || fail "weston's socket $socket did not appear"

# on_desktop ENV...: the C host's report, run with no X display and no platform named.
on_desktop() { env -u DISPLAY -u QT_QPA_PLATFORM XDG_RUNTIME_DIR="$runtime" "$@" timeout 60 "$open_preview" 2>> "$out/open_preview.log"; }
# expected report | environment | why
while IFS='|' read -r expected environment reason; do
    read -ra assignments <<< "$environment"
    report=$(on_desktop "${assignments[@]}") || true
    [[ $report == "$expected" ]] || fail "$reason: expected '$expected', got '$report' (see $out/open_preview.log)"
done << EOF
wayland exposed|WAYLAND_DISPLAY=$socket|the compositor announced is the one used
wayland exposed|WAYLAND_DISPLAY=$socket QT_QPA_PLATFORM=|an empty QT_QPA_PLATFORM names no platform
offscreen exposed|WAYLAND_DISPLAY=$socket QT_QPA_PLATFORM=offscreen|the host's own choice stands
offscreen exposed|WAYLAND_DISPLAY=gone|a compositor that does not answer leaves the host running offscreen
EOF

# The command line's preview stays open until closed by hand: its Wayland
# protocol log shows a window with the listing's caption (not the wait
# dialog's), then a drawn buffer.
caption=$(sed -n 's/^Init "\([^"]*\)".*/\1/p' "$script")
env -u DISPLAY -u QT_QPA_PLATFORM XDG_RUNTIME_DIR="$runtime" WAYLAND_DISPLAY="$socket" WAYLAND_DEBUG=client \
    "$quillet" --preview "$script" 2> "$out/preview.log" &
preview_pid=$!
drawn() {
    awk -v title="set_title(\"$caption\")" 'index($0, title) { titled = 1 }
        titled && /wl_surface@[0-9]+\.attach\(wl_buffer@/ { found = 1; exit } END { exit !found }' "$out/preview.log"
}
for ((tries = 0; tries < 600; ++tries)); do
    drawn && break
    kill -0 "$preview_pid" 2>/dev/null || fail "quillet --preview ended: $(grep -v '^\[' "$out/preview.log")"
    sleep 0.05
done
drawn || fail "quillet --preview showed no window on Wayland (see $out/preview.log)"

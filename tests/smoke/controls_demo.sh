#!/usr/bin/env bash
# Runs the controls demo on a virtual X server with the native display: checks the window shows
# the program icon, clicks the button and a list item, checks the notifications arrived,
# takes a screenshot, closes the window through
# the window manager protocol and checks the demo ends with 0. It also checks that without a
# display the demo says so and fails.
# Usage: controls_demo.sh DEMO CLOSE_WINDOW [SCREENSHOT.png]
set -euo pipefail

demo=$1
close_window=$2
screenshot=${3:-$(mktemp --suffix=.png)}
work=$(mktemp -d)
demo_pid=
source "$(dirname "$0")/measure.sh"

cleanup() {
    if [[ -n $demo_pid ]] && kill -0 "$demo_pid" 2>/dev/null; then kill "$demo_pid"; fi
    stop_xvfb
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    echo "--- demo output:" >&2
    cat "$work/out" "$work/err" >&2 2>/dev/null || true
    exit 1
}

# Without a display the demo must say so and fail.
status=0
env -u DISPLAY -u WAYLAND_DISPLAY SDL_AUDIODRIVER=dummy "$demo" >/dev/null 2>"$work/nodisplay" ||
    status=$?
((status != 0)) || fail "the demo succeeded without a display"
grep -q "Cannot open the display" "$work/nodisplay" || fail "no message without a display"

start_xvfb || fail "Xvfb did not start"

start=$(date +%s%N)
SDL_AUDIODRIVER=dummy "$demo" >"$work/out" 2>"$work/err" &
demo_pid=$!
window=$(timeout 10 xdotool search --sync --onlyvisible --name "Controls demo" | head -n 1) ||
    fail "the window did not appear"
mapped=$(( ($(date +%s%N) - start) / 1000000 ))
echo "window mapped after about $mapped ms (including the search's own start)"

# Wait until a notification appears in the output, up to 5 s.
expect() {
    for _ in $(seq 100); do
        grep -q "$1" "$work/out" && return 0
        sleep 0.05
    done
    fail "no $1"
}

# The icon the demo set with WM_SETICON is on the native window.
xprop -id "$window" _NET_WM_ICON | grep -q "_NET_WM_ICON(CARDINAL) = " ||
    fail "the window has no icon"

# The form is at 100,100 on the screen; the controls lie inside its client area.
xdotool mousemove --window "$window" 250 45 click 1
expect BN_CLICKED
xdotool mousemove --window "$window" 60 60 click 1
expect LBN_SELCHANGE

sleep 0.2
import -window "$window" "$screenshot" || fail "no screenshot"
echo "screenshot: $screenshot"

"$close_window" "$window" || fail "the close request was not sent"
await_exit "$demo_pid" || fail "the demo did not end after the close request"
demo_pid=
((exit_status == 0)) || fail "the demo ended with $exit_status"
cat "$work/out"

# When the X server goes away under it, the demo ends its session and leaves with 0 instead of
# spinning on the broken connection.
SDL_AUDIODRIVER=dummy "$demo" >"$work/out" 2>"$work/err" &
demo_pid=$!
timeout 10 xdotool search --sync --onlyvisible --name "Controls demo" >/dev/null ||
    fail "the window did not appear again"
stop_xvfb
await_exit "$demo_pid" || fail "the demo kept running after the display went away"
demo_pid=
((exit_status == 0)) || fail "the demo ended with $exit_status after losing the display"
echo "controls demo: passed"

#!/usr/bin/env bash
# Runs the plain Win32 program (tests/demo/plain_win32.cpp: nothing but Win32 calls, a loop of
# PeekMessageA and Sleep that never waits for messages) on a virtual X server: its popup must
# appear with no word to the layer, and what it painted must reach the screen although it
# never waits. Reads the screen back from the X server and checks the classic face colour of
# the client area, the button's 3-D edge, the list box's white field and the label's text; then
# closes the popup through the window manager protocol and checks the program ends with 0.
# First it checks that without a display the program is told so by CreateWindowExA: it fails,
# and the reason is on standard error.
# Usage: plain_win32.sh PROGRAM CLOSE_WINDOW [SCREENSHOT.png]
set -euo pipefail

program=$1
close_window=$2
screenshot=${3:-}
work=$(mktemp -d)
program_pid=
source "$(dirname "$0")/measure.sh"

cleanup() {
    if [[ -n $program_pid ]] && kill -0 "$program_pid" 2>/dev/null; then kill "$program_pid"; fi
    stop_xvfb
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    echo "--- program output:" >&2
    cat "$work/out" "$work/err" >&2 2>/dev/null || true
    exit 1
}

# Without a display no window can be made: the program fails and the layer says why.
status=0
env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy "$program" 5 \
    >/dev/null 2>"$work/nodisplay" || status=$?
((status == 1)) || fail "without a display the program ended with $status, not 1"
grep -q "^Cannot open the display: ." "$work/nodisplay" || fail "no reason without a display"
grep -q "error 1459" "$work/nodisplay" ||
    fail "CreateWindowExA did not fail with ERROR_REQUIRES_INTERACTIVE_WINDOWSTATION"
echo "without a display: $(head -n 1 "$work/nodisplay")"

start_xvfb || fail "Xvfb did not start"

SDL_AUDIODRIVER=dummy "$program" 20 >"$work/out" 2>"$work/err" &
program_pid=$!
window=$(timeout 10 xdotool search --sync --onlyvisible --name "Plain Win32" | head -n 1) ||
    fail "the popup did not appear"
eval "$(xdotool getwindowgeometry --shell "$window")"
((WIDTH == 320 && HEIGHT == 200)) || fail "the client area is ${WIDTH}x$HEIGHT, not 320x200"

# The number of pixels of one colour (#RRGGBB) in an area of the client, read from the screen
# as the X server shows it: count X Y WIDTH HEIGHT COLOUR.
count() {
    convert "$work/screen.png" -crop "$3x$4+$((X + $1))+$((Y + $2))" +repage -depth 8 txt:- |
        grep -c " $5 " || true
}

# Waits up to 5 s for the picture to come to be: the program paints in its loop, whenever
# the scheduler lets it.
face=0
for _ in $(seq 50); do
    import -window root "$work/screen.png" || fail "cannot read the screen"
    face=$(count 200 100 100 80 "#C0C0C0")
    ((face == 8000)) && break
    sleep 0.1
done
[[ -z $screenshot ]] || cp "$work/screen.png" "$screenshot"
((face == 8000)) || fail "the client area shows $face of 8000 pixels in the face colour #C0C0C0"

# The button (210, 36, 96 by 28): white lines at its top and left, dark grey and black lines at
# its bottom.
top=$(count 210 36 96 1 "#FFFFFF")
left=$(count 210 36 1 28 "#FFFFFF")
shadow=$(count 210 62 96 1 "#808080")
bottom=$(count 210 63 96 1 "#000000")
((top >= 90 && left >= 25)) || fail "the button has no white edge (top $top, left $left)"
((shadow >= 90 && bottom >= 90)) ||
    fail "the button has no dark edge (grey $shadow, black $bottom)"

# The list box (12, 36, 180 by 150): a white field below its three items, the items' text.
field=$(count 20 110 160 70 "#FFFFFF")
((field == 11200)) || fail "the list box shows $field of 11200 white pixels"
items=$(count 16 40 100 48 "#000000")
((items >= 50)) || fail "the list box shows no items ($items black pixels)"
# The label (12, 12): dark text on the face colour.
label=$(count 12 12 60 18 "#000000")
((label >= 20)) || fail "the label shows no text ($label black pixels)"
echo "on screen: face $face, button edges $top/$left white $shadow/$bottom dark," \
    "list field $field white, item text $items, label text $label"

"$close_window" "$window" || fail "the close request was not sent"
await_exit "$program_pid" || fail "the program did not end after the close request"
program_pid=
((exit_status == 0)) || fail "the program ended with $exit_status after the close request"
grep -q "close requested" "$work/out" || fail "the program did not hear the close request"
echo "plain win32: passed"

#!/usr/bin/env bash
# Runs the player on a virtual X server whose resource database says Xft.dpi: 192, and checks
# that it is shown at scale 2: its native window exactly twice the size it has at scale 1
# (KESTRIN_SCALE=1 overriding the resource), a click at the doubled place of "^" opens the
# file dialog, itself doubled, the form moves by dragging, and the window's picture is the
# scale-1 picture with every pixel doubled except for its text, drawn finer and at least as
# dark and sharp (text_detail); the info box of "/ih" is doubled too. Writes the scale-2
# picture to SCREENSHOT.
# Usage: kestrin_scale_smoke.sh KESTRIN WAIT_MAPPED CLOSE_WINDOW TEXT_DETAIL SCREENSHOT
set -euo pipefail

player=$1
wait_mapped=$2
close_window=$3
text_detail=$4
screenshot=$(realpath -m "$5")
source "$(dirname "$0")/measure.sh"

work=$(mktemp -d)
runner_pid=
cleanup() {
    stop_programs
    rm -rf "$work"
}
trap cleanup EXIT

# Starts the player with ARGUMENTS and waits for its window (mapped_window).
start_player() {
    local what=$1
    shift
    "$wait_mapped" "$player" "$@" >"$work/mapped" 2>"$work/stderr" &
    runner_pid=$!
    read_mapped "$work/mapped" || fail "the player's window was not mapped ($what)"
}

close_player() {
    "$close_window" "$mapped_window" || fail "the close request was not sent ($1)"
    await_exit "$runner_pid" || fail "the close request did not end the player ($1)"
    runner_pid=
    mapped_pid=
    ((exit_status == 0)) || fail "the player ended with $exit_status ($1)"
}

# Prints the width and height of WINDOW's client area.
window_size() {
    xwininfo -id "$1" | awk '/^ +Width:/ {w = $2} /^ +Height:/ {h = $2} END {print w, h}'
}

# Prints the position of WINDOW's client area on the screen.
window_place() {
    xwininfo -id "$1" | awk '/Absolute upper-left X:/ {x = $4} /Absolute upper-left Y:/ {y = $4}
        END {print x, y}'
}

export SDL_AUDIODRIVER=dummy
# A screen of twice the usual size holds the doubled player where it places itself. Without
# -noreset the server would forget the resources when xrdb, its only client, leaves.
xvfb_screen=2048x1536x24
start_xvfb -noreset
echo "Xft.dpi: 192" | xrdb -merge

KESTRIN_SCALE=1 start_player "scale 1"
read -r width1 height1 <<<"$(window_size "$mapped_window")"
sleep 0.5
import -window "$mapped_window" "$work/scale1.png"
close_player "scale 1"

start_player "scale 2"
read -r width2 height2 <<<"$(window_size "$mapped_window")"
echo "native window at scale 1: ${width1}x${height1}, at scale 2: ${width2}x${height2}"
((width2 == 2 * width1 && height2 == 2 * height1)) || fail "the window is not doubled"
sleep 0.5
import -window "$mapped_window" "$screenshot"
convert "$work/scale1.png" "$work/scale1.ppm"
convert "$screenshot" "$work/scale2.ppm"
# The form's text at scale 1: the read-outs and their captions along the top left, and the
# insides of the six buttons (their 3-D edges are two pixels wide).
text_areas=(0,0,75,30 9,44,55,60 9,65,55,81 9,86,55,102 77,102,93,118 97,102,113,118
    117,102,133,118)
"$text_detail" 2 "$work/scale1.ppm" "$work/scale2.ppm" "${text_areas[@]}" ||
    fail "the scale-2 picture is not the doubled scale-1 picture with finer text"

# "^" lies at 115, 100 sized 20 by 20 in the form's client area: 230, 200 sized 40 by 40.
xdotool mousemove --window "$mapped_window" 250 220 click 1
await_other_window shown "$mapped_window" || fail "no file dialog after clicking the doubled ^"
dialog=$(other_windows "$mapped_window" | head -n 1)
read -r dialog_width dialog_height <<<"$(window_size "$dialog")"
echo "file dialog at scale 2: ${dialog_width}x${dialog_height}"
((dialog_width % 2 == 0 && dialog_height % 2 == 0 && dialog_width > 400)) ||
    fail "the file dialog is not shown at scale 2"
xdotool key Escape
await_other_window gone "$mapped_window" || fail "Escape did not close the file dialog"

# The form moves with the mouse dragged on a bare part of it (left of the lower buttons),
# by as far as the mouse went.
read -r x_before y_before <<<"$(window_place "$mapped_window")"
xdotool mousemove $((x_before + 20)) $((y_before + 220)) mousedown 1
for step in 1 2 3 4 5; do
    xdotool mousemove $((x_before + 20 + 8 * step)) $((y_before + 220 + 6 * step))
    sleep 0.05
done
xdotool mouseup 1
sleep 0.3
read -r x_after y_after <<<"$(window_place "$mapped_window")"
echo "dragged from $x_before,$y_before to $x_after,$y_after"
((x_after - x_before == 40 && y_after - y_before == 30)) ||
    fail "the drag did not move the form by the mouse's way"
close_player "scale 2"

# The info box is a window of its own, shown at the same scale.
KESTRIN_SCALE=1 start_player "info box at scale 1" /ih
read -r box_width1 box_height1 <<<"$(window_size "$mapped_window")"
xdotool key Return
await_exit "$runner_pid" || fail "Return did not end the info box at scale 1"
start_player "info box at scale 2" /ih
read -r box_width2 box_height2 <<<"$(window_size "$mapped_window")"
echo "info box at scale 1: ${box_width1}x${box_height1}, at scale 2: ${box_width2}x${box_height2}"
((box_width2 == 2 * box_width1 && box_height2 == 2 * box_height1)) ||
    fail "the info box is not doubled"
xdotool key Return
await_exit "$runner_pid" || fail "Return did not end the info box at scale 2"
runner_pid=
((exit_status == 0)) || fail "the player ended with $exit_status after the info box"
echo "kestrin scale smoke: passed"

#!/usr/bin/env bash
# Runs the player on a virtual X server with the native display and the dummy audio driver:
# its window appears with the player's caption, a click on "^" opens the file dialog as a
# second window, Escape closes it, and the window manager's close request ends the player
# with 0; a click the moment the window appears acts too. Then "/ih" shows the info box, which Return dismisses, and the player ends with 0.
# Usage: kestrin_smoke.sh KESTRIN WAIT_MAPPED CLOSE_WINDOW
set -euo pipefail

player=$1
wait_mapped=$2
close_window=$3
source "$(dirname "$0")/measure.sh"

work=$(mktemp -d)
runner_pid=
cleanup() {
    stop_programs
    rm -rf "$work"
}
trap cleanup EXIT

export SDL_AUDIODRIVER=dummy
start_xvfb

"$wait_mapped" "$player" >"$work/mapped" 2>"$work/stderr" &
runner_pid=$!
read_mapped "$work/mapped" || fail "the player's window was not mapped"
echo "window mapped after $mapped_ms ms"
caption=$(xdotool getwindowname "$mapped_window")
[[ $caption == "Kestrin Media Player" ]] || fail "the window is captioned '$caption'"
[[ -z $(other_windows "$mapped_window") ]] || fail "a second window before any click"

# "^" lies at 115, 100 sized 20 by 20 in the form's client area.
xdotool mousemove --window "$mapped_window" 125 110 click 1
await_other_window shown "$mapped_window" || fail "no file dialog after clicking ^"
dialog=$(other_windows "$mapped_window" | head -n 1)
echo "file dialog: $(xdotool getwindowname "$dialog")"
xdotool key Escape
await_other_window gone "$mapped_window" || fail "Escape did not close the file dialog"
kill -0 "$mapped_pid" 2>/dev/null || fail "the player ended with the dialog"

"$close_window" "$mapped_window" || fail "the close request was not sent"
expect_exit_zero "the close request"

# A click at once on a window that has just appeared, and so has just gained the focus,
# acts like any other.
"$wait_mapped" "$player" >"$work/mapped" 2>"$work/stderr" &
runner_pid=$!
read_mapped "$work/mapped" || fail "the player's window was not mapped again"
xdotool mousemove --window "$mapped_window" 125 110 click 1
await_other_window shown "$mapped_window" || fail "the first click, at once, was lost"
xdotool key Escape
await_other_window gone "$mapped_window" || fail "Escape did not close the file dialog"
"$close_window" "$mapped_window" || fail "the close request was not sent"
expect_exit_zero "the close request after the first click"

"$wait_mapped" "$player" /ih >"$work/mapped" 2>"$work/stderr" &
runner_pid=$!
read_mapped "$work/mapped" || fail "no info box for /ih"
caption=$(xdotool getwindowname "$mapped_window")
[[ $caption == "Zubrel Info" ]] || fail "the info box is captioned '$caption'"
xdotool key Return
expect_exit_zero "OK in the info box"
echo "kestrin smoke: passed"

#!/usr/bin/env bash
# Runs the Windows build of the player under Wine on a virtual X server with an English locale:
# its window appears at 193, 304 with the player's caption, a click on "^" opens the system's
# own open dialog titled "ОТВАРЯНЕ", Escape closes it, and the close request ends the player
# with 0. Then "/ih" shows the info box "Zubrel Info", which Return dismisses, ending with 0.
# Usage: kestrin_wine_smoke.sh KESTRIN_EXE WAIT_MAPPED CLOSE_WINDOW
set -euo pipefail

player=$(realpath "$1")
wait_mapped=$2
close_window=$3
source "$(dirname "$0")/measure.sh"
source "$(dirname "$0")/../../scripts/wine.sh"

work=$(mktemp -d)
runner_pid=
cleanup() {
    stop_wine
    stop_programs
    rm -rf "$work"
}
trap cleanup EXIT

# The visible windows captioned exactly NAME, one id a line. (Names are compared here rather
# than by xdotool's pattern, which does not match UTF-8 names under the C locale.)
windows_named() {
    local window
    for window in $(xdotool search --onlyvisible --name . 2>/dev/null); do
        [[ $(xdotool getwindowname "$window" 2>/dev/null) == "$1" ]] && echo "$window"
    done
    return 0
}

# Wine shows a top-level window as an X window the size of its client area; the program's
# hidden application window is a 1 by 1 one. Waits up to 10 s for a visible window named NAME
# with a real size and prints its id.
window_named() {
    local window
    for _ in $(seq 100); do
        for window in $(windows_named "$1"); do
            if [[ $(xdotool getwindowgeometry "$window") != *"Geometry: 1x1"* ]]; then
                echo "$window"
                return 0
            fi
        done
        sleep 0.1
    done
    return 1
}

export LC_ALL=C
start_xvfb
new_wine_prefix

"$wait_mapped" --timeout 60 wine "$player" >"$work/mapped" 2>"$work/stderr" &
runner_pid=$!
read_mapped "$work/mapped" 60 || fail "the player's window was not mapped"
form=$(window_named "Kestrin Media Player") || fail "no window captioned Kestrin Media Player"
# The X window is the client area: the outer corner at 193, 304 plus Wine's 3-pixel dialog
# frame and 19-pixel caption.
position=$(xdotool getwindowgeometry "$form" | sed -nE 's/.*Position: ([0-9]+,[0-9]+).*/\1/p')
[[ $position == 196,326 ]] || fail "the player's client area is at $position, not 196,326"

# "^" lies at 115, 100 sized 20 by 20 in the form's client area.
xdotool mousemove --window "$form" 125 110 click 1
dialog=$(window_named "ОТВАРЯНЕ") || fail "no dialog titled ОТВАРЯНЕ after clicking ^"
echo "open dialog: $(xdotool getwindowname "$dialog")"
xdotool windowfocus --sync "$dialog" key Escape
for _ in $(seq 50); do
    [[ -z $(windows_named "ОТВАРЯНЕ") ]] && break
    sleep 0.1
done
[[ -z $(windows_named "ОТВАРЯНЕ") ]] || fail "Escape did not close the dialog"

"$close_window" "$form" || fail "the close request was not sent"
expect_exit_zero "the close request" 200

"$wait_mapped" --timeout 60 wine "$player" /ih >"$work/mapped" 2>"$work/stderr" &
runner_pid=$!
box=$(window_named "Zubrel Info") || fail "no info box for /ih"
xdotool windowfocus --sync "$box" key Return
expect_exit_zero "OK in the info box" 200
echo "kestrin under Wine: passed"

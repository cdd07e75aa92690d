#!/usr/bin/env bash
# Takes a screenshot of the player on a virtual X server with a playlist of generated tracks
# opened through "Open list" and the second track playing for a few seconds.
# Usage: player_screenshot.sh KESTRIN WAIT_MAPPED CLOSE_WINDOW SCREENSHOT.png
set -euo pipefail

player=$1
wait_mapped=$2
close_window=$3
screenshot=$4
source "$(dirname "$0")/measure.sh"

work=$(mktemp -d)
runner_pid=
cleanup() {
    if [[ -n $runner_pid ]]; then kill "$runner_pid" 2>/dev/null || true; fi
    if [[ -n ${mapped_pid:-} ]]; then kill "$mapped_pid" 2>/dev/null || true; fi
    stop_xvfb
    rm -rf "$work"
}
trap cleanup EXIT

music=$work/Music
mkdir -p "$music"
tracks=("Morning Sine.mp3" "Slow Sweep.mp3" "Two Tones.wav" "Evening Hum.mp3")
sox -n -r 44100 -c 2 -b 16 "$work/a.wav" synth 185.5 sine 330 vol 0.3
sox -n -r 44100 -c 2 -b 16 "$work/b.wav" synth 241 sine 220:880 vol 0.3
sox -n -r 44100 -c 2 -b 16 "$music/${tracks[2]}" synth 64 sine 440 sine 660 vol 0.3
sox -n -r 44100 -c 2 -b 16 "$work/d.wav" synth 302 sine 110 vol 0.3
lame --quiet -b 128 "$work/a.wav" "$music/${tracks[0]}"
lame --quiet -b 128 "$work/b.wav" "$music/${tracks[1]}"
lame --quiet -b 128 "$work/d.wav" "$music/${tracks[3]}"
for track in "${tracks[@]}"; do printf '%s\r\n' "$music/$track"; done >"$work/evening.qpl"

export SDL_AUDIODRIVER=dummy
start_xvfb
"$wait_mapped" "$player" >"$work/mapped" 2>"$work/stderr" &
runner_pid=$!
read_mapped "$work/mapped" || { echo "the player's window was not mapped" >&2; exit 1; }

# "Open list" lies at 7, 63 sized 50 by 20; its dialog starts with the file name focused.
xdotool mousemove --window "$mapped_window" 32 73 click 1
sleep 1
xdotool type --delay 5 "$work/evening.qpl"
xdotool key Return
sleep 1
# The list starts at 75, 0; its second line plays the second track.
xdotool mousemove --window "$mapped_window" 150 20 click 1
sleep 4.5
import -window "$mapped_window" "$screenshot"
"$close_window" "$mapped_window"
wait "$runner_pid"
runner_pid=
echo "screenshot: $screenshot"

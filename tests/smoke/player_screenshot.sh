#!/usr/bin/env bash
# Takes the README's pictures of the player on a virtual X server: the "Open list" dialog
# about to open a playlist of generated tracks, the player with that list loaded and its
# second track playing for a few seconds, at scale 1 and at scale 2, and the info box of
# "kestrin /ih".
# Usage: player_screenshot.sh KESTRIN WAIT_MAPPED CLOSE_WINDOW FOLDER
# Writes FOLDER/open-dialog.png, FOLDER/player.png, FOLDER/player-2x.png and
# FOLDER/message-box.png.
set -euo pipefail

player=$(realpath "$1")
wait_mapped=$(realpath "$2")
close_window=$(realpath "$3")
folder=$(realpath -m "$4")
source "$(dirname "$0")/measure.sh"

work=$(mktemp -d)
sources=$(mktemp -d)
runner_pid=
cleanup() {
    stop_programs
    rm -rf "$work" "$sources"
}
trap cleanup EXIT
fail() {
    echo "player screenshots: $1" >&2
    exit 1
}

mkdir -p "$folder" "$work/Music"
tracks=("Morning Sine.mp3" "Slow Sweep.mp3" "Two Tones.wav" "Evening Hum.mp3")
sox -n -r 44100 -c 2 -b 16 "$sources/a.wav" synth 185.5 sine 330 vol 0.3
sox -n -r 44100 -c 2 -b 16 "$sources/b.wav" synth 241 sine 220:880 vol 0.3
sox -n -r 44100 -c 2 -b 16 "$work/Music/${tracks[2]}" synth 64 sine 440 sine 660 vol 0.3
sox -n -r 44100 -c 2 -b 16 "$sources/d.wav" synth 302 sine 110 vol 0.3
lame --quiet -b 128 "$sources/a.wav" "$work/Music/${tracks[0]}"
lame --quiet -b 128 "$sources/b.wav" "$work/Music/${tracks[1]}"
lame --quiet -b 128 "$sources/d.wav" "$work/Music/${tracks[3]}"
# The playlist names the tracks relative to the folder the player runs in, which keeps the
# random name of the temporary folder out of the pictures.
for track in "${tracks[@]}"; do printf 'Music/%s\r\n' "$track"; done >"$work/Evening.qpl"
cd "$work"

# Shows the player at SCALE, opens the playlist through "Open list" (taking the dialog's
# picture to DIALOG_PICTURE when given), plays its second track for a few seconds and takes
# the player's picture to PICTURE. Clicks are at the player's own coordinates times SCALE.
picture_player() {
    local scale=$1 picture=$2 dialog_picture=${3:-}
    KESTRIN_SCALE=$scale "$wait_mapped" "$player" >"$work/mapped" 2>"$work/stderr" &
    runner_pid=$!
    read_mapped "$work/mapped" || fail "the player's window was not mapped at scale $scale"
    # "Open list" lies at 7, 63 sized 50 by 20; its dialog starts with the file name focused.
    xdotool mousemove --window "$mapped_window" $((32 * scale)) $((73 * scale)) click 1
    await_other_window shown "$mapped_window" || fail "no dialog after clicking Open list"
    local dialog
    dialog=$(other_windows "$mapped_window" | head -n 1)
    xdotool type --delay 5 "Evening.qpl"
    if [[ -n $dialog_picture ]]; then
        sleep 0.5
        import -window "$dialog" "$dialog_picture"
    fi
    xdotool key Return
    await_other_window gone "$mapped_window" || fail "Return did not close the dialog"
    # The list starts at 75, 0; its second line plays the second track.
    xdotool mousemove --window "$mapped_window" $((150 * scale)) $((20 * scale)) click 1
    sleep 4.5
    import -window "$mapped_window" "$picture"
    "$close_window" "$mapped_window"
    wait "$runner_pid"
}

export SDL_AUDIODRIVER=dummy
# Room for the player where it places itself at scale 2.
xvfb_screen=2048x1536x24
start_xvfb
picture_player 1 "$folder/player.png" "$folder/open-dialog.png"
picture_player 2 "$folder/player-2x.png"

"$wait_mapped" "$player" /ih >"$work/mapped" 2>"$work/stderr" &
runner_pid=$!
read_mapped "$work/mapped" || fail "no info box for /ih"
sleep 0.5
import -window "$mapped_window" "$folder/message-box.png"
xdotool key Return
wait "$runner_pid"
runner_pid=
echo "screenshots: $folder/open-dialog.png $folder/player.png $folder/player-2x.png" \
    "$folder/message-box.png"

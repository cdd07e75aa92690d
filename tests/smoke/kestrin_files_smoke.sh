#!/usr/bin/env bash
# Runs the player on a virtual X server with files on its command line, its sound going to a
# file through SDL's disk audio driver. "kestrin a.mp3 bogus b.wav" plays the first file (the
# file gets non-silent samples), leaves exactly one line naming the bogus argument on standard
# error, and ends with 0 on the close request. "kestrin list.qpl" opens the list and plays
# nothing, and ends with 0 too.
# Usage: kestrin_files_smoke.sh KESTRIN WAIT_MAPPED CLOSE_WINDOW MEDIA_DIR
set -euo pipefail

player=$1
wait_mapped=$2
close_window=$3
media=$(realpath "$4")
source "$(dirname "$0")/measure.sh"

work=$(mktemp -d)
runner_pid=
cleanup() {
    stop_programs
    rm -rf "$work"
}
trap cleanup EXIT

# Bytes of the file that are not zero: SDL's silence is all zero bytes.
sounding_bytes() {
    if [[ -f $1 ]]; then tr -d '\000' <"$1" | wc -c; else echo 0; fi
}

cp "$media/tone-44k-stereo.mp3" "$work/a.mp3"
cp "$media/tone-22k-mono.wav" "$work/b.wav"
printf '%s\r\n' "$work/b.wav" "$work/a.mp3" >"$work/list.qpl"

export SDL_AUDIODRIVER=disk
start_xvfb

export SDL_DISKAUDIOFILE=$work/played.raw
"$wait_mapped" "$player" "$work/a.mp3" "$work/bogus" "$work/b.wav" >"$work/mapped" 2>"$work/stderr" &
runner_pid=$!
read_mapped "$work/mapped" || fail "the player's window was not mapped"
for _ in $(seq 100); do
    (($(sounding_bytes "$SDL_DISKAUDIOFILE") > 0)) && break
    sleep 0.05
done
sounding=$(sounding_bytes "$SDL_DISKAUDIOFILE")
((sounding > 0)) || fail "the first file was not played: no sound reached the device"
echo "sound written: $sounding non-zero bytes"
skipped=$(grep -c '^kestrin: ' "$work/stderr" || true)
((skipped == 1)) || fail "$skipped lines on standard error for one bogus argument"
grep -q "\"$work/bogus\"" "$work/stderr" || fail "the line does not name the bogus argument"
echo "standard error: $(grep '^kestrin: ' "$work/stderr")"
"$close_window" "$mapped_window" || fail "the close request was not sent"
expect_exit_zero "the close request with files"

export SDL_DISKAUDIOFILE=$work/listed.raw
"$wait_mapped" "$player" "$work/list.qpl" >"$work/mapped" 2>"$work/stderr" &
runner_pid=$!
read_mapped "$work/mapped" || fail "the player's window was not mapped with a playlist"
sleep 1
(($(sounding_bytes "$SDL_DISKAUDIOFILE") == 0)) || fail "a playlist alone started playing"
! grep -q '^kestrin: ' "$work/stderr" || fail "the playlist was reported as unusable"
"$close_window" "$mapped_window" || fail "the close request was not sent"
expect_exit_zero "the close request with a playlist"
echo "kestrin files smoke: passed"

#!/usr/bin/env bash
# Generates the small media files the audio tests play, into tests/media/, and the seeds of
# the media fuzz target, into tests/fuzz/seeds/fuzz_media/. The files are committed; run this
# only to change them. Needs sox and lame.
set -euo pipefail
cd "$(dirname "$0")/../tests/media"

for tool in sox lame; do
    if ! command -v "$tool" >/dev/null; then
        echo "make-media.sh needs $tool" >&2
        exit 1
    fi
done

# Every sox call runs without dither (-D), so the files come out the same on every run.

# Well-formed files: the same 3.2 s tone in the formats the player meets.
sox -D -n -r 44100 -c 2 -b 16 tone-44k-stereo.wav synth 3.2 sine 440 vol 0.5
lame --quiet -b 128 --cbr tone-44k-stereo.wav tone-44k-stereo.mp3
sox -D -n -r 22050 -c 1 -b 16 tone-22k-mono.wav synth 3.2 sine 440 vol 0.5
sox -D -n -r 11025 -c 1 -b 8 -e unsigned-integer tone-11k-8bit.wav synth 3.2 sine 440 vol 0.5

# Broken files. An MP3 cut in the middle of a frame, just past its first half.
mp3_size=$(stat -c %s tone-44k-stereo.mp3)
head -c $((mp3_size / 2 + 101)) tone-44k-stereo.mp3 >truncated.mp3
# A WAV whose header announces 3.2 s of data while the file holds only the first second.
head -c $((44 + 22050 * 2)) tone-22k-mono.wav >lying-header.wav
printf 'This is a text file, not an MPEG audio stream.\n' >text.mp3
: >empty.mp3

# Fuzz seeds: a few hundred bytes each, one per container and codec worth mutating.
seeds=../fuzz/seeds/fuzz_media
mkdir -p "$seeds"
sox -D -n -r 8000 -c 1 -b 16 "$seeds/pcm16.wav" synth 0.05 sine 440
sox -D -n -r 8000 -c 2 -b 8 -e unsigned-integer "$seeds/pcm8-stereo.wav" synth 0.02 sine 440
sox -D -n -r 8000 -c 1 -e ima-adpcm "$seeds/ima-adpcm.wav" synth 0.1 sine 440
sox -D -n -r 8000 -c 1 "$seeds/tone.flac" synth 0.1 sine 440
sox -D -n -r 8000 -c 1 "$seeds/tone.aiff" synth 0.05 sine 440
lame --quiet -b 8 -m m --resample 8 "$seeds/pcm16.wav" "$seeds/tone.mp3"

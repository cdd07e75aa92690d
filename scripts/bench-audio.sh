#!/usr/bin/env bash
# Measures the CPU the audio engine needs per minute of sound: plays a 3-minute 128 kbit/s
# MP3 (made on the fly) for SECONDS (default 30) through the real engine on SDL's dummy audio
# driver, which keeps real time, and prints the process's CPU per minute of audio next to
# what `mpg123 -q -t` needs to decode the same file, measured in the same run. Then times the
# transport commands (pause, resume, stop, rewind) on the same engine, which must each take
# effect within 50 ms.
# Usage: scripts/bench-audio.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-30}
if ! [[ $seconds =~ ^[1-9][0-9]*$ ]]; then
    echo "usage: scripts/bench-audio.sh [SECONDS]" >&2
    exit 2
fi

scripts/deps.sh
cmake --preset bench >/dev/null
cmake --build --preset bench --parallel "$(nproc)" --target kestrin_audio_bench kestrin_audio_latency >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
sox -n -r 44100 -c 2 -b 16 "$work/tone.wav" synth 180 sine 220:880 vol 0.5
lame --quiet -b 128 --cbr "$work/tone.wav" "$work/tone.mp3"
rm "$work/tone.wav"

# CPU seconds (user + system) of a command; its standard output goes to $work/out.
cpu_of() {
    local TIMEFORMAT='%U %S'
    local times
    times=$({ time "$@" >"$work/out"; } 2>&1)
    awk '{ printf "%.3f", $1 + $2 }' <<<"$times"
}

engine_cpu=$(SDL_AUDIODRIVER=dummy cpu_of build/bench/bench/kestrin_audio_bench "$work/tone.mp3" "$seconds")
played_ms=$(cat "$work/out")
engine_per_minute=$(awk -v c="$engine_cpu" -v ms="$played_ms" 'BEGIN { printf "%.3f", c * 60000 / ms }')
echo "engine:  ${engine_cpu} s CPU for ${played_ms} ms of audio: ${engine_per_minute} s per minute"

if command -v mpg123 >/dev/null; then
    decode_cpu=$(cpu_of mpg123 -q -t "$work/tone.mp3")
    decode_per_minute=$(awk -v c="$decode_cpu" 'BEGIN { printf "%.3f", c / 3 }')
    echo "mpg123:  ${decode_cpu} s CPU to decode 180 s of audio: ${decode_per_minute} s per minute"
    awk -v e="$engine_per_minute" -v d="$decode_per_minute" \
        'BEGIN { if (d > 0) printf "ratio:   %.1f (target: at most 4)\n", e / d }'
else
    echo "mpg123 is not installed: no decode-only figure to compare with" >&2
fi

echo "command latency (target: under 50 ms each):"
SDL_AUDIODRIVER=dummy build/bench/bench/kestrin_audio_latency "$work/tone.mp3" 9

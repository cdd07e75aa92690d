#!/usr/bin/env bash
# Drops a file and a text of file URIs on a window of the real display through SDL's drop
# events (tests/smoke/drop_probe.cpp) on a virtual X server: the window gets one WM_DROPFILES
# naming the file and the decoded URI paths, in order.
# Usage: drop_smoke.sh DROP_PROBE
set -euo pipefail

probe=$1
source "$(dirname "$0")/measure.sh"
trap stop_xvfb EXIT

start_xvfb
got=$("$probe" "/music/one two.mp3" $'file:///music/three%20four.wav\r\nfile://localhost/music/five.qpl\r\n')
expected=$'/music/one two.mp3\n/music/three four.wav\n/music/five.qpl'
if [[ $got != "$expected" ]]; then
    echo "FAIL: the window got:" >&2
    printf '%s\n' "$got" >&2
    exit 1
fi
echo "drop smoke: passed"

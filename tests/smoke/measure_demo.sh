#!/usr/bin/env bash
# Measures the controls demo on a virtual X server: time from start until its window is
# mapped (found by a tight xdotool loop, so within a few ms), CPU used over 10 s of idling
# (user and system ticks from /proc/PID/stat) and resident memory (VmRSS).
# Usage: measure_demo.sh DEMO
set -euo pipefail

demo=$1
xvfb_pid=
demo_pid=
cleanup() {
    if [[ -n $demo_pid ]]; then kill "$demo_pid" 2>/dev/null || true; fi
    if [[ -n $xvfb_pid ]]; then kill "$xvfb_pid" 2>/dev/null || true; fi
}
trap cleanup EXIT

number=90
while [[ -e /tmp/.X$number-lock ]]; do number=$((number + 1)); done
export DISPLAY=:$number
Xvfb "$DISPLAY" -screen 0 800x600x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do
    xdotool getmouselocation >/dev/null 2>&1 && break
    sleep 0.05
done

start=$(date +%s%N)
SDL_AUDIODRIVER=dummy "$demo" >/dev/null &
demo_pid=$!
until xdotool search --onlyvisible --name "Controls demo" >/dev/null 2>&1; do :; done
echo "mapped after: $(( ($(date +%s%N) - start) / 1000000 )) ms"

sleep 1
ticks() { awk '{print $14 + $15}' "/proc/$demo_pid/stat"; }
before=$(ticks)
sleep 10
after=$(ticks)
hz=$(getconf CLK_TCK)
echo "idle CPU over 10 s: $(( (after - before) * 1000 / hz )) ms"
grep VmRSS "/proc/$demo_pid/status"

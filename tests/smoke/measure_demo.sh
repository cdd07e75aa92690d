#!/usr/bin/env bash
# Measures the controls demo on a virtual X server: the time from exec until the X server maps
# its window (the MapNotify event, seen by wait_mapped), the CPU it uses over 10 s of idling
# (scheduler nanoseconds of all its threads) with its wake-ups, and its resident memory
# (VmRSS now, VmHWM the peak).
# Usage: measure_demo.sh DEMO WAIT_MAPPED [IDLE_SECONDS]
set -euo pipefail

demo=$1
wait_mapped=$2
idle_seconds=${3:-10}
source "$(dirname "$0")/measure.sh"

work=$(mktemp -d)
runner_pid=
cleanup() {
    stop_programs
    rm -rf "$work"
}
trap cleanup EXIT

start_xvfb
SDL_AUDIODRIVER=dummy "$wait_mapped" "$demo" >"$work/mapped" 2>/dev/null &
runner_pid=$!
read_mapped "$work/mapped" || { echo "the demo's window was not mapped" >&2; exit 1; }
echo "mapped after: $mapped_ms ms (exec to MapNotify)"

sleep 1
cpu_before=$(cpu_ns "$mapped_pid")
wake_before=$(wakeups "$mapped_pid")
sleep "$idle_seconds"
cpu_after=$(cpu_ns "$mapped_pid")
wake_after=$(wakeups "$mapped_pid")
awk -v c=$((cpu_after - cpu_before)) -v w=$((wake_after - wake_before)) -v s="$idle_seconds" \
    'BEGIN { printf "idle CPU over %d s: %.3f ms (%.4f %% of a core), %.1f wake-ups per second\n",
             s, c / 1e6, c / 1e7 / s, w / s }'
echo "resident: $(memory_kib "$mapped_pid" VmRSS) KiB, peak $(memory_kib "$mapped_pid" VmHWM) KiB"

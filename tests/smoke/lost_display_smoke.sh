#!/usr/bin/env bash
# A program whose X server dies while it is busy (not waiting in poll) meets the broken
# connection inside Xlib, which reports it and ends the process. It must end then, with
# Xlib's status 1 and one report, rather than hang, spin or touch the dead connection again
# in the clean-up that runs on the way out
# (tests/smoke/lost_display_probe.cpp). The server is killed outright, as a crash would.
# Usage: lost_display_smoke.sh LOST_DISPLAY_PROBE
set -euo pipefail

probe=$1
source "$(dirname "$0")/measure.sh"

work=$(mktemp -d)
probe_pid=
cleanup() {
    if [[ -n $probe_pid ]]; then kill -9 "$probe_pid" 2>/dev/null || true; fi
    exec 4>&- 2>/dev/null || true
    stop_xvfb
    rm -rf "$work"
}
trap cleanup EXIT

start_xvfb
mkfifo "$work/input"
"$probe" <"$work/input" >"$work/output" 2>"$work/stderr" &
probe_pid=$!
exec 4>"$work/input"
for _ in $(seq 100); do
    [[ $(head -n 1 "$work/output" 2>/dev/null) == shown ]] && break
    sleep 0.05
done
[[ $(head -n 1 "$work/output" 2>/dev/null) == shown ]] || fail "the probe's window was not shown"

# Waited for in a group whose errors are dropped, so the shell does not report the kill.
{
    kill -KILL "$xvfb_pid"
    wait "$xvfb_pid" || true
} 2>/dev/null
xvfb_pid=
echo go >&4

await_exit "$probe_pid" || fail "the probe still runs 5 s after its X server died"
probe_pid=
((exit_status == 1)) || fail "the probe ended with $exit_status, not Xlib's 1"
# A second report means the clean-up on the way out used the dead connection again and ended
# the process from inside exit(). Whether such a clean-up spins or ends that way varies from
# run to run, so both count.
reports=$(grep -c "^X connection to .* broken" "$work/stderr") || true
((reports == 1)) || fail "Xlib reported the broken connection $reports times, not once"
echo "lost display smoke: passed"

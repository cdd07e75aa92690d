#!/usr/bin/env bash
# Runs the player on a virtual X server inside its own session bus and drives it with
# playerctl, a real MPRIS2 client: status, play-pause, stop, next, previous and metadata agree
# with what the player does; a status change sends PropertiesChanged; a second start hands its
# file to the running player and ends with 0; Quit ends the player with 0; a bus that goes away
# leaves the player running. Needs dbus-run-session, playerctl, busctl and dbus-monitor.
# Usage: mpris_smoke.sh KESTRIN
set -euo pipefail

if [[ -z ${DBUS_SESSION_BUS_ADDRESS:-} || ${KESTRIN_MPRIS_INNER:-} != 1 ]]; then
    KESTRIN_MPRIS_INNER=1 exec dbus-run-session -- "$0" "$@"
fi

player=$(realpath "$1")
source "$(dirname "$0")/measure.sh"

work=$(mktemp -d)
player_pid=
monitor_pid=
cleanup() {
    if [[ -n $player_pid ]]; then kill "$player_pid" 2>/dev/null || true; fi
    if [[ -n $monitor_pid ]]; then kill "$monitor_pid" 2>/dev/null || true; fi
    stop_xvfb
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

ctl() {
    timeout 5 playerctl --player=kestrin "$@"
}

# Waits up to 5 s until "playerctl ARGS..." prints EXPECTED.
expect() {
    local expected=$1 answer=
    shift
    for _ in $(seq 50); do
        answer=$(ctl "$@" 2>/dev/null || true)
        [[ $answer == "$expected" ]] && return 0
        sleep 0.1
    done
    fail "playerctl $* answered '$answer', not '$expected'"
}

# Silent WAVE files a minute long, so that nothing ends during the test.
for name in first second third; do
    python3 - "$work/$name.wav" <<'PY'
import sys, wave
out = wave.open(sys.argv[1], "wb")
out.setnchannels(1)
out.setsampwidth(1)
out.setframerate(8000)
out.writeframes(bytes([128]) * 8000 * 60)
out.close()
PY
done

export SDL_AUDIODRIVER=dummy
start_xvfb
cd "$work"
"$player" first.wav second.wav 2>"$work/stderr" &
player_pid=$!

expect Playing status
expect first metadata xesam:title
expect "file://$work/first.wav" metadata xesam:url
expect 60000000 metadata mpris:length

dbus-monitor --session "type='signal',interface='org.freedesktop.DBus.Properties'" \
    >"$work/signals" 2>/dev/null &
monitor_pid=$!
sleep 0.5
ctl play-pause
expect Paused status
for _ in $(seq 50); do
    grep -q '"Paused"' "$work/signals" && break
    sleep 0.1
done
grep -q 'PropertiesChanged' "$work/signals" || fail "no PropertiesChanged on pausing"
grep -q '"Paused"' "$work/signals" || fail "PropertiesChanged did not carry the new status"
ctl play-pause
expect Playing status

ctl next
expect second metadata xesam:title
expect Playing status
# The last row has no next one: playerctl refuses (CanGoNext is false) and nothing changes.
ctl next 2>/dev/null && fail "next on the last row was accepted"
expect second metadata xesam:title
ctl previous
expect first metadata xesam:title
ctl stop
expect Stopped status
position=$(ctl position)
[[ $position == 0.000000 ]] || fail "the position after stop is $position"

# Idle, the bus adds no wake-ups: the position timer's one a second stays the only one. The
# GUI thread's are counted (an audio thread ends and takes its count along).
main_thread_wakeups() {
    awk '/^voluntary_ctxt_switches/ { print $2 }' /proc/"$1"/status
}
idle_wakeups_per_second() {
    local before
    sleep 1
    before=$(main_thread_wakeups "$1")
    sleep 5
    echo $((($(main_thread_wakeups "$1") - before + 4) / 5))
}
idle=$(idle_wakeups_per_second "$player_pid")
echo "idle wake-ups a second, on the session bus: $idle"
((idle <= 1)) || fail "$idle wake-ups a second while idle on the bus"

# A second start hands its file over, which is added and played.
"$player" third.wav bogus 2>"$work/second-stderr" || fail "the second start ended with $?"
grep -qx 'kestrin: skipped "bogus": neither a file it plays nor a playlist' \
    "$work/second-stderr" || fail "the second start did not name its bogus argument"
expect third metadata xesam:title
expect Playing status
# With no files a second start raises the running player and ends with 0; nothing changes.
"$player" 2>"$work/second-stderr" || fail "the second start without files ended with $?"
expect third metadata xesam:title
ctl open "file://$work/second.wav"
expect second metadata xesam:title

# Quit ends the player as its close box does.
timeout 5 busctl --user call org.mpris.MediaPlayer2.kestrin /org/mpris/MediaPlayer2 \
    org.mpris.MediaPlayer2 Quit || fail "Quit was not answered"
await_exit "$player_pid" || fail "Quit did not end the player"
player_pid=
((exit_status == 0)) || fail "the player ended with $exit_status after Quit"
[[ ! -s $work/stderr ]] || fail "the player wrote to standard error: $(cat "$work/stderr")"

# A bus of its own that goes away while the player runs: the player goes on, idle as before.
read -r address daemon_pid < <(dbus-daemon --session --fork --print-address=1 --print-pid=1 |
    paste -s -d ' ')
DBUS_SESSION_BUS_ADDRESS=$address "$player" 2>"$work/stderr" &
player_pid=$!
for _ in $(seq 50); do
    DBUS_SESSION_BUS_ADDRESS=$address timeout 5 playerctl -l 2>/dev/null | grep -qx kestrin && break
    sleep 0.1
done
kill "$daemon_pid"
sleep 1
kill -0 "$player_pid" 2>/dev/null || fail "the player ended when its bus went away"
idle=$(idle_wakeups_per_second "$player_pid")
echo "idle wake-ups a second, after the bus went away: $idle"
((idle <= 1)) || fail "$idle wake-ups a second after the bus went away"
kill -TERM "$player_pid"
await_exit "$player_pid" || fail "the player did not end on SIGTERM"
player_pid=

# No session bus at all: the player runs as it always did, silently.
DBUS_SESSION_BUS_ADDRESS=unix:path=$work/no-bus "$player" 2>"$work/stderr" &
player_pid=$!
idle=$(idle_wakeups_per_second "$player_pid")
echo "idle wake-ups a second, without a session bus: $idle"
((idle <= 1)) || fail "$idle wake-ups a second without a session bus"
[[ ! -s $work/stderr ]] || fail "without a bus the player wrote: $(cat "$work/stderr")"
kill -TERM "$player_pid"
await_exit "$player_pid" || fail "the player did not end on SIGTERM without a bus"
player_pid=
echo "mpris smoke: passed"

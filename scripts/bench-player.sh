#!/usr/bin/env bash
# Prints the player's figures beside a desktop peer (Debian's audacious) measured in the same
# run, each program on its own virtual X server with SDL's dummy audio driver:
#   - start-up: exec until the X server maps the window (MapNotify, seen by wait_mapped),
#     the median of RUNS starts after one warm-up;
#   - idle: CPU over IDLE_SECONDS with the window open (scheduler nanoseconds of all threads)
#     and wake-ups per second (voluntary context switches);
#   - playing a 3-minute 128 kbit/s MP3 for PLAY_SECONDS: the program's CPU, and separately
#     the X server's, and the resident memory;
#   - opening a 100,000-line playlist: for the player, the list element's Load until the list
#     holds every line (Google Benchmark, in-process); for the peer, an M3U of the same lines
#     added through its remote control, polled until its playlist has every entry.
# The player is build/default/app/kestrin (PLAYER overrides it), measured at each display
# scale in SCALES (default "1 2", each 1 to 4) with KESTRIN_SCALE set for it; the peer once.
# Not part of CI: it installs audacious when missing.
# Usage: [SCALES="1 2"] scripts/bench-player.sh [IDLE_SECONDS [PLAY_SECONDS [RUNS]]]
set -euo pipefail
cd "$(dirname "$0")/.."

idle_seconds=${1:-60}
play_seconds=${2:-30}
runs=${3:-5}
read -r -a scales <<<"${SCALES:-1 2}"
usage() {
    echo "usage: [SCALES=\"1 2\"] scripts/bench-player.sh [IDLE_SECONDS [PLAY_SECONDS [RUNS]]]" >&2
    echo "  (SCALES: display scales of the player, each 1 to 4)" >&2
    exit 2
}
for value in "$idle_seconds" "$play_seconds" "$runs"; do
    [[ $value =~ ^[1-9][0-9]*$ ]] || usage
done
((${#scales[@]} > 0)) || usage
for value in "${scales[@]}"; do
    [[ $value =~ ^[1-4]$ ]] || usage
done

scripts/deps.sh
if ! command -v audacious >/dev/null || ! command -v dbus-daemon >/dev/null; then
    as_root=()
    if ((EUID != 0)); then as_root=(sudo); fi
    "${as_root[@]}" apt-get update -q
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q audacious dbus
fi

cmake --preset default >/dev/null
cmake --build --preset default --parallel "$(nproc)" --target kestrin wait_mapped close_window >/dev/null
cmake --preset bench >/dev/null
cmake --build --preset bench --parallel "$(nproc)" --target kestrin_bench >/dev/null
player=${PLAYER:-build/default/app/kestrin}
wait_mapped=build/default/tests/smoke/wait_mapped
close_window=build/default/tests/demo/close_window
source tests/smoke/measure.sh

work=$(mktemp -d)
dbus_pid=
runner_pid=
cleanup() {
    if [[ -n $dbus_pid ]]; then kill "$dbus_pid" 2>/dev/null || true; fi
    stop_programs
    rm -rf "$work"
}
trap cleanup EXIT

export SDL_AUDIODRIVER=dummy
# The peer keeps its settings here, set up to play through SDL like the player; a session bus
# of its own lets its remote control work.
export XDG_CONFIG_HOME=$work/config
read -r DBUS_SESSION_BUS_ADDRESS dbus_pid < <(dbus-daemon --session --fork --print-address=1 \
    --print-pid=1 | paste -s -d ' ')
export DBUS_SESSION_BUS_ADDRESS

echo "making media..."
sox -n -r 44100 -c 2 -b 16 "$work/tone.wav" synth 180 sine 220:880 vol 0.5
lame --quiet -b 128 --cbr "$work/tone.wav" "$work/tone.mp3"
rm "$work/tone.wav"
awk 'BEGIN { for (i = 0; i < 100000; i++)
                 printf "/home/listener/Music/Artist %d/Album %d/Track %d.mp3\n", i % 400, i % 37, i }' \
    >"$work/list.m3u"

# Starts a program on a fresh X server under wait_mapped and waits for its window.
launch() {
    start_xvfb
    "$wait_mapped" "$@" >"$work/mapped" 2>"$work/stderr" &
    runner_pid=$!
    read_mapped "$work/mapped" 20 || { echo "no window from $1" >&2; return 1; }
}

# Ends the launched program by the window manager's close request, else by SIGTERM, else by
# SIGKILL (the peer has been seen to survive both of the others), and the X server.
finish() {
    "$close_window" "$mapped_window" >/dev/null || true
    local signal
    for signal in TERM KILL; do
        for _ in $(seq 100); do
            kill -0 "$mapped_pid" 2>/dev/null || break 2
            sleep 0.05
        done
        kill -s "$signal" "$mapped_pid" 2>/dev/null || true
    done
    wait "$runner_pid" 2>/dev/null || true
    runner_pid=
    mapped_pid=
    stop_xvfb
}

# The peer's first start writes its settings; then its output is switched to SDL.
prepare_peer() {
    launch audacious
    finish
    local registry=$XDG_CONFIG_HOME/audacious/plugin-registry
    awk '/^output / { output = $2 }
         /^enabled / && output != "" { print "enabled " (output ~ /sdlout/ ? 1 : 0); output = ""; next }
         { print }' "$registry" >"$work/registry"
    mv "$work/registry" "$registry"
}

# Median start-up in ms of RUNS starts, after one warm-up start.
startup() {
    local times=()
    launch "$@" || return 1
    finish
    for ((run = 0; run < runs; run++)); do
        launch "$@" || return 1
        times+=("$mapped_ms")
        finish
    done
    printf '%s\n' "${times[@]}" | sort -n | awk '{ v[NR] = $1 } END { printf "%.1f ms (median of %d: %s .. %s)", v[int((NR + 1) / 2)], NR, v[1], v[NR] }'
}

# CPU as a percentage of one core and wake-ups per second of the launched program over
# SECONDS, and the X server's CPU over the same time.
usage_over() {
    local seconds=$1 cpu0 wake0 x0 cpu1 wake1 x1
    cpu0=$(cpu_ns "$mapped_pid")
    wake0=$(wakeups "$mapped_pid")
    x0=$(cpu_ns "$xvfb_pid")
    sleep "$seconds"
    cpu1=$(cpu_ns "$mapped_pid")
    wake1=$(wakeups "$mapped_pid")
    x1=$(cpu_ns "$xvfb_pid")
    awk -v c=$((cpu1 - cpu0)) -v w=$((wake1 - wake0)) -v x=$((x1 - x0)) -v s="$seconds" \
        'BEGIN { printf "%.3f %% of a core, %.1f wake-ups/s; X server %.3f %%", c / 1e7 / s, w / s, x / 1e7 / s }'
}

idle() {
    launch "$@"
    sleep 2
    usage_over "$idle_seconds"
    finish
}

# Clicks the player's window at X, Y of its own (96 DPI) coordinates; the native window is
# scale times larger.
click_player() {
    xdotool mousemove --window "$mapped_window" $(($1 * scale)) $(($2 * scale)) click 1
}

# Starts playing the MP3 in the player: "^" adds it through the file dialog, a click on the
# list's first item plays it; then waits up to 5 s until the player says on the session bus
# that it plays.
start_player_playing() {
    click_player 125 110
    await_other_window shown "$mapped_window" || { echo "the file dialog did not appear" >&2; return 1; }
    xdotool type --delay 5 "$work/tone.mp3"
    xdotool key Return
    await_other_window gone "$mapped_window" || { echo "the file dialog stayed" >&2; return 1; }
    click_player 150 7
    for _ in $(seq 50); do
        [[ $(timeout 2 playerctl --player=kestrin status 2>/dev/null) == Playing ]] && return 0
        sleep 0.1
    done
    echo "the player did not start playing" >&2
    return 1
}

# CPU while playing, then the resident memory.
playing() {
    local program=$1
    if [[ $program == audacious ]]; then
        launch audacious "$work/tone.mp3"
    else
        launch "$program"
        start_player_playing || { finish; return 1; }
    fi
    sleep 2
    usage_over "$play_seconds"
    printf '; resident %d KiB (peak %d KiB)' "$(memory_kib "$mapped_pid" VmRSS)" \
        "$(memory_kib "$mapped_pid" VmHWM)"
    finish
}

# The peer: from the request to add the M3U until its playlist holds every entry, polled
# through its remote control every few ms.
peer_playlist() {
    launch audacious
    sleep 2
    local start now count=0
    start=$(date +%s%N)
    audtool playlist-addurl "$work/list.m3u"
    until ((count >= 100000)); do
        count=$(audtool playlist-length 2>/dev/null || echo 0)
        now=$(date +%s%N)
        if ((now - start > 60000000000)); then
            echo "gave up after 60 s at $count entries"
            finish
            return
        fi
    done
    awk -v ns=$((now - start)) 'BEGIN { printf "%.0f ms (polled)", ns / 1e6 }'
    finish
}

# The benchmark makes windows, so it gets an X server of its own; a failed run prints the
# benchmark's error rather than figures.
player_playlist() {
    start_xvfb
    build/bench/bench/kestrin_bench --benchmark_filter=OpenPlaylist --benchmark_format=csv 2>/dev/null |
        awk -F, '/OpenPlaylist/ && $9 == "true" { printf "failed: %s", $10; next }
                 /OpenPlaylist/ { printf "%.1f ms wall, %.1f ms CPU (in-process, %s runs)", $3, $4, $2 }'
    stop_xvfb
}

# MEASURE (startup, idle or playing) of the player at each scale, a line each. The player gets
# KESTRIN_SCALE, and a screen scale times the usual size so that its window fits where it
# places itself; click_player reads scale.
player_lines() {
    local scale xvfb_screen
    for scale in "${scales[@]}"; do
        xvfb_screen=$((1024 * scale))x$((768 * scale))x24
        echo "  player at scale $scale: $(KESTRIN_SCALE=$scale "$1" "$player")"
    done
}

prepare_peer
echo "start-up until mapped:"
player_lines startup
echo "  peer: $(startup audacious)"
echo "idle over $idle_seconds s with the window open:"
player_lines idle
echo "  peer: $(idle audacious)"
echo "playing a 128 kbit/s MP3 for $play_seconds s:"
player_lines playing
echo "  peer: $(playing audacious)"
echo "opening a 100,000-line playlist:"
echo "  player: $(player_playlist)"
echo "  peer:   $(peer_playlist)"

# Shell functions shared by the measuring scripts; source this file.
# A virtual X server, and readings of a running process: CPU time in nanoseconds from the
# scheduler (all threads), context switches (each voluntary one is a wake-up after a wait)
# and memory.

xvfb_pid=

# Starts Xvfb on a display number it finds free itself (so that runs at the same time do not
# collide) and exports DISPLAY. Arguments are passed on to Xvfb; xvfb_screen, when set, is
# the screen's size and depth.
start_xvfb() {
    local numberFile
    numberFile=$(mktemp)
    Xvfb -displayfd 3 -screen 0 "${xvfb_screen:-1024x768x24}" -nolisten tcp "$@" \
        3>"$numberFile" >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 100); do
        if [[ -s $numberFile ]]; then
            export DISPLAY=:$(head -n 1 "$numberFile")
            rm -f "$numberFile"
            return 0
        fi
        sleep 0.05
    done
    rm -f "$numberFile"
    echo "Xvfb did not start" >&2
    return 1
}

# Ends what a script started: the wait_mapped runner (runner_pid), the program it started
# (mapped_pid) and Xvfb.
stop_programs() {
    if [[ -n ${runner_pid:-} ]]; then kill "$runner_pid" 2>/dev/null || true; fi
    if [[ -n ${mapped_pid:-} ]]; then kill "$mapped_pid" 2>/dev/null || true; fi
    stop_xvfb
}

stop_xvfb() {
    if [[ -n $xvfb_pid ]]; then kill "$xvfb_pid" 2>/dev/null || true; fi
    xvfb_pid=
}

# Nanoseconds on a CPU of every live thread of PID.
cpu_ns() {
    cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ sum += $1 } END { printf "%d", sum }'
}

# Voluntary context switches of every live thread of PID: how often it woke up after waiting.
wakeups() {
    cat /proc/"$1"/task/*/status 2>/dev/null |
        awk '/^voluntary_ctxt_switches/ { sum += $2 } END { printf "%d", sum }'
}

# A line of /proc/PID/status in KiB, e.g. memory_kib PID VmRSS.
memory_kib() {
    awk -v key="$2:" '$1 == key { print $2 }' /proc/"$1"/status
}

# Reads "mapped MS pid PID window ID" from a file wait_mapped writes, up to SECONDS.
# Sets mapped_ms, mapped_pid and mapped_window. The file is removed once read: the next
# start's redirection may open it only after the next read began, which would otherwise find
# this start's line.
read_mapped() {
    local file=$1 seconds=${2:-10} line= word=
    for _ in $(seq $((seconds * 50))); do
        line=$(head -n 1 "$file" 2>/dev/null)
        [[ -n $line ]] && break
        sleep 0.02
    done
    rm -f "$file"
    read -r word mapped_ms _ mapped_pid _ mapped_window <<<"$line"
    [[ $word == mapped ]]
}

# The visible windows other than WINDOW (a hexadecimal id), one decimal id a line.
other_windows() {
    xdotool search --onlyvisible --name . 2>/dev/null | grep -vx "$(($1))" || true
}

# Waits up to 5 s until a visible window other than WINDOW shows ("shown WINDOW") or until
# none does ("gone WINDOW"); fails when it does not come to that.
await_other_window() {
    local others
    for _ in $(seq 100); do
        others=$(other_windows "$2")
        if [[ ($1 == shown && -n $others) || ($1 == gone && -z $others) ]]; then return 0; fi
        sleep 0.05
    done
    return 1
}

# Waits up to 5 s (or TRIES times 50 ms) for PID, a child of this shell, to end and sets
# exit_status to its status;
# fails when it is still running.
await_exit() {
    for _ in $(seq "${2:-100}"); do
        kill -0 "$1" 2>/dev/null || break
        sleep 0.05
    done
    kill -0 "$1" 2>/dev/null && return 1
    exit_status=0
    wait "$1" || exit_status=$?
}

# Ends a player's smoke script with MESSAGE and what the player wrote to $work/stderr.
fail() {
    echo "FAIL: $*" >&2
    cat "$work/stderr" >&2 2>/dev/null || true
    exit 1
}

# Waits up to 5 s (or TRIES times 50 ms) for the runner (runner_pid) to end, and fails unless
# the player's exit code was 0; STEP names what should have ended it.
# Usage: expect_exit_zero STEP [TRIES]
expect_exit_zero() {
    await_exit "$runner_pid" "${2:-100}" || fail "$1 did not end the player"
    runner_pid=
    mapped_pid=
    ((exit_status == 0)) || fail "the player ended with $exit_status after $1"
}

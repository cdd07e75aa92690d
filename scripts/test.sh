#!/usr/bin/env bash
# The test command: installs what is missing, then builds and tests the native build, the
# same under address and undefined-behaviour sanitizers, cross-builds for Windows, builds the
# benchmarks, and runs every fuzz target briefly. Stops at the first failure. The last line
# sums both test runs as "N passed, N failed".
set -euo pipefail
cd "$(dirname "$0")/.."

fuzz_seconds=20
jobs=$(nproc)
passed=0
failed=0
skipped=0
summaries=()

section() {
    printf '\n==== %s (at %d s) ====\n' "$1" "$SECONDS"
}

print_totals() {
    section "Summary"
    if ((${#summaries[@]} > 0)); then
        printf '%s\n' "${summaries[@]}"
    fi
    if ((skipped > 0)); then
        echo "$passed passed, $failed failed, $skipped skipped"
    else
        echo "$passed passed, $failed failed"
    fi
}

# Adds the counts of one ctest run, read from its log, to the totals.
count_results() {
    local preset=$1 log=$2 summary total failures skips
    summary=$(grep -E '[0-9]+ tests failed out of [0-9]+' "$log" | tail -n 1) || return 0
    summaries+=("$preset: $summary")
    total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$summary")
    failures=$(sed -E 's/.* ([0-9]+) tests failed out of.*/\1/' <<<"$summary")
    # ctest counts skipped tests among the passed ones; they are listed as "(Skipped)".
    skips=$(grep -cE '\(Skipped\)$' "$log") || true
    passed=$((passed + total - failures - skips))
    failed=$((failed + failures))
    skipped=$((skipped + skips))
}

build_preset() {
    cmake --preset "$1"
    cmake --build --preset "$1" --parallel "$jobs"
}

# Builds and tests one preset; on a failure prints the totals so far and stops.
test_preset() {
    local preset=$1 log status=0
    section "Build: $preset"
    build_preset "$preset"
    section "Test: $preset"
    log="build/$preset/ctest-output.log"
    ctest --preset "$preset" 2>&1 | tee "$log" || status=$?
    count_results "$preset" "$log"
    if ((status != 0)); then
        print_totals
        exit "$status"
    fi
}

# Adds the counts of one GoogleTest program's log to the totals; a program that ended without
# its summary counts as one failure.
count_gtest_results() {
    local program=$1 log=$2 passes failures skips
    passes=$(sed -nE 's/^\[  PASSED  \] ([0-9]+) tests?\..*/\1/p' "$log" | tail -n 1)
    failures=$(sed -nE 's/^\[  FAILED  \] ([0-9]+) tests?, listed below:.*/\1/p' "$log" | tail -n 1)
    skips=$(sed -nE 's/^\[  SKIPPED \] ([0-9]+) tests?, listed below:.*/\1/p' "$log" | tail -n 1)
    if [[ -z $passes && -z $failures ]]; then
        failures=1
    fi
    summaries+=("wine: $program: ${passes:-0} passed, ${failures:-0} failed, ${skips:-0} skipped")
    passed=$((passed + ${passes:-0}))
    failed=$((failed + ${failures:-0}))
    skipped=$((skipped + ${skips:-0}))
}

# Runs every test program of the Windows build under Wine, in a fresh prefix on a virtual X
# server with an English locale; stops after them when one failed.
wine_tests() {
    local program log status=0
    (
        source tests/smoke/measure.sh
        source scripts/wine.sh
        trap 'stop_wine; stop_xvfb' EXIT
        export LC_ALL=C
        start_xvfb
        new_wine_prefix desktop
        for program in $(find build/mingw32/tests -name '*_tests.exe' | sort); do
            echo "== $program"
            wine "$program" --gtest_color=no >"${program%.exe}.log" 2>&1 || true
            grep -E '^\[  (PASSED|FAILED) +\]' "${program%.exe}.log" || tail -n 20 "${program%.exe}.log"
        done
    )
    for program in $(find build/mingw32/tests -name '*_tests.exe' | sort); do
        log=${program%.exe}.log
        count_gtest_results "$(basename "$program")" "$log"
        grep -q '^\[  PASSED  \]' "$log" && ! grep -q '^\[  FAILED  \]' "$log" || status=1
    done
    if ((status != 0)); then
        print_totals
        exit 1
    fi
}

# Runs a smoke script; a failure ends the run.
smoke() {
    local name=$1
    shift
    section "Smoke: $name"
    if "$@"; then
        summaries+=("smoke: $name passed")
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        print_totals
        exit 1
    fi
}

# The controls demo, a plain Win32 program and the player of a preset's build, each on a
# virtual X server.
smoke_preset() {
    local build=build/$1
    smoke "controls demo ($1)" tests/smoke/controls_demo.sh "$build/tests/demo/controls_demo" \
        "$build/tests/demo/close_window" "$build/controls-demo.png"
    smoke "plain win32 ($1)" tests/smoke/plain_win32.sh "$build/tests/demo/plain_win32" \
        "$build/tests/demo/close_window" "$build/plain-win32.png"
    smoke "player ($1)" tests/smoke/kestrin_smoke.sh "$build/app/kestrin" \
        "$build/tests/smoke/wait_mapped" "$build/tests/demo/close_window"
    smoke "player at scale 2 ($1)" tests/smoke/kestrin_scale_smoke.sh "$build/app/kestrin" \
        "$build/tests/smoke/wait_mapped" "$build/tests/demo/close_window" \
        "$build/tests/smoke/text_detail" "$build/player-2x.png"
    smoke "player with files ($1)" tests/smoke/kestrin_files_smoke.sh "$build/app/kestrin" \
        "$build/tests/smoke/wait_mapped" "$build/tests/demo/close_window" tests/media
    smoke "dropped files ($1)" tests/smoke/drop_smoke.sh "$build/tests/smoke/drop_probe"
    smoke "lost display ($1)" tests/smoke/lost_display_smoke.sh \
        "$build/tests/smoke/lost_display_probe"
    smoke "desktop media controls ($1)" tests/smoke/mpris_smoke.sh "$build/app/kestrin"
}

section "Dependencies"
scripts/deps.sh

test_preset default

smoke_preset default
smoke "install and package" tests/smoke/package_check.sh build/default

export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
# The display library opens libdbus, whose global state only the application could free.
export LSAN_OPTIONS=suppressions=$PWD/tests/smoke/lsan.supp
test_preset asan
smoke_preset asan

section "Cross build: mingw32"
build_preset mingw32
find build/mingw32 -name '*.exe' -not -path '*/CMakeFiles/*' -printf 'linked %p\n'

section "Test: mingw32 under Wine"
wine_tests
smoke "player under Wine" tests/smoke/kestrin_wine_smoke.sh build/mingw32/app/kestrin.exe \
    build/default/tests/smoke/wait_mapped build/default/tests/demo/close_window

# The optimised build sees warnings the others miss; building the benchmarks keeps them honest.
section "Build: bench"
build_preset bench

section "Fuzz: ${fuzz_seconds} s per target"
scripts/fuzz.sh "$fuzz_seconds"

print_totals

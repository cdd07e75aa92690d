#!/usr/bin/env bash
# Measures an idle message loop with one 1000 ms timer under the real clock: prints how often
# WaitMessage returned while the timer ticked three times, the time that took and the
# processor time used meanwhile. BUILD_DIR chooses the build directory (build/default).
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=${BUILD_DIR:-build/default}
cmake --preset default -B "$build_dir" >/dev/null
cmake --build "$build_dir" --target platform_tests --parallel "$(nproc)" >/dev/null
"$build_dir"/tests/platform/platform_tests --gtest_filter='IdleWaitTest.*' | grep -E 'idle loop|OK \]|FAILED'

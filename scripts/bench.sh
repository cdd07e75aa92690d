#!/usr/bin/env bash
# Builds the optimised benchmark build and prints the figures. Extra arguments go to the
# benchmark program (for example --benchmark_filter=StrList).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh
cmake --preset bench
cmake --build --preset bench --parallel "$(nproc)"
exec build/bench/bench/kestrin_bench "$@"

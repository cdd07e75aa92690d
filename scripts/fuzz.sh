#!/usr/bin/env bash
# Builds the libFuzzer targets and runs each for SECONDS, keeping a corpus per target in
# build/fuzz/corpus-<name> (also reading tests/fuzz/seeds/<name>/ when it exists).
# Exits non-zero on the first finding; the input that caused it is kept in
# build/fuzz/artifacts-<name>/.
# Usage: scripts/fuzz.sh SECONDS [target...]
set -euo pipefail
cd "$(dirname "$0")/.."

all_targets=(fuzz_convert fuzz_expression fuzz_strlist fuzz_media fuzz_drop fuzz_text)

if (($# < 1)) || ! [[ $1 =~ ^[1-9][0-9]*$ ]]; then
    echo "usage: scripts/fuzz.sh SECONDS [target...]  (targets: ${all_targets[*]})" >&2
    exit 2
fi
seconds=$1
shift
targets=("${all_targets[@]}")
if (($# > 0)); then
    targets=("$@")
fi

scripts/deps.sh
cmake --preset fuzz
cmake --build --preset fuzz --parallel "$(nproc)" --target "${targets[@]}"

for target in "${targets[@]}"; do
    corpus="build/fuzz/corpus-$target"
    artifacts="build/fuzz/artifacts-$target/"
    log="build/fuzz/$target.log"
    seeds="tests/fuzz/seeds/$target"
    mkdir -p "$corpus" "$artifacts"
    corpora=("$corpus")
    if [[ -d $seeds ]]; then
        corpora+=("$seeds")
    fi
    echo "-- $target: $seconds s"
    status=0
    "build/fuzz/tests/fuzz/$target" -max_total_time="$seconds" -timeout=10 \
        -artifact_prefix="$artifacts" -print_final_stats=1 "${corpora[@]}" >"$log" 2>&1 ||
        status=$?
    if ((status != 0)); then
        # The report without the many progress and new-coverage lines.
        grep -v -E '^#[0-9]+|^\s+NEW_FUNC' "$log" >&2 || true
        echo "$target: finding (exit $status); input kept in $artifacts, full log in $log" >&2
        exit 1
    fi
    grep -E '^(Done|stat::number_of_executed_units|stat::new_units_added|stat::peak_rss_mb)' \
        "$log"
done

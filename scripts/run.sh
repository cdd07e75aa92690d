#!/usr/bin/env bash
# The run command: installs what is missing, builds the native build and starts the player.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh
cmake --preset default
cmake --build --preset default --parallel "$(nproc)"

player=build/default/app/kestrin
if [[ ! -x $player ]]; then
    echo "The player is not built yet ($player does not exist)." >&2
    exit 1
fi
exec "$player" "$@"

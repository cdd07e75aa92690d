#!/usr/bin/env bash
# Takes pictures of the Windows build under Wine with an English locale, in a Wine desktop
# window so that Wine draws the frames and captions: the player, and its open dialog.
# Usage: wine_screenshot.sh KESTRIN_EXE FOLDER
# Writes FOLDER/player-wine.png and FOLDER/open-dialog-wine.png.
set -euo pipefail

player=$(realpath "$1")
folder=$(realpath -m "$2")
source "$(dirname "$0")/measure.sh"
source "$(dirname "$0")/../../scripts/wine.sh"

cleanup() {
    stop_wine
    stop_xvfb
}
trap cleanup EXIT

export LC_ALL=C
mkdir -p "$folder"
start_xvfb
new_wine_prefix
wine explorer /desktop=pictures,800x600 "$player" >/dev/null 2>&1 &
desktop=
for _ in $(seq 100); do
    desktop=$(xdotool search --name "pictures - Wine desktop" 2>/dev/null | head -n 1) && break
    sleep 0.1
done
[[ -n $desktop ]] || { echo "no Wine desktop" >&2; exit 1; }
sleep 3
# The form's outer rectangle is 193, 304 sized 335 by 147; "^" is at 125, 110 of its client
# area, which starts 3 by 22 pixels inside.
import -window "$desktop" -crop 345x157+188+299 +repage "$folder/player-wine.png"
xdotool mousemove --window "$desktop" $((193 + 3 + 125)) $((304 + 22 + 110)) click 1
sleep 3
# The dialog opens over the player, at its corner.
import -window "$desktop" -crop 440x260+188+299 +repage "$folder/open-dialog-wine.png"

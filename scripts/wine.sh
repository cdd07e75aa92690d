# Shell functions for running the Windows build under 32-bit Wine; source this file.
# The prefix lives under build/ and is made afresh by new_wine_prefix, so no earlier run's
# settings carry over. Wine's own messages are silenced and it offers no downloads.

export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEPREFIX
WINEPREFIX=$(realpath -m "$(dirname "${BASH_SOURCE[0]}")/../build/wine-prefix")

# Makes an empty prefix and lets Wine set it up; needs DISPLAY. Takes about 20 s.
new_wine_prefix() {
    wineserver -k 2>/dev/null || true
    rm -rf "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1
    wineserver -w
}

# Ends every program of the prefix and its server.
stop_wine() {
    wineserver -k 2>/dev/null || true
}

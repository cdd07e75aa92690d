# Shell functions for running the Windows build under 32-bit Wine; source this file.
# The prefix lives under build/ and is made afresh by new_wine_prefix, so no earlier run's
# settings carry over. Wine's own messages are silenced and it offers no downloads.

export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEPREFIX
WINEPREFIX=$(realpath -m "$(dirname "${BASH_SOURCE[0]}")/../build/wine-prefix")

# Makes an empty prefix and lets Wine set it up; needs DISPLAY. Takes about 20 s. With
# "desktop", every program of the prefix runs inside one virtual desktop window: bare X
# windows make Wine wait for a window manager, about 2 s, whenever one is shown or destroyed.
new_wine_prefix() {
    wineserver -k 2>/dev/null || true
    rm -rf "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1
    if [[ ${1:-} == desktop ]]; then
        wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
        wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f \
            >/dev/null 2>&1
    fi
    wineserver -w
}

# Ends every program of the prefix and its server.
stop_wine() {
    wineserver -k 2>/dev/null || true
}

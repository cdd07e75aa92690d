#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the tools need. When every one is
# already installed it does not touch apt at all, so repeated runs cost nothing.
set -euo pipefail

packages=(
    # build
    cmake ninja-build g++ clang
    # sanitizer and libFuzzer runtimes for clang
    libclang-rt-14-dev
    # tests and benchmarks
    libgtest-dev libgmock-dev googletest libbenchmark-dev
    # Windows i686 cross build
    g++-mingw-w64-i686
    # the Linux platform layer: display, audio, decoding, fonts
    libsdl2-dev libsndfile1-dev libfreetype-dev libfontconfig-dev
    # the player on the session bus (sd-bus), and its end-to-end test with a real client
    libsystemd-dev dbus-daemon dbus-bin playerctl python3
    # sans faces for text on a fresh machine (a narrow one for the classic dialog faces), PNG
    fonts-dejavu-core fonts-liberation2 fonts-urw-base35 zlib1g-dev
    # end-to-end runs under a virtual X server, and media fixtures
    xvfb xdotool sox lame
    # the X resource database (Xft.dpi) in the scale smoke test, window sizes
    x11-xserver-utils x11-utils
    # screenshots of windows on the virtual X server
    imagemagick
    # the decode-only figure that scripts/bench-audio.sh compares the audio engine with
    mpg123
    # checks of the desktop entry and the metainfo, and the Debian package (dpkg-shlibdeps)
    desktop-file-utils appstream dpkg-dev shared-mime-info
    # the Windows build's tests and player, run under 32-bit Wine
    wine wine32:i386
)

is_installed() {
    [[ "$(dpkg-query -W -f='${db:Status-Status}' "$1" 2>/dev/null)" == installed ]]
}

missing=()
for package in "${packages[@]}"; do
    if ! is_installed "$package"; then
        missing+=("$package")
    fi
done
if ((${#missing[@]} == 0)); then
    exit 0
fi

as_root=()
if ((EUID != 0)); then
    if ! command -v sudo >/dev/null; then
        echo "Missing packages: ${missing[*]}. Run this as root, or install sudo." >&2
        exit 1
    fi
    as_root=(sudo)
fi
echo "Installing: ${missing[*]}"
# 32-bit Wine comes from the i386 half of the archive.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    "${as_root[@]}" dpkg --add-architecture i386
fi
"${as_root[@]}" apt-get update -q
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}"

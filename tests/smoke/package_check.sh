#!/usr/bin/env bash
# Checks what a build of the default preset installs and packages: `cmake --install` into a
# scratch prefix holds the player, its desktop entry (opening files: %F) and the media types it
# offers, the playlist's MIME package (which the MIME database then maps *.qpl to) and the
# AppStream metainfo, each valid; `cpack -G DEB` makes a package holding /usr/bin/kestrin whose
# dependencies were worked out from the binary and whose post-install script refreshes the
# desktop and MIME databases.
# Usage: package_check.sh BUILD_DIR
set -euo pipefail

build=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
share=$prefix/share
desktop=$share/applications/kestrin.desktop
[[ -x $prefix/bin/kestrin ]] || fail "no bin/kestrin installed"
grep -qx 'Exec=kestrin %F' "$desktop" || fail "the desktop entry does not open files with %F"
for type in audio/mpeg audio/x-wav audio/flac audio/x-vorbis+ogg audio/x-opus+ogg \
    application/x-kestrin-playlist; do
    grep -q "^MimeType=.*$type;" "$desktop" || fail "the desktop entry does not offer $type"
done
desktop-file-validate "$desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$share/metainfo/org.kestrin.Player.metainfo.xml" >/dev/null ||
    fail "appstreamcli validate"
[[ -f $share/icons/hicolor/48x48/apps/kestrin.png ]] || fail "no hicolor icon"
[[ -f $share/mime/packages/kestrin-playlist.xml ]] || fail "no MIME package"
echo "installed: $(cd "$prefix" && find . -type f | sort | tr '\n' ' ')"
# It warns that the scratch prefix is not among the data directories; that is expected.
update-mime-database "$share/mime" >/dev/null 2>&1 || fail "update-mime-database"
grep -qx 'application/x-kestrin-playlist:\*\.qpl' <(cut -d: -f2- "$share/mime/globs2") ||
    fail "the MIME database does not map *.qpl to the playlist type"
grep -q '^application/x-kestrin-playlist text/plain$' "$share/mime/subclasses" ||
    fail "the playlist type is no sub-class of text/plain"

(cd "$build" && cpack -G DEB -B "$work/package" >/dev/null) || fail "cpack -G DEB"
deb=$(find "$work/package" -maxdepth 1 -name 'kestrin_*.deb' | head -n 1)
[[ -n $deb ]] || fail "no kestrin_*.deb made"
contents=$(dpkg-deb -c "$deb")
grep -q ' \./usr/bin/kestrin$' <<<"$contents" || fail "the package holds no usr/bin/kestrin"
grep -q ' \./usr/share/mime/packages/kestrin-playlist.xml$' <<<"$contents" ||
    fail "the package holds no MIME package"
depends=$(dpkg-deb -f "$deb" Depends)
for library in libsdl2 libsndfile1 libfreetype6 libfontconfig1; do
    [[ $depends == *"$library"* ]] || fail "Depends lacks $library: $depends"
done
postinst=$(dpkg-deb -I "$deb" postinst)
grep -q update-mime-database <<<"$postinst" || fail "no post-install refresh"
echo "package: $(basename "$deb"), Depends: $depends"
echo "package check: passed"

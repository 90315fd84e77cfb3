#!/usr/bin/env bash
# Checks the release files as a user meets them: the archive's and the package's contents by
# listing, the checksums, lintian, and the packaged hack, unpacked on its own, drawing on a
# private Xvfb display. Prints lintian's findings; fails on a lintian error.
# Usage: check-package.sh VERSION DIST_DIR   (from the top of the tree)
set -uo pipefail
version=$1 dist=$2
arch=$(dpkg --print-architecture)
zip_file=$dist/zova-$version-windows.zip
deb=$dist/zova-x11_${version}_$arch.deb
failed=0
fail() {
    echo "check-package: $*" >&2
    failed=1
}
work=$(mktemp -d)
xvfb_pid='' hack_pid=''
# shellcheck disable=SC2317  # called by the trap
cleanup() {
    # Only what this script started.
    if [ -n "$hack_pid" ]; then kill "$hack_pid" 2>/dev/null; fi
    if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null; fi
    rm -rf "$work"
}
trap cleanup EXIT

# The archive: both builds as built, the read-me texts, checksums that hold.
names=$(unzip -Z1 "$zip_file" | tr '\n' ' ')
if [ "$names" != "32bit/zova.scr 64bit/zova.scr README-en.txt README-ja.txt SHA256SUMS " ]; then
    fail "archive holds: $names"
fi
unzip -q "$zip_file" -d "$work/zip"
cmp -s "$work/zip/32bit/zova.scr" build/win32/zova.scr || fail "32bit/zova.scr is not the 32-bit build"
cmp -s "$work/zip/64bit/zova.scr" build/win64/zova.scr || fail "64bit/zova.scr is not the 64-bit build"
(cd "$work/zip" && sha256sum --quiet -c SHA256SUMS) || fail "SHA256SUMS does not match"
grep -q "ZOVA.*$version" "$work/zip/README-ja.txt" || fail "README-ja.txt names no version"

# The package: its fields, and each file where Debian and xscreensaver look for it, root's.
for field in "Package zova-x11" "Version $version" "Architecture $arch"; do
    value=$(dpkg-deb --field "$deb" "${field%% *}")
    [ "$value" = "${field#* }" ] || fail "${field%% *} is '$value'"
done
depends=$(dpkg-deb --field "$deb" Depends)
for library in libc6 libx11-6 libxext6; do
    [[ $depends =~ (^|, )$library( |,|$) ]] || fail "Depends lacks $library: $depends"
done
dpkg-deb --contents "$deb" >"$work/contents"
for file in "-rwxr-xr-x ./usr/libexec/xscreensaver/zova-x11" \
    "-rw-r--r-- ./usr/share/xscreensaver/config/zova-x11.xml" \
    "-rw-r--r-- ./usr/share/doc/zova-x11/copyright" \
    "-rw-r--r-- ./usr/share/doc/zova-x11/changelog.gz"; do
    grep -q -- "^${file% *} root/root .* ${file#* }$" "$work/contents" || fail "no $file"
done
if grep -v ' root/root ' "$work/contents"; then fail "files not root's"; fi
if grep ' ./usr/share/man/.*[^z]$' "$work/contents" | grep -v '/$'; then
    fail "manual pages not compressed"
fi
if grep '\.desktop$' "$work/contents" | grep -v ' ./usr/share/applications/screensavers/'; then
    fail "desktop entry out of place"
fi

echo "lintian $deb:"
lintian --display-info --tag-display-limit 0 "$deb" 2>&1 | grep -v '^running with root privileges' | tee "$work/lintian"
if grep -q '^E: ' "$work/lintian"; then fail "lintian reports errors"; fi

# The packaged hack, unpacked on its own, draws on the root window of a private display.
dpkg-deb -x "$deb" "$work/unpacked"
if scripts/start-xvfb.sh "$work/xvfb"; then
    xvfb_pid=$(cat "$work/xvfb/xvfb.pid")
    display=:$(cat "$work/xvfb/display")
    "$work/unpacked/usr/libexec/xscreensaver/zova-x11" --root --count 30 --display "$display" \
        2>"$work/hack.log" &
    hack_pid=$!
    # Balls start beyond the screen's corners: give them a few seconds to come in.
    lit=0
    for _ in $(seq 10); do
        sleep 1
        lit=$(import -display "$display" -window root -format '%[fx:mean>0]' info: 2>/dev/null)
        [ "$lit" = 1 ] && break
    done
    [ "$lit" = 1 ] || fail "the packaged zova-x11 drew nothing: $(cat "$work/hack.log")"
else
    fail "no Xvfb"
fi
[ $failed -eq 0 ] && echo "check-package: the archive and the package are as they should be"
exit $failed

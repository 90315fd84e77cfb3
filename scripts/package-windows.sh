#!/usr/bin/env bash
# Packs both Windows builds, the read-me texts and their checksums into
# OUT_DIR/zova-VERSION-windows.zip. The same inputs give the same bytes: fixed names, order,
# modes and times (SOURCE_DATE_EPOCH, in UTC).
# Usage: package-windows.sh VERSION OUT_DIR   (from the top of the tree, after both builds)
set -euo pipefail
version=$1 out=$(cd "$2" && pwd)
: "${SOURCE_DATE_EPOCH:?set it to the commit time}"
export TZ=UTC LC_ALL=C
umask 022

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
mkdir "$stage/32bit" "$stage/64bit"
cp build/win32/zova.scr "$stage/32bit/zova.scr"
cp build/win64/zova.scr "$stage/64bit/zova.scr"
# Notepad reads UTF-8 with a byte-order mark and Windows line ends right on any Windows.
for lang in en ja; do
    { printf '\xef\xbb\xbf'; sed -e "s/@VERSION@/$version/g" -e 's/$/\r/' \
        "packaging/windows/README-$lang.txt"; } >"$stage/README-$lang.txt"
done
(cd "$stage" && sha256sum 32bit/zova.scr 64bit/zova.scr README-en.txt README-ja.txt >SHA256SUMS)

chmod 644 "$stage"/*/* "$stage"/*.txt "$stage/SHA256SUMS"
find "$stage" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
zip_file=$out/zova-$version-windows.zip
rm -f "$zip_file"
# -X: no owner ids or extra time stamps; -D: no folder entries; names in a fixed order.
(cd "$stage" && find . -type f -printf '%P\n' | sort | zip -q -X -D -9 "$zip_file" -@)

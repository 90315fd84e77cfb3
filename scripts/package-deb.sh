#!/usr/bin/env bash
# Packs what the x11 component of the native build installs into
# OUT_DIR/zova-x11_VERSION_ARCH.deb, with its dependencies computed from the program's libraries.
# The same inputs give the same bytes: fixed modes, owners and times (SOURCE_DATE_EPOCH).
# Usage: package-deb.sh VERSION OUT_DIR   (from the top of the tree, after the native build)
set -euo pipefail
version=$1 out=$(cd "$2" && pwd)
: "${SOURCE_DATE_EPOCH:?set it to the commit time}"
export TZ=UTC LC_ALL=C
umask 022
arch=$(dpkg --print-architecture)
doc=usr/share/doc/zova-x11

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
root=$work/root
DESTDIR=$root cmake --install build/native --component x11 --prefix /usr >/dev/null
programs=()
while IFS= read -r file; do
    if [ "$(head -c 4 "$work/$file")" = $'\x7fELF' ]; then programs+=("$file"); fi
done < <(cd "$work" && find root/usr -type f -perm -u+x | sort)
# Stripped as Debian's own packages are (dh_strip).
(cd "$work" && strip --remove-section=.comment --remove-section=.note --strip-unneeded \
    "${programs[@]}")
# Manual pages compressed as Debian keeps them, without name or time in the gzip header.
if [ -d "$root/usr/share/man" ]; then
    find "$root/usr/share/man" -type f ! -name '*.gz' -exec gzip -n -9 {} +
fi
mkdir -p "$root/$doc"
cp packaging/debian/copyright "$root/$doc/copyright"
# A package of our own source is Debian-native: its changelog is changelog.gz.
sed -e "s/@VERSION@/$version/g" -e "s/@DATE@/$(date -R -d "@$SOURCE_DATE_EPOCH")/" \
    packaging/debian/changelog | gzip -n -9 >"$root/$doc/changelog.gz"

# dpkg-shlibdeps wants a source package's control file beside it.
mkdir -p "$work/debian" "$root/DEBIAN"
printf 'Source: zova\n\nPackage: zova-x11\nArchitecture: any\n' >"$work/debian/control"
depends=$(cd "$work" && dpkg-shlibdeps -O "${programs[@]}" | sed -n 's/^shlibs:Depends=//p')
# Installed size as dpkg-gencontrol counts it: KiB per file rounded up, one per folder or link.
size=$(cd "$root" && find usr \( -type f -printf '%s\n' \) -o -printf '0\n' |
    awk '{ total += $1 > 0 ? int(($1 + 1023) / 1024) : 1 } END { print total }')
sed -e "s/@VERSION@/$version/" -e "s/@ARCH@/$arch/" -e "s/@SIZE@/$size/" \
    -e "s/@DEPENDS@/$depends/" packaging/debian/control >"$root/DEBIAN/control"
(cd "$root" && find usr -type f | sort | xargs md5sum) >"$root/DEBIAN/md5sums"

chmod -R u=rwX,go=rX "$root"
find "$root" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
deb=$out/zova-x11_${version}_$arch.deb
rm -f "$deb"
dpkg-deb --root-owner-group -Zxz --build "$root" "$deb" >/dev/null

#!/usr/bin/env bash
# Builds the release files into dist/: the Windows archive zova-VERSION-windows.zip (both
# builds of zova.scr, read-me texts, checksums) and the Debian package of the X11 hack,
# zova-x11_VERSION_ARCH.deb; checks them (scripts/check-package.sh) and prints their paths and
# checksums. Existing build folders are reused. The files carry the commit's time, so the same
# commit gives the same bytes.
# Usage: scripts/package.sh   (JOBS=N to build with N jobs)
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
    SOURCE_DATE_EPOCH=$(git log -1 --format=%ct)
    if [ -n "$(git status --porcelain --untracked-files=no)" ]; then
        echo "package.sh: the tree has uncommitted changes; the files are not those of" \
            "commit $(git rev-parse --short HEAD)" >&2
    fi
fi
export SOURCE_DATE_EPOCH

cmake --preset native >/dev/null
cmake --build --preset native -j "${JOBS:-$(nproc)}" --target zova-x11
for preset in win32 win64; do
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j "${JOBS:-$(nproc)}" --target zova
done
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/native/CMakeCache.txt)

rm -rf dist
mkdir dist
scripts/package-windows.sh "$version" dist
scripts/package-deb.sh "$version" dist
scripts/check-package.sh "$version" dist

echo
(cd dist && for file in *; do
    printf '%s  %s bytes  sha256 %s\n' "$PWD/$file" "$(stat -c %s "$file")" \
        "$(sha256sum "$file" | cut -d' ' -f1)"
done)

#!/usr/bin/env bash
# Shows that the release files are the same bytes whoever builds them: clones the current commit
# into two folders of different names, packages each one after the other (scripts/package.sh),
# and compares every file of dist/ and both builds of zova.scr side by side.
# Usage: scripts/check-reproducible.sh   (JOBS=N to build with N jobs; takes a few minutes)
set -euo pipefail
cd "$(dirname "$0")/.."
commit=$(git rev-parse HEAD)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

builds=(first "second build, another folder")
for name in "${builds[@]}"; do
    clone=$work/$name
    git clone -q --no-checkout . "$clone"
    git -C "$clone" checkout -q --detach "$commit"
    echo "== packaging $commit in $clone, $(date -u +%H:%M:%S)"
    (cd "$clone" && scripts/package.sh >"$work/$name.log" 2>&1) ||
        { tail -n 30 "$work/$name.log"; exit 1; }
    # What the archive holds, also on its own.
    cp "$clone/build/win32/zova.scr" "$clone/dist/zova.scr (win32)"
    cp "$clone/build/win64/zova.scr" "$clone/dist/zova.scr (win64)"
done

a=$work/${builds[0]}/dist b=$work/${builds[1]}/dist
format='%-26s %8s  %-64s  %8s  %-64s  %s\n'
# shellcheck disable=SC2059  # the one format of the table
printf "$format" file bytes "sha256, first build" bytes "sha256, second build" ""
differ=0
while IFS= read -r file; do
    row=()
    for side in "$a" "$b"; do
        if [ -f "$side/$file" ]; then
            row+=("$(stat -c %s "$side/$file")" "$(sha256sum "$side/$file" | cut -d' ' -f1)")
        else
            row+=(- missing)
        fi
    done
    verdict=same
    cmp -s "$a/$file" "$b/$file" || { verdict=DIFFERENT; differ=1; }
    # shellcheck disable=SC2059  # the one format of the table
    printf "$format" "$file" "${row[@]}" "$verdict"
done < <( (ls "$a"; ls "$b") | sort -u)
exit $differ

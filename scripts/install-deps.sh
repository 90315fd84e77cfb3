#!/usr/bin/env bash
# Installs the Debian 12 packages the build and tests need; skips what is already there.
set -euo pipefail

# The IPA Gothic font lets the setup dialog's Japanese texts show under Wine. Xephyr gives Wine a
# desktop of two monitors, which the 32-bit Wine reads through the i386 Xinerama and RandR
# libraries; the X11 hack reads the heads through libXinerama, and its desktop entry is checked
# with desktop-file-validate. The last line makes and checks the release files (scripts/package.sh).
packages=(cmake ninja-build g++ g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine wine64 wine32:i386
          xvfb libgtest-dev libbenchmark-dev libpng-dev libcli11-dev libx11-dev libxext-dev
          imagemagick xauth
          fonts-ipafont-gothic xserver-xephyr libxinerama1:i386 libxrandr2:i386
          libxinerama-dev desktop-file-utils
          git zip unzip dpkg-dev lintian)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
if [ "$(id -u)" -ne 0 ]; then sudo=(sudo); fi

echo "Installing: ${missing[*]}"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  "${sudo[@]}" dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null

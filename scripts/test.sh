#!/usr/bin/env bash
# Installs what is missing, builds the host and both Windows builds, and runs every test:
# the portable tests natively, sanitised and under Wine, the Windows-side tests and the
# end-to-end tests of zova.scr under Wine; then makes and checks the release files.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
for preset in native win32 win64; do
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j "$(nproc)"
done
ctest --test-dir build/native -j 2 --output-on-failure
exec scripts/package.sh

#!/usr/bin/env bash
# Builds both builds and runs every test: native under the sanitizers, Windows under Wine;
# then builds the release twice and compares the bytes.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)

"$root/scripts/install-deps.sh"

echo "== Native build and tests"
cmake -S "$root" -B "$root/build/native" -DCMAKE_BUILD_TYPE=Debug
cmake --build "$root/build/native" -j"$jobs"
timeout 900 ctest --test-dir "$root/build/native" --output-on-failure --timeout 120 -j"$jobs"

echo "== Windows build and tests under Wine"
cmake -S "$root" -B "$root/build/windows" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake"
cmake --build "$root/build/windows" -j"$jobs"
cmake --build "$root/build/windows" --target release
# shellcheck source=scripts/wine-env.sh
source "$root/scripts/wine-env.sh" "$root/build/windows"
trap '"$WINESERVER" -k 2>/dev/null || true' EXIT
wine_prefix_init
timeout 1800 xvfb-run -a -s "-screen 0 1024x768x24" \
    ctest --test-dir "$root/build/windows" --output-on-failure --timeout 120

echo "== Reproducible release"
"$root/scripts/check-reproducible.sh"

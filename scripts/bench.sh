#!/usr/bin/env bash
# Builds the benchmark in both builds and prints both tables: natively, then the Windows
# build under Wine. Needs about 1.2 GiB free in the temporary directory for a moment.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)

"$root/scripts/install-deps.sh"

cmake -S "$root" -B "$root/build/native" -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$root/build/native" -j"$jobs" --target switch_bench >/dev/null
cmake -S "$root" -B "$root/build/windows" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$root/build/windows" -j"$jobs" --target switch_bench >/dev/null

echo "== Native build"
"$root/build/native/bench/switch_bench"

echo
echo "== Windows build under Wine"
# shellcheck source=scripts/wine-env.sh
source "$root/scripts/wine-env.sh" "$root/build/windows"
trap '"$WINESERVER" -k 2>/dev/null || true' EXIT
wine_prefix_init
"$WINE" "$root/build/windows/bin/switch_bench.exe" | tr -d '\r'

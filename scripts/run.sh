#!/usr/bin/env bash
# The main job: builds Tauschwerk.exe, makes a sample game directory with the setup files,
# puts the program in it and starts it under Wine. With a display a person uses it; without
# one a walk-through drives it under Xvfb and saves a screenshot of every screen.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/windows"
out="$root/demo-out"

"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$build" -j"$(nproc)" --target Tauschwerk tauschwerk_demo
# shellcheck source=scripts/wine-env.sh
source "$root/scripts/wine-env.sh" "$build"
trap '"$WINESERVER" -k 2>/dev/null || true' EXIT
demo="$build/bin/tauschwerk_demo.exe"

if [ -n "${DISPLAY:-}" ]; then
    wine_prefix_init display
    game="$out/game"
    rm -rf "$game"
    "$WINE" "$demo" prepare "$("$WINE" winepath -w "$game" 2>/dev/null)"
    echo "Sample game directory: $game"
    echo "Starting Tauschwerk.exe there (from another working directory)."
    cd "$out"
    "$WINE" "$game/Tauschwerk.exe"
else
    wine_prefix_init
    shots="$out/screens"
    rm -rf "$shots"
    mkdir -p "$shots"
    echo "No display: walking through the program under Xvfb."
    status=0
    timeout 300 xvfb-run -a -s "-screen 0 1024x768x24" \
        bash -c '"$WINE" "$1" walk "$("$WINE" winepath -w "$2" 2>/dev/null)"' _ "$demo" "$shots" ||
        status=$?
    for bmp in "$shots"/*.bmp; do
        [ -e "$bmp" ] || continue
        convert "$bmp" "${bmp%.bmp}.png" && rm "$bmp"
    done
    echo "Screenshots: $shots"
    exit $status
fi

# Sourced: sets up Wine for one build tree and creates its prefix once.
# Usage: source scripts/wine-env.sh BUILD_DIR
wine_build_dir=$(cd "$1" && pwd)
export WINE=/usr/lib/wine/wine64
export WINESERVER=/usr/lib/wine/wineserver
export WINEPREFIX="$wine_build_dir/wineprefix"
export WINEDEBUG=-all
# No Mono or Gecko download is attempted on a machine without network.
export WINEDLLOVERRIDES="mscoree,mshtml="

wine_prefix_init() {
    [ -f "$WINEPREFIX/.initialised" ] && return 0
    local attempt
    for attempt in 1 2; do
        rm -rf "$WINEPREFIX"
        # wineboot can stall: bound it and try once more.
        # A virtual desktop stands in for the window manager Xvfb lacks: without one, Wine
        # spends about two seconds on every window it hides or destroys.
        if timeout 180 xvfb-run -a bash -c '"$WINE" wineboot -i && "$WINESERVER" -w &&
            "$WINE" reg add "HKCU\Software\Wine\Explorer" /v Desktop /d Default /f &&
            "$WINE" reg add "HKCU\Software\Wine\Explorer\Desktops" /v Default /d 1024x768 /f &&
            "$WINESERVER" -w'; then
            touch "$WINEPREFIX/.initialised"
            return 0
        fi
        echo "wineboot attempt $attempt failed" >&2
        "$WINESERVER" -k 2>/dev/null || true
    done
    return 1
}

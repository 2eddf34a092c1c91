# Sourced: sets up Wine for one build tree and creates its prefix once.
# Usage: source scripts/wine-env.sh BUILD_DIR
wine_build_dir=$(cd "$1" && pwd)
export WINE=/usr/lib/wine/wine64
export WINESERVER=/usr/lib/wine/wineserver
export WINEPREFIX="$wine_build_dir/wineprefix"
export WINEDEBUG=-all
# No Mono or Gecko download is attempted on a machine without network.
export WINEDLLOVERRIDES="mscoree,mshtml="

# Usage: wine_prefix_init [display]
# Without an argument: the prefix for headless runs, with a virtual desktop. A virtual desktop
# stands in for the window manager Xvfb lacks: without one, Wine spends about two seconds on
# every window it hides or destroys. "display" switches to a prefix of its own without one,
# so that a person sees the program as a normal window.
wine_prefix_init() {
    local desktop=1
    if [ "${1:-}" = display ]; then
        export WINEPREFIX="$wine_build_dir/wineprefix-display"
        desktop=0
    fi
    [ -f "$WINEPREFIX/.initialised" ] && return 0
    local attempt
    for attempt in 1 2; do
        rm -rf "$WINEPREFIX"
        # wineboot can stall: bound it and try once more.
        # Debian's Wine looks for its own fonts (fonts-wine) at a path that does not resolve, so
        # Marlett, which draws the title-bar buttons, must be in the prefix: without it they
        # show letters.
        if timeout 180 xvfb-run -a bash -c '"$WINE" wineboot -i && "$WINESERVER" -w &&
            cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/" &&
            if [ "$1" = 1 ]; then
                "$WINE" reg add "HKCU\Software\Wine\Explorer" /v Desktop /d Default /f &&
                "$WINE" reg add "HKCU\Software\Wine\Explorer\Desktops" /v Default /d 1024x768 /f &&
                "$WINESERVER" -w
            fi' _ "$desktop"; then
            touch "$WINEPREFIX/.initialised"
            return 0
        fi
        echo "wineboot attempt $attempt failed" >&2
        "$WINESERVER" -k 2>/dev/null || true
    done
    return 1
}

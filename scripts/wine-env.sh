# Sourced by every script that runs a program under Wine: ctest's emulator,
# `make run` and the end-to-end tests share one prefix and one environment.
QUELT_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
QUELT_BUILD="${QUELT_BUILD:-$QUELT_ROOT/build}"
# Always the project's own prefix, never one in the home folder. A check that
# needs a Wine session of its own names another prefix under the build folder
# in QUELT_WINEPREFIX.
case "${QUELT_WINEPREFIX:-}" in
"$QUELT_BUILD"/?*) export WINEPREFIX="$QUELT_WINEPREFIX" ;;
*) export WINEPREFIX="$QUELT_BUILD/wineprefix" ;;
esac
export WINEARCH=win32
# Where the kernel runs no 32-bit code, a 64-bit build of the same sources
# under 64-bit Wine stands in for local testing: QUELT_WINE64=1 with its own
# build folder (make test64).
if [ -n "${QUELT_WINE64:-}" ]; then
    export WINEARCH=win64
    export WINELOADER=/usr/lib/wine/wine64
    export WINESERVER=/usr/lib/wine/wineserver64
    # Commands of the same names first in PATH, so that every script and
    # every program started through setpriv, ctest or a test reaches the
    # 64-bit loader and server, never the 32-bit ones.
    QUELT_WINE64_COMMANDS="$QUELT_BUILD/wine64-commands"
    if [ ! -x "$QUELT_WINE64_COMMANDS/wineserver-stable" ]; then
        mkdir -p "$QUELT_WINE64_COMMANDS"
        # Scripts rather than links: the loader finds its preloader by the
        # name it was started under.
        for name in wine wine-stable wineserver wineserver-stable; do
            target=/usr/lib/wine/wine64
            case "$name" in wineserver*) target=/usr/lib/wine/wineserver64 ;; esac
            printf '#!/bin/sh\nexec %s "$@"\n' "$target" >"$QUELT_WINE64_COMMANDS/$name.new"
            chmod +x "$QUELT_WINE64_COMMANDS/$name.new"
            mv -f "$QUELT_WINE64_COMMANDS/$name.new" "$QUELT_WINE64_COMMANDS/$name"
        done
    fi
    case ":$PATH:" in
    *":$QUELT_WINE64_COMMANDS:"*) ;;
    *) export PATH="$QUELT_WINE64_COMMANDS:$PATH" ;;
    esac
fi
# Wine takes its ANSI code page (932) from the locale.
export LANG=ja_JP.UTF-8
export LC_ALL=ja_JP.UTF-8
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono or Gecko installer dialog may wait for a click.
export WINEDLLOVERRIDES="mscoree,mshtml="
# Without a display of our own we use a private Xvfb server, one per build
# folder, so that two checkouts never drive each other's desktop. Scripts
# started from here inherit the choice through QUELT_NEED_XVFB.
# A display that is set but does not answer counts as none.
if [ -n "${DISPLAY:-}" ] && [ -z "${QUELT_NEED_XVFB:-}" ] && command -v xdpyinfo >/dev/null &&
    ! xdpyinfo >/dev/null 2>&1; then
    DISPLAY=""
fi
if [ -z "${DISPLAY:-}" ]; then
    export DISPLAY=":$((100 + $(printf '%s' "$QUELT_BUILD" | cksum | cut -d' ' -f1) % 400))"
    export QUELT_NEED_XVFB=1
fi

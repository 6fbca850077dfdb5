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
    wine() { /usr/lib/wine/wine64 "$@"; }
    wineserver() { /usr/lib/wine/wineserver64 "$@"; }
    wineboot() { /usr/lib/wine/wine64 wineboot "$@"; }
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

#!/bin/bash
# make screenshots: shows the real programs once in the test desktop (the
# input box with its candidates, the tray menu, the command list, the
# single-command editor with its preview, the settings, the installer,
# Purgel's balloon and Datora) and keeps a picture of each, cropped to its
# windows, in docs/screenshots/. The driver is tests/screenshots/.
set -e
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/wine-env.sh"
tour="$QUELT_BUILD/bin/screenshot_tour.exe"
[ -f "$tour" ] || { echo "make-screenshots: $tour is not built" >&2; exit 1; }
bash "$here/ensure-prefix.sh"
bash "$here/ensure-display.sh"
out="$QUELT_ROOT/docs/screenshots"
fresh="$QUELT_BUILD/screenshots"
rm -rf "$fresh"
mkdir -p "$fresh" "$out"
wineserver -p </dev/null >/dev/null 2>&1 || true
wine cmd /c exit </dev/null >/dev/null 2>&1 || true
status=0
QUELT_SHOTS="$fresh" bash "$here/wine-run.sh" "$tour" || status=$?
wineserver -k >/dev/null 2>&1 || true
# Only pictures taken now replace the kept ones; a failed step keeps its
# old picture and fails the run.
for shot in "$fresh"/*.png; do
    [ -f "$shot" ] || continue
    cp "$shot" "$out/"
    printf 'make-screenshots: %s (%s bytes)\n' "docs/screenshots/${shot##*/}" "$(stat -c %s "$shot")"
done
exit $status

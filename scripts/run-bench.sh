#!/bin/bash
# Prints the launcher's benchmark figures, measured under Wine.
set -e
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/wine-env.sh"
bash "$here/ensure-prefix.sh"
bash "$here/ensure-display.sh"
wineserver -p 2>/dev/null || true
out="$(mktemp)"
wine "$QUELT_BUILD/bin/launcher_bench.exe" >"$out" 2>&1 </dev/null || status=$?
tr -d '\r' <"$out"
rm -f "$out"
wineserver -k 2>/dev/null || true
exit ${status:-0}

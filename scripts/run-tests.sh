#!/bin/bash
# Runs every test through ctest with the Wine prefix and a display ready.
# Arguments go to ctest.
set -e
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/wine-env.sh"
bash "$here/ensure-prefix.sh"
bash "$here/ensure-display.sh"
# One wineserver for the whole run: tests then share it and its desktop, and
# no test has to wait for a server to start.
wineserver -p </dev/null >/dev/null 2>&1 || true
# Start Wine's services and the desktop now, outside any test's output pipe.
wine cmd /c exit </dev/null >/dev/null 2>&1 || true
status=0
ctest --test-dir "$QUELT_BUILD" "$@" || status=$?
wineserver -k >/dev/null 2>&1 || true
exit $status

#!/bin/bash
# Starts the launcher in the Wine virtual desktop, with its default files.
set -e
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/wine-env.sh"
bash "$here/ensure-prefix.sh"
bash "$here/ensure-display.sh"
program="$QUELT_BUILD/bin/quelt_.exe"
if [ ! -f "$program" ]; then
    echo "run-launcher: the launcher is not built yet; starting the folder picker test instead"
    program="$QUELT_BUILD/bin/support_picker_tests.exe"
fi
exec wine "$program"

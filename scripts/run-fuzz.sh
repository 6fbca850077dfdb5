#!/bin/bash
# The command-file save against its model, at length: QUELT_SAVE_SERIES
# series (20,000 unless QUELT_SAVE_SECONDS sets a time instead) from
# QUELT_SAVE_SEED (a new one each run unless given). A failure prints its
# seed and the smallest file and steps that still fail.
set -e -o pipefail
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/wine-env.sh"
bash "$here/ensure-prefix.sh"
bash "$here/ensure-display.sh"
export QUELT_SAVE_SEED="${QUELT_SAVE_SEED:-$(( $(date +%s) % 1000000 * 1000 ))}"
if [ -n "${QUELT_SAVE_SECONDS:-}" ]; then
    export QUELT_SAVE_SERIES="${QUELT_SAVE_SERIES:-100000000}"
else
    export QUELT_SAVE_SERIES="${QUELT_SAVE_SERIES:-20000}"
fi
echo "make fuzz: series from seed $QUELT_SAVE_SEED, at most $QUELT_SAVE_SERIES${QUELT_SAVE_SECONDS:+ or $QUELT_SAVE_SECONDS s}"
wineserver -p </dev/null >/dev/null 2>&1 || true
# Wine's services start now, outside the output pipe, which they would
# otherwise hold open after the test has ended.
wine cmd /c exit </dev/null >/dev/null 2>&1 || true
status=0
wine "$QUELT_BUILD/bin/editor_text_edit_tests.exe" --gtest_filter='CommandSaveModelTest.Random*' </dev/null 2>&1 |
    tr -d '\r' | iconv -f CP932 -t UTF-8 -c || status=$?
wineserver -k 2>/dev/null || true
exit $status

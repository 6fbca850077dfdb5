#!/bin/bash
# Runs one Windows program under Wine with the project's environment; ctest
# uses it as its emulator. Passes the program's exit status on.
#
# Wine's helper processes (services, the desktop) can outlive the program and
# would keep ctest's output pipe open until the test times out, so the output
# goes through a file that only this script passes on.
source "$(dirname "$0")/wine-env.sh"
log="$(mktemp "${TMPDIR:-/tmp}/quelt-wine.XXXXXX")"
wine "$@" >"$log" 2>&1 </dev/null
status=$?
cat "$log"
rm -f "$log"
exit $status

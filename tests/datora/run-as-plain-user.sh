#!/bin/bash
# Runs a Windows program the way an ordinary user meets the file system:
# without root's power to write to read-only files (Wine keeps the read-only
# attribute as the Unix write permission, which root would ignore). The Wine
# server opens the files, so it runs in a prefix of its own, started with the
# same reduced powers.
# Arguments: the build folder, then the program and its arguments.
set -u
here="$(cd "$(dirname "$0")" && pwd)"
build="$1"
shift
export QUELT_BUILD="$build/plain-user"
mkdir -p "$QUELT_BUILD"
source "$here/../../scripts/wine-env.sh"
bash "$here/../../scripts/ensure-prefix.sh" >&2 || exit 1
bash "$here/../../scripts/ensure-display.sh" || exit 1

limited=(setpriv --bounding-set=-dac_override,-dac_read_search --)
# The reduced powers must hold, or the tests would prove nothing.
probe="$(mktemp -d)"
echo x >"$probe/file"
chmod 444 "$probe/file"
if "${limited[@]}" sh -c "echo y >>'$probe/file'" 2>/dev/null; then
    rm -rf "$probe"
    echo "FAIL: root can still write to a read-only file"
    exit 1
fi
rm -rf "$probe"

# A server left from an earlier run would still have every power.
wineserver -k >/dev/null 2>&1
wineserver -w
"${limited[@]}" wineserver -p </dev/null >/dev/null 2>&1
log="$(mktemp "${TMPDIR:-/tmp}/quelt-plain.XXXXXX")"
"${limited[@]}" wine "$@" >"$log" 2>&1 </dev/null
status=$?
cat "$log"
rm -f "$log"
wineserver -k >/dev/null 2>&1
exit $status

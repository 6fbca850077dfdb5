#!/bin/bash
# Lets the real Pinlet write its SendTo shortcut under Wine (through the
# switch test, which keeps a copy), then reads the copy with lnkinfo.
set -u
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/../../scripts/wine-env.sh"
program="$1"
out="$2"
rm -rf "$out"
mkdir -p "$out"
windows_out="Z:$(echo "$out" | tr '/' '\\')"
QUELT_PINLET_LNK_OUT="$windows_out" wine "$program" \
    --gtest_filter='PinletTest.SwitchesWriteOverwriteAndDeleteTheShortcutWithoutAsking' \
    >"$out/run.log" 2>&1
status=$?
if [ $status != 0 ]; then
    cat "$out/run.log"
    echo "FAIL: the shortcut switch test failed ($status)"
    exit 1
fi
link="$out/pinlet.lnk"
if [ ! -f "$link" ] || [ ! -f "$out/folder.txt" ]; then
    echo "FAIL: the test kept no shortcut"
    ls -la "$out"
    exit 1
fi
if ! lnkinfo "$link" >"$out/lnkinfo.txt" 2>&1; then
    cat "$out/lnkinfo.txt"
    echo "FAIL: lnkinfo cannot parse the shortcut"
    exit 1
fi
folder=$(cat "$out/folder.txt")
field() {
    sed -n "s/^\s*$1\s*:\s*//p" "$out/lnkinfo.txt" | head -1
}
failed=0
expect() {  # field label, expected value (compared without regard to case)
    local value
    value=$(field "$1")
    if [ "${value,,}" != "${2,,}" ]; then
        echo "FAIL: $1 is '$value', expected '$2'"
        failed=1
    fi
}
expect "Local path" "${folder}Pinlet.exe"
working=$(field "Working directory")
if [ "${working,,}" != "${folder,,}" ] && [ "${working,,}\\" != "${folder,,}" ]; then
    echo "FAIL: Working directory is '$working', expected '$folder'"
    failed=1
fi
expect "Command line arguments" ""
if [ $failed = 0 ]; then
    echo "the SendTo shortcut reads back as written"
else
    cat "$out/lnkinfo.txt"
fi
exit $failed

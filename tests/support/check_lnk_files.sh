#!/bin/bash
# Writes shortcut files with the real writer under Wine, then reads them back
# with lnkinfo, a parser that shares no code with the Windows shell.
set -u
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/../../scripts/wine-env.sh"
program="$1"
out="$2"
rm -rf "$out"
mkdir -p "$out"
windows_out="Z:$(echo "$out" | tr '/' '\\')"
tests='ShortcutTest.WritesTarget*:ShortcutTest.WritingOver*:ShortcutTest.ReadTarget*'
QUELT_LNK_OUT="$windows_out" wine "$program" --gtest_filter="$tests" >"$out/run.log" 2>&1
status=$?
if [ $status != 0 ]; then
    cat "$out/run.log"
    echo "FAIL: the shortcut writer test failed ($status)"
    exit 1
fi

failed=0
expect() {  # file, field label, expected value
    local value
    value=$(lnkinfo "$1" 2>/dev/null | sed -n "s/^\s*$2\s*:\s*//p" | head -1)
    if [ "$value" != "$3" ]; then
        echo "FAIL: $(basename "$1"): $2 is '$value', expected '$3'"
        failed=1
    fi
}
absent() {  # file, field label
    if lnkinfo "$1" 2>/dev/null | grep -q "^\s*$2\s*:"; then
        echo "FAIL: $(basename "$1"): unexpected $2"
        failed=1
    fi
}

help="$out/Queltのヘルプ.lnk"
uninstall="$out/アンインストール.lnk"
for f in "$help" "$uninstall" "$out/replace.lnk"; do
    if [ ! -f "$f" ]; then
        echo "FAIL: missing $(basename "$f")"
        ls -la "$out"
        exit 1
    fi
    if ! lnkinfo "$f" >/dev/null 2>&1; then
        echo "FAIL: lnkinfo cannot parse $(basename "$f")"
        failed=1
    fi
done

expect "$uninstall" "Command line arguments" "-U"
expect "$uninstall" "Working directory" 'C:\windows\system32\'
expect "$uninstall" "Local path" 'C:\windows\notepad.exe'
expect "$uninstall" "Description" ""
expect "$help" "Command line arguments" ""
expect "$help" "Description" ""
expect "$help" "Local path" 'C:\windows\notepad.exe'
expect "$out/replace.lnk" "Command line arguments" "second"
# The reading test's LinkInfo blocks, as another parser reads them.
expect "$out/stored-split.lnk" "Local path" "$windows_out\\stored-a.txt"
expect "$out/stored-wide.lnk" "Local path" "$windows_out\\stored-a.txt"
expect "$out/stored-gone.lnk" "Local path" "$windows_out\\gone.txt"
if lnkinfo "$out/stored-garbled.lnk" >/dev/null 2>&1; then
    echo "FAIL: lnkinfo reads stored-garbled.lnk, whose local path lies out of its block"
    failed=1
fi

if [ $failed = 0 ]; then
    echo "lnkinfo agrees with every shortcut written"
fi
exit $failed

#!/bin/bash
# Installs a scratch package with the real setup.exe, then reads what it
# recorded with tools that share no code with it: Wine's reg for the
# registry and lnkinfo for the shortcuts. Uninstalls again at the end.
set -u
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/../../scripts/wine-env.sh"
program="$1"
out="$2"
rm -rf "$out"
mkdir -p "$out"
windows_out="Z:$(echo "$out" | tr '/' '\\')"

finish() {
    QUELT_SETUP_RECORD="$windows_out" wine "$program" \
        --gtest_filter='SetupRecordStep.UninstallsAndCleansUp' >"$out/uninstall.log" 2>&1
    local status=$?
    if [ $status != 0 ]; then
        cat "$out/uninstall.log"
        echo "FAIL: uninstalling the recorded installation failed ($status)"
        exit 1
    fi
    exit "$1"
}

QUELT_SETUP_RECORD="$windows_out" wine "$program" \
    --gtest_filter='SetupRecordStep.InstallsAndLeavesIt' >"$out/install.log" 2>&1
status=$?
if [ $status != 0 ] || [ ! -f "$out/record.txt" ]; then
    cat "$out/install.log"
    echo "FAIL: the installation step failed ($status)"
    finish 1
fi
folder=$(sed -n 1p "$out/record.txt" | tr -d '\r')
menu=$(sed -n 2p "$out/record.txt" | tr -d '\r')

failed=0
reg_value() {  # key, value name
    wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' |
        sed -n "s/^\s*$2\s\+\(REG_[A-Z_]*\)\s\+\(.*\)$/\1 \2/p" | head -1
}
expect_reg() {  # key, value name, expected "TYPE data"
    local value
    value=$(reg_value "$1" "$2")
    if [ "$value" != "$3" ]; then
        echo "FAIL: $1 $2 is '$value', expected '$3'"
        failed=1
    fi
}
settings='HKLM\SoftWare\QUELT_'
uninstall='HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\QUELT_'
expect_reg "$settings" Version "REG_SZ 0.981"
expect_reg "$settings" InstFolder "REG_SZ $folder"
expect_reg "$settings" AllUsers "REG_DWORD 0x1"
expect_reg "$settings" MultiUser "REG_DWORD 0x0"
expect_reg "$settings" ProgramMenuFolder "REG_SZ $menu"
expect_reg "$uninstall" DisplayName "REG_SZ Quelt"
expect_reg "$uninstall" UninstallString "REG_SZ \"${folder}setup.exe\" -U"

expect_link() {  # file, field label, expected value
    local value
    value=$(lnkinfo "$1" 2>/dev/null | sed -n "s/^\s*$2\s*:\s*//p" | head -1)
    if [ "$value" != "$3" ]; then
        echo "FAIL: $(basename "$1"): $2 is '$value', expected '$3'"
        failed=1
    fi
}
unix_menu=$(wine winepath -u "$menu" 2>/dev/null | tr -d '\r')
uninstall_link="$unix_menu/アンインストール.lnk"
launcher_link="$unix_menu/Quelt.lnk"
for f in "$uninstall_link" "$launcher_link"; do
    if [ ! -f "$f" ]; then
        echo "FAIL: missing $f"
        ls -la "$unix_menu"
        finish 1
    fi
done
expect_link "$uninstall_link" "Command line arguments" "-U"
expect_link "$uninstall_link" "Working directory" "$folder"
expect_link "$uninstall_link" "Local path" "${folder}setup.exe"
expect_link "$uninstall_link" "Description" ""
expect_link "$launcher_link" "Command line arguments" ""
expect_link "$launcher_link" "Local path" "${folder}quelt_.exe"

if [ $failed = 0 ]; then
    echo "wine reg and lnkinfo agree with what setup recorded"
fi
finish $failed

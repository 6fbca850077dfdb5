#!/bin/bash
# Every built program and library must be a 32-bit (i386) PE file that loads
# on a bare Windows: it may import only DLLs that ship with the system.
# A second argument "x86-64" checks the 64-bit build of the local stand-in.
set -u
export LC_ALL=C  # objdump speaks the locale's language otherwise
bin="$1"
width="${2:-i386}"
allowed="kernel32.dll user32.dll gdi32.dll advapi32.dll shell32.dll ole32.dll oleaut32.dll
comctl32.dll comdlg32.dll imm32.dll winmm.dll msvcrt.dll shlwapi.dll psapi.dll"
objdump=i686-w64-mingw32-objdump
format=pei-i386
if [ "$width" = x86-64 ]; then
    objdump=x86_64-w64-mingw32-objdump
    format=pei-x86-64
fi
failed=0
count=0
for f in "$bin"/*.exe "$bin"/*.dll; do
    [ -e "$f" ] || continue
    count=$((count + 1))
    if ! $objdump -f "$f" | grep -q "file format $format\$"; then
        echo "FAIL: $(basename "$f") is not a PE file for $width"
        failed=1
    fi
    for dll in $($objdump -p "$f" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z'); do
        if ! grep -qw -- "$dll" <<<"$allowed"; then
            echo "FAIL: $(basename "$f") imports $dll"
            failed=1
        fi
    done
done
if [ "$count" = 0 ]; then
    echo "FAIL: no binaries found in $bin"
    exit 1
fi
echo "checked $count binaries"
exit $failed

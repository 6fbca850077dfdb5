#!/bin/bash
# Every built program and library must be a 32-bit (i386) PE file that loads
# on a bare Windows: it may import only DLLs that ship with the system.
# Each delivered program carries its application manifest (resource type 24,
# id 1) with the execution level it asks for.
# A second argument "x86-64" checks the 64-bit build of the local stand-in.
set -u
export LC_ALL=C  # objdump speaks the locale's language otherwise
bin="$1"
width="${2:-i386}"
allowed="kernel32.dll user32.dll gdi32.dll advapi32.dll shell32.dll ole32.dll oleaut32.dll
comctl32.dll comdlg32.dll imm32.dll winmm.dll msvcrt.dll shlwapi.dll psapi.dll"
objdump=i686-w64-mingw32-objdump
windres=i686-w64-mingw32-windres
format=pei-i386
if [ "$width" = x86-64 ]; then
    objdump=x86_64-w64-mingw32-objdump
    windres=x86_64-w64-mingw32-windres
    format=pei-x86-64
fi
# The delivered programs and the execution level each one asks for.
manifest_levels="quelt_.exe:asInvoker
Purgel.exe:asInvoker
Datora.exe:asInvoker
Pinlet.exe:asInvoker
setup.exe:requireAdministrator"
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
# The manifest resource as the resource compiler reads it back from the
# program: the block of "1 24" (id 1, RT_MANIFEST), quotes doubled.
manifest_of() {
    $windres -i "$1" -O rc 2>/dev/null | awk '/^1 24 /{inside=1} inside{print} inside && /^END/{exit}'
}
programs=0
for entry in $manifest_levels; do
    name="${entry%%:*}"
    level="${entry#*:}"
    f="$bin/$name"
    [ -e "$f" ] || continue
    programs=$((programs + 1))
    manifest="$(manifest_of "$f")"
    if [ -z "$manifest" ]; then
        echo "FAIL: $name has no manifest resource (type 24, id 1)"
        failed=1
    elif ! grep -q "requestedExecutionLevel level=\"\"$level\"\"" <<<"$manifest"; then
        echo "FAIL: $name does not ask for the execution level $level"
        failed=1
    elif ! grep -q 'Microsoft.Windows.Common-Controls' <<<"$manifest"; then
        echo "FAIL: $name does not ask for the themed common controls"
        failed=1
    fi
done
if [ "$programs" = 0 ]; then
    echo "FAIL: none of the delivered programs is in $bin"
    failed=1
fi
if [ "$count" = 0 ]; then
    echo "FAIL: no binaries found in $bin"
    exit 1
fi
echo "checked $count binaries, the manifests of $programs programs"
exit $failed

#!/bin/bash
# Every built program and library must be a 32-bit (i386) PE file that loads
# on a bare Windows: it may import only DLLs that ship with the system.
# Each delivered program carries its application manifest (resource type 24,
# id 1) with the execution level it asks for.
# The delivered programs also load on Windows XP: no debug sections, no
# import that XP lacks, a subsystem version XP accepts; and the 32-bit ones
# stay within their size targets.
# A second argument "x86-64" checks the 64-bit build of the local stand-in.
set -u
export LC_ALL=C  # objdump speaks the locale's language otherwise
here="$(cd "$(dirname "$0")" && pwd)"
bin="$1"
width="${2:-i386}"
allowed="kernel32.dll user32.dll gdi32.dll advapi32.dll shell32.dll ole32.dll oleaut32.dll
comctl32.dll comdlg32.dll imm32.dll winmm.dll msvcrt.dll shlwapi.dll psapi.dll"
objdump=i686-w64-mingw32-objdump
windres=i686-w64-mingw32-windres
format=pei-i386
# The subsystem version of XP (5.1); 64-bit Windows starts at 5.2.
highest_subsystem=501
if [ "$width" = x86-64 ]; then
    objdump=x86_64-w64-mingw32-objdump
    windres=x86_64-w64-mingw32-windres
    format=pei-x86-64
    highest_subsystem=502
fi
delivered="quelt_.exe quelt_.dll Pinlet.exe setup.exe Purgel.exe Datora.exe"
xp_lacks="$(grep -v '^#' "$here/imports_windows_xp_lacks.txt" | grep .)"
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
# Every imported function as "dll function", the DLL name in lower case.
imports_of() {
    $objdump -p "$1" | awk '
        /^\tDLL Name: / { dll = tolower($3) }
        /^\t[0-9a-f]+\t/ && dll != "" { print dll, $NF }
        /^$/ { dll = "" }'
}
# MajorSubsystemVersion * 100 + MinorSubsystemVersion.
subsystem_of() {
    $objdump -p "$1" | awk '
        /^MajorSubsystemVersion/ { major = $2 }
        /^MinorSubsystemVersion/ { minor = $2 }
        END { print major * 100 + minor }'
}
delivered_count=0
for name in $delivered; do
    f="$bin/$name"
    [ -e "$f" ] || continue
    delivered_count=$((delivered_count + 1))
    debug_sections="$($objdump -h "$f" | awk '$2 ~ /^\.debug_/ { printf " %s", $2 }')"
    if [ -n "$debug_sections" ]; then
        echo "FAIL: $name carries debug sections:$debug_sections"
        failed=1
    fi
    for missing in $(imports_of "$f" | grep -Fx -f <(echo "$xp_lacks") | tr ' ' ':'); do
        echo "FAIL: $name imports ${missing#*:} from ${missing%%:*}, which Windows XP lacks"
        failed=1
    done
    subsystem=$(subsystem_of "$f")
    if [ "$subsystem" -gt "$highest_subsystem" ]; then
        echo "FAIL: $name asks for subsystem version $((subsystem / 100)).$((subsystem % 100)), above $((highest_subsystem / 100)).$((highest_subsystem % 100))"
        failed=1
    fi
done
# The size targets concern the delivered 32-bit programs.
if [ "$width" = i386 ] && ! sizes="$(bash "$here/../../scripts/check-size-targets.sh" "$bin")"; then
    grep "OVER" <<<"$sizes" | sed 's/^/FAIL: /'
    failed=1
fi
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
echo "checked $count binaries, the manifests of $programs programs, the XP imports, debug sections and subsystem of $delivered_count delivered ones"
exit $failed

#!/bin/bash
# The delivered launcher in a 64-bit prefix of its own, beside the test
# prefix: a command whose PATH names a program that only the 64-bit system
# folder holds (C:\windows\system32 of the prefix, nothing in syswow64) is
# typed and run, and the program must start. A 32-bit launcher sees
# syswow64 there, as on 64-bit Windows; where this machine runs only the
# 64-bit stand-in, the launcher is 64-bit and the case checks the way there.
#
# Arguments: the launcher, the session helper, the probe's source, the
# output folder, the prefix.
set -u
here="$(cd "$(dirname "$0")" && pwd)"
launcher="$(realpath "$1")"
driver="$(realpath "$2")"
probe_source="$(realpath "$3")"
out="$(realpath -m "$4")"
export QUELT_WINEPREFIX="$(realpath -m "$5")"
# A 64-bit prefix whatever the build: 32-bit programs run there as under WOW64.
export QUELT_WINE64=1
source "$here/../../scripts/wine-env.sh"
source "$here/../desktop/desktop-helpers.sh"
[ "$WINEPREFIX" = "$QUELT_WINEPREFIX" ] || fail "the prefix must lie in the build folder"

cleanup() {
    wineserver -k >/dev/null 2>&1 </dev/null
    wineserver -w >/dev/null 2>&1 </dev/null
}
trap cleanup EXIT
trap "exit 1" TERM INT HUP

bash "$here/../../scripts/ensure-display.sh" || fail "no display"
bash "$here/../../scripts/ensure-prefix.sh" || fail "could not create $WINEPREFIX"
require_plain_shell_folders
rm -rf "$out"
mkdir -p "$out"

links="Quelt 64"
find "$WINEPREFIX/drive_c/users" -type d -path "*/Start Menu/Programs/$links" -prune -exec rm -rf {} +

# The program: 64-bit, in the 64-bit system folder only.
system64="$WINEPREFIX/drive_c/windows/system32"
[ -d "$WINEPREFIX/drive_c/windows/syswow64" ] || fail "$WINEPREFIX is not a 64-bit prefix"
rm -f "$WINEPREFIX/drive_c/windows/syswow64/qprobe64.exe"
x86_64-w64-mingw32-g++-posix -O1 -static -mwindows -o "$system64/qprobe64.exe" "$probe_source" ||
    fail "could not build the 64-bit program"

cp "$launcher" "$out/quelt_.exe"
printf '[probe64]\r\nPATH=C:\\Windows\\System32\\qprobe64.exe\r\n' >"$out/quelt_cmd.txt"
printf '[QUELT]\r\nImeCtrl=2\r\n' >"$out/quelt_.ini"
export QUELT_PROBE_OUT="$(windows_path "$out/probe.txt")"
wine "$out/quelt_.exe" </dev/null >"$out/launcher.out" 2>&1 &
wine "$driver" prepare 100 100 </dev/null >>"$out/driver.log" 2>&1 ||
    fail "the launcher did not come up"
desktop=$(session_desktop 30) || fail "no desktop window"
xdotool windowraise "$desktop" windowfocus --sync "$desktop" 2>/dev/null || fail "no keyboard"
xdotool key alt+1
wine "$driver" wait-input "" </dev/null >>"$out/driver.log" 2>&1 || fail "Alt+1 did not bring up the input box"
xdotool type --delay 30 probe64
wine "$driver" wait-input probe64 </dev/null >>"$out/driver.log" 2>&1 ||
    fail "the typed name did not reach the input box"
xdotool key Return
if ! wait_for_file "$out/probe.txt" 30; then
    import -window root "$out/screen.png" 2>/dev/null
    fail "the program of the 64-bit system folder did not start (see $out/screen.png)"
fi
echo "started: $(head -1 "$out/probe.txt")"

# A Start-menu shortcut to the same program, typed by its name: opened
# through the target it names, which the 32-bit shell would not find.
rm -f "$out/probe.txt"
wine "$driver" shortcut "$links\\Probe Sixty Four.lnk" 'C:\Windows\System32\qprobe64.exe' from-link \
    </dev/null >>"$out/driver.log" 2>&1 || fail "could not write the Start-menu shortcut"
xdotool key alt+1
wine "$driver" wait-input "" </dev/null >>"$out/driver.log" 2>&1 || fail "Alt+1 did not bring up the input box"
xdotool type --delay 30 'Probe Sixty Four'
wine "$driver" wait-input 'Probe Sixty Four' </dev/null >>"$out/driver.log" 2>&1 ||
    fail "the typed name did not reach the input box"
xdotool key Return
if ! wait_for_file "$out/probe.txt" 30 || ! grep -qxF "args=from-link" "$out/probe.txt"; then
    import -window root "$out/screen.png" 2>/dev/null
    fail "the Start menu's shortcut to the 64-bit program did not start it (see $out/screen.png)"
fi
echo "started through the shortcut: $(head -1 "$out/probe.txt")"

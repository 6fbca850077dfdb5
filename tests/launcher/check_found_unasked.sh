#!/bin/bash
# What the input box opens with no command written for it, typed with the X
# keyboard (xdotool) at the real launcher in the test desktop: a shortcut of
# the user's Start menu found by Tab, a path with a blank completed by Tab,
# and a mailto: address. Each time the probe program records what it got.
#
# Arguments: the launcher, the session helper, the probe, the output folder.
set -u
here="$(cd "$(dirname "$0")" && pwd)"
launcher="$(realpath "$1")"
driver="$(realpath "$2")"
probe="$(realpath "$3")"
out="$(realpath -m "$4")"
source "$here/../../scripts/wine-env.sh"
source "$here/../desktop/desktop-helpers.sh"
case "$WINEPREFIX" in
*/build/wineprefix | */build64/wineprefix) ;;
*) fail "refusing to run outside the test prefix: $WINEPREFIX" ;;
esac
drive_c="$WINEPREFIX/drive_c"
links="Quelt Probe Tests"
# Wine 8 takes URL handlers from the machine's classes only, not from
# HKCU\Software\Classes as Windows does first.
handler='HKLM\Software\Classes\mailto\shell\open\command'
saved="$out/mailto-handler.reg"
record="$out/probe.txt"
started="" handler_set=""

step() { wine "$driver" "$@" </dev/null >>"$out/driver.log" 2>&1; }
cleanup() {
    [ -n "$started" ] && { step quit || kill "$started"; wait "$started"; } 2>/dev/null
    if [ -s "$saved" ]; then
        wine reg import "$(windows_path "$saved")" </dev/null >/dev/null 2>&1
    elif [ -n "$handler_set" ]; then
        wine reg delete "$handler" /f </dev/null >/dev/null 2>&1
    fi
    rm -rf "$drive_c/qe2e"
    find "$drive_c/users" -type d -path "*/Start Menu/Programs/$links" -prune -exec rm -rf {} +
}
trap cleanup EXIT
trap "exit 1" TERM INT HUP

bash "$here/../../scripts/ensure-display.sh" || fail "no display"
bash "$here/../../scripts/ensure-prefix.sh" || fail "could not create $WINEPREFIX"
require_plain_shell_folders
rm -rf "$out" "$drive_c/qe2e"
mkdir -p "$out" "$drive_c/qe2e/Probe Folder"
cp "$probe" "$drive_c/qe2e/Probe Folder/launch probe.exe"
cp "$launcher" "$out/quelt_.exe"
# No command holds the letters of "probe" in order.
printf '[alpha]\r\nPATH=notepad.exe\r\n' >"$out/quelt_cmd.txt"
printf '[QUELT]\r\nImeCtrl=2\r\nToolTip=1\r\nMatch=1\r\nCatalog=1\r\nOpen=1\r\n' >"$out/quelt_.ini"
export QUELT_PROBE_OUT="$(windows_path "$record")"
step shortcut "$links\\Quelt Probe Tool.lnk" "$(windows_path "$probe")" from-shortcut ||
    fail "could not write the Start-menu shortcut"
wine reg export "$handler" "$(windows_path "$saved")" /y </dev/null >/dev/null 2>&1 || rm -f "$saved"
handler_set=1
wine reg add "$handler" /ve /d "\"$(windows_path "$probe")\" \"%1\"" /f </dev/null >/dev/null 2>&1 ||
    fail "could not register the probe for mailto"

wine "$out/quelt_.exe" </dev/null >"$out/launcher.out" 2>&1 &
started=$!
step prepare 100 100 || fail "the launcher did not come up"
desktop=$(session_desktop 30) || fail "no desktop window"
xdotool windowraise "$desktop" windowfocus --sync "$desktop" 2>/dev/null || fail "no keyboard"

show() { xdotool key alt+1 && step wait-input "" || fail "Alt+1 did not bring up an empty box"; }
# keys HOW TEXT SHOWN: xdotool key or type TEXT, then the box must show SHOWN.
keys() { xdotool "$1" --delay 30 "$2" && step wait-input "$3" || fail "after $2 the box did not show '$3'"; }
# run ARGS: Enter, then the probe must have started with ARGS after its name.
run() {
    rm -f "$record"
    xdotool key Return
    wait_for_file "$record" 30 ||
        { import -window root "$out/screen.png"; fail "Enter started nothing (see $out/screen.png)"; } 2>/dev/null
    grep -qxF "args=$1" "$record" || fail "the probe got $(grep '^args=' "$record"), not $1"
    echo "started: $(head -1 "$record")"
}

show
keys type probe probe
keys key Tab "Quelt Probe Tool "
run from-shortcut

show
keys type 'C:\qe2e\Pr' 'C:\qe2e\Pr'
keys key Tab '"C:\qe2e\Probe Folder\"'
xdotool type l
keys key Tab '"C:\qe2e\Probe Folder\launch probe.exe" '
keys type hello '"C:\qe2e\Probe Folder\launch probe.exe" hello'
run hello

show
keys type mailto:someone@example.com mailto:someone@example.com
run '"mailto:someone@example.com"'

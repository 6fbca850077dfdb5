#!/bin/bash
# End to end through the test desktop: a Wine program registers Alt+1, the
# real X keyboard (xdotool) presses it and types a line, and the program
# records what reached its edit box.
set -u
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/../../scripts/wine-env.sh"
source "$here/desktop-helpers.sh"
bash "$here/../../scripts/ensure-display.sh" || exit 1
probe="$1"
out="$2"
rm -rf "$out"
mkdir -p "$out"

wine "$probe" "$(windows_path "$out")" </dev/null >"$out/probe.log" 2>&1 &
probe_pid=$!
trap 'kill $probe_pid 2>/dev/null' EXIT

wait_for_file "$out/ready" 60 || fail "the probe did not start"
[ "$(cat "$out/ready")" = ok ] || fail "the probe could not register Alt+1"
desktop=$(wait_for_desktop 30) || fail "no Wine desktop window on $DISPLAY"

xdotool windowactivate --sync "$desktop" 2>/dev/null || true
xdotool key alt+1
wait_for_file "$out/shown" 20 || fail "Alt+1 did not reach the probe"

xdotool type --delay 30 "hello world 123"
# For a person to look at: the box in front with the typed line.
import -window root "$out/desktop.png" 2>/dev/null || true
xdotool key Return
wait_for_file "$out/typed.txt" 20 || fail "Enter did not reach the edit box"

typed="$(cat "$out/typed.txt")"
[ "$typed" = "hello world 123" ] || fail "the edit box held '$typed'"
wait $probe_pid
echo "the hotkey and typed keys reached the Wine program"

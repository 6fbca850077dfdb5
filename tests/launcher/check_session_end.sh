#!/bin/bash
# Log-off, shut-down and restart typed into the real launcher, in a Wine
# session of its own: a prefix beside the test prefix (the fourth argument)
# with its own wineserver and its own virtual desktop, so that ending that
# session leaves the test prefix and every other test alone.
#
# For each case the launcher starts from a scratch install folder, a helper
# moves its window with SetWindowPos, the X keyboard (xdotool) presses Alt+1,
# types the command's name and Enter, and the check looks from outside: the
# launcher ends, the profile holds the position the window had at the end
# (or is untouched when SavePosition is 0), a witness program of the same
# session saw the end-of-session messages (or was killed without them), a
# restart ran the session's Run key, and the Wine session itself ends. One
# more case ends the session from another program while the launcher waits
# hidden: then the launcher's WM_QUERYENDSESSION stores the position.
#
# What Wine 8 does: ExitWindowsEx starts "wineboot" with options made from the
# flags and returns TRUE at once, without checking any privilege.
#   EWX_FORCE set        --kill: every process but the desktop is terminated
#                        at once, with no WM_QUERYENDSESSION or WM_ENDSESSION.
#   EWX_FORCE not set    --end-session: every top-level window of every process
#                        but the desktop's gets WM_QUERYENDSESSION (lParam 0,
#                        for a log-off too) and WM_ENDSESSION, process by
#                        process; a process still running after its
#                        WM_ENDSESSION is terminated.
#   EWX_REBOOT not set   --shutdown: nothing is started again; with --kill the
#                        desktop is killed last.
#   EWX_REBOOT set       afterwards wineboot boots the session again: services,
#                        the Run keys, the start-up folder.
# So EWX_LOGOFF (@2000) and EWX_SHUTDOWN | EWX_POWEROFF (@1800) do the same;
# @400 and @500 kill without a message; @1900 and @500 run the Run key. With
# no user process left the wineserver and with it the session end, after a
# restart too once what the Run key started has ended.
# The launcher sends itself WM_DESTROY as soon as ExitWindowsEx returned; it
# has stored its position and quit long before wineboot reaches its windows
# (about 70 ms later here), so its own WM_QUERYENDSESSION is not seen.
#
# Arguments: the launcher, the helper program, the output folder, the prefix.
set -u
here="$(cd "$(dirname "$0")" && pwd)"
launcher="$(realpath "$1")"
driver="$(realpath "$2")"
out="$(realpath -m "$3")"
export QUELT_WINEPREFIX="$(realpath -m "$4")"
source "$here/../../scripts/wine-env.sh"
source "$here/../desktop/desktop-helpers.sh"
[ "$WINEPREFIX" = "$QUELT_WINEPREFIX" ] || fail "the session prefix must lie in the build folder"
case "$WINEPREFIX" in
*/wineprefix) fail "refusing to end the session of the test prefix" ;;
esac

background=()
cleanup() {
    # Whatever happened, the session's wineserver and everything it runs go.
    wineserver -k >/dev/null 2>&1 </dev/null
    for pid in "${background[@]}"; do kill "$pid" 2>/dev/null; done
    wineserver -w >/dev/null 2>&1 </dev/null
}
trap cleanup EXIT
trap "exit 1" TERM INT HUP

bash "$here/../../scripts/ensure-display.sh" || fail "no display"
bash "$here/../../scripts/ensure-prefix.sh" || fail "could not create $WINEPREFIX"
# Nothing left over from an earlier run.
wineserver -k >/dev/null 2>&1 </dev/null
wineserver -w >/dev/null 2>&1 </dev/null
rm -rf "$out"
mkdir -p "$out"

# A restart runs the Run key: it starts the helper, which leaves a mark.
reg_text() { windows_path "$1" | sed 's/\\/\\\\/g'; }
printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run]\r\n"QueltSessionCheck"="\\"%s\\" mark \\"%s\\""\r\n' \
    "$(reg_text "$driver")" "$(reg_text "$out")" >"$out/run-key.reg"
wine regedit /S "$(windows_path "$out/run-key.reg")" </dev/null >/dev/null 2>&1
wineserver -w >/dev/null 2>&1 </dev/null
grep -q '"QueltSessionCheck"=' "$WINEPREFIX/user.reg" || fail "could not set the Run key"

running() {
    [ -e "/proc/$1" ] && [ "$(awk '{print $3}' "/proc/$1/stat" 2>/dev/null)" != Z ]
}

# wait_for_exit PID SECONDS: true once the process has ended.
wait_for_exit() {
    local deadline=$((SECONDS + $2))
    while running "$1"; do
        [ $SECONDS -lt $deadline ] || return 1
        sleep 0.1
    done
    return 0
}

driver_step() {
    wine "$driver" "$@" </dev/null >>"$out/driver.log" 2>&1
}

# run_case NAME HOW VALUE SAVE
#   HOW typed: the command NAME with PATH=@VALUE is typed into the launcher;
#   HOW elsewhere: another program calls ExitWindowsEx with the flags VALUE
#   while the launcher waits hidden. SAVE is the profile's SavePosition.
run_case() {
    local name="$1" how="$2" value="$3" save="$4"
    local dir="$out/$name" flags
    if [ "$how" = typed ]; then
        echo "== $name: @$value typed, SavePosition=$save"
        case $value in
        400) flags=13 ;;
        500) flags=6 ;;
        1800) flags=9 ;;
        1900) flags=2 ;;
        2000) flags=0 ;;
        esac
    else
        echo "== $name: ExitWindowsEx($value) from another program, SavePosition=$save"
        flags=$value
    fi
    # What the witness must see and whether the session boots again.
    local expected="query 0;end 1 0;" restart=no
    [ $((flags & 4)) = 0 ] || expected=""
    [ $((flags & 2)) = 0 ] || restart=yes

    mkdir -p "$dir"
    cp "$launcher" "$dir/quelt_.exe"
    printf '[%s]\r\nPATH=@%s\r\n' "$name" "$value" >"$dir/quelt_cmd.txt"
    printf '[QUELT]\r\nSavePosition=%s\r\nPositionX=100\r\nPositionY=60\r\n' "$save" >"$dir/quelt_.ini"
    cp "$dir/quelt_.ini" "$dir/profile-before"

    wine "$driver" witness "$(windows_path "$dir")" </dev/null >"$dir/witness.out" 2>&1 &
    local witness=$!
    background+=("$witness")
    wait_for_file "$dir/witness-ready" 60 || fail "$name: the witness did not start"

    wine "$dir/quelt_.exe" </dev/null >"$dir/launcher.out" 2>&1 &
    local quelt=$!
    background+=("$quelt")
    driver_step prepare 321 234 || fail "$name: the launcher did not come up or could not be moved ($?)"
    cmp -s "$dir/quelt_.ini" "$dir/profile-before" ||
        fail "$name: the profile changed before the session ended"

    if [ "$how" = typed ]; then
        local desktop
        desktop=$(session_desktop 30) || fail "$name: no desktop window of $WINEPREFIX"
        xdotool windowraise "$desktop" windowfocus --sync "$desktop" 2>/dev/null ||
            fail "$name: could not give the session's desktop the keyboard"
        xdotool key alt+1
        driver_step wait-input "" || fail "$name: Alt+1 did not bring up the input box"
        xdotool type --delay 30 "$name"
        driver_step wait-input "$name" || fail "$name: the typed name did not reach the input box"
        xdotool key Return
    else
        driver_step exit-windows "$value" || fail "$name: ExitWindowsEx failed"
    fi

    wait_for_exit "$quelt" 30 || fail "$name: the launcher still runs"
    wait "$quelt"
    local status=$?
    [ $status = 0 ] || fail "$name: the launcher ended with $status"
    wait_for_exit "$witness" 30 || fail "$name: the session end left the witness running"
    timeout 60 wineserver -w </dev/null >/dev/null 2>&1 || fail "$name: the Wine session did not end"

    local logged=""
    [ -f "$dir/witness.log" ] && logged="$(tr '\n' ';' <"$dir/witness.log")"
    [ "$logged" = "$expected" ] || fail "$name: the witness logged '$logged', expected '$expected'"
    local x y
    x=$(tr -d '\r' <"$dir/quelt_.ini" | sed -n 's/^PositionX=//p')
    y=$(tr -d '\r' <"$dir/quelt_.ini" | sed -n 's/^PositionY=//p')
    if [ "$save" = 1 ]; then
        [ "$x,$y" = "321,234" ] || fail "$name: the profile holds the position $x,$y"
    else
        cmp -s "$dir/quelt_.ini" "$dir/profile-before" ||
            fail "$name: the profile was written although SavePosition is 0"
    fi
    local rebooted=no
    [ -f "$out/rebooted" ] && rebooted=yes
    rm -f "$out/rebooted"
    [ $rebooted = "$restart" ] || fail "$name: restarted: $rebooted, expected $restart"
    echo "   ended; witness: '$logged'; profile position $x,$y; restarted: $rebooted"
}

# name how value SavePosition, one case a line.
cases="${SESSION_CASES:-logoff typed 2000 1
shutdown typed 1800 1
poweroff typed 400 1
restart typed 1900 1
reboot typed 500 1
signoff typed 2000 0
away elsewhere 0 1}"
while read -r name how value save; do
    [ -n "$name" ] && run_case "$name" "$how" "$value" "$save"
done <<<"$cases"
echo "log-off, shut-down and restart ended the session; the position was stored as set"

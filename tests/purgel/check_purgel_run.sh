#!/bin/bash
# Purgel end to end in the test prefix: its real folders (the Windows folder
# and the recent-documents folder of build/wineprefix, TEMP and TMP pointed at
# a test tree, the media player's key, \WUTemp on the prefix's C: drive) are
# filled with test files, Purgel runs three times with different settings,
# and what it deleted, kept and showed is checked from outside. A helper
# program starts Purgel and watches its balloon.
set -u
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/../../scripts/wine-env.sh"
source "$here/../desktop/desktop-helpers.sh"
bash "$here/../../scripts/ensure-display.sh" || exit 1
bash "$here/../../scripts/ensure-prefix.sh" || exit 1
require_plain_shell_folders
export LC_ALL=C
# The shell compares bytes; Wine's programs run in code page 932, which they
# take from the locale.
wine() { LC_ALL=ja_JP.UTF-8 command wine "$@"; }
purgel="$1"
probe="$2"
out="$3"

# Purgel deletes in the Windows folder and the user's folders: only ever in
# the project's own, disposable prefix.
case "$WINEPREFIX" in
*/build/wineprefix | */build64/wineprefix) ;;
*) fail "refusing to run outside the test prefix: $WINEPREFIX" ;;
esac
drive_c="$WINEPREFIX/drive_c"
windows="$drive_c/windows"
[ -d "$windows" ] || fail "no Windows folder in $WINEPREFIX"
wutemp="$drive_c/WUTemp"
media_key='HKCU\Software\Microsoft\MediaPlayer\Player\RecentFileList'

rm -rf "$out"
mkdir -p "$out/prog" "$out/markers"
cp "$purgel" "$out/prog/Purgel.exe"
ini="$out/prog/Purgel.ini"
marker=0
holders=()
drive_link=""

cleanup() {
    touch "$out/markers/stop"
    for pid in "${holders[@]}"; do wait "$pid" 2>/dev/null; done
    rm -rf "$windows"/purgel-e2e-* "$wutemp" "$drive_c"/purgel-e2e-*
    [ -n "$recent" ] && rm -rf "$recent"/purgel-e2e-*
    [ -n "$drive_link" ] && rm -f "$drive_link"
}
recent=""
trap cleanup EXIT

probe_run() { wine "$probe" "$@" </dev/null 2>>"$out/probe.log"; }
win() { windows_path "$1"; }
attrib() {
    local args=()
    while [ $# -ge 2 ]; do args+=("$(win "$1")" "$2"); shift 2; done
    probe_run attrib "${args[@]}" >/dev/null || fail "could not set attributes"
}
attributes() { probe_run getattr "$(win "$1")" | tr -d '\r'; }
has_attribute() { [ $(( 0x$(attributes "$1") & $2 )) -ne 0 ]; }
# hold FILE [delete]: keeps FILE open until the end of the check, sharing
# nothing or only its deletion.
hold() {
    marker=$((marker + 1))
    wine "$probe" hold "$(win "$1")" "$(win "$out/markers/held$marker")" \
        "$(win "$out/markers/stop")" ${2:-} </dev/null >/dev/null 2>&1 &
    holders+=($!)
    wait_for_file "$out/markers/held$marker" 60 || fail "could not hold $1 open"
}
value() { sed -n "s/^$1=//p" "$2" | tr -d '\r'; }
expect_gone() { [ ! -e "$1" ] || fail "$1 was not deleted"; }
expect_kept() { [ -e "$1" ] || fail "$1 was deleted"; }

# run_purgel NAME TEMP: one run, watched from outside. Checks the balloon's
# life and place and leaves its text in $out/NAME.txt.
run_purgel() {
    local name="$1" report="$out/$1.report"
    rm -f "$out/$name.shown"
    LC_ALL=ja_JP.UTF-8 timeout 200 wine "$probe" run "$(win "$out/prog/Purgel.exe")" "$2" \
        "$(win "$report")" "$(win "$out/$name.shown")" </dev/null >>"$out/probe.log" 2>&1 &
    local watcher=$!
    if [ "$name" = defaults ]; then
        # For a person to look at, and for the colour check below.
        wait_for_file "$out/$name.shown" 60 || fail "$name: the balloon did not appear"
        import -window root "$out/balloon.png" 2>/dev/null || fail "no screenshot"
    fi
    wait $watcher || fail "$name: the watcher failed ($?)"
    [ "$(value seen "$report")" = 1 ] || fail "$name: no balloon was seen"
    [ "$(value exit "$report")" = 0 ] || fail "$name: exit code $(value exit "$report")"
    local visible gone width height
    visible=$(value visible_for "$report")
    gone=$(value gone_after "$report")
    # 2500 ms from the start at the earliest; seen for about that long.
    [ "$gone" -ge 2500 ] || fail "$name: the balloon went $gone ms after the start"
    [ "$visible" -ge 2000 ] && [ "$visible" -le 6000 ] ||
        fail "$name: the balloon was visible for $visible ms"
    width=$(value width "$report")
    height=$(value height "$report")
    [ "$width" -gt 20 ] && [ "$height" -gt 20 ] || fail "$name: balloon of ${width}x$height"
    [ "$(value left "$report")" = $(( $(value desktop_width "$report") / 2 - width / 2 )) ] &&
        [ "$(value top "$report")" = $(( $(value desktop_height "$report") / 2 - height / 2 )) ] ||
        fail "$name: the balloon is not centred"
    [ "$(value topmost "$report")" = 1 ] || fail "$name: the balloon is not topmost"
    [ "$(value toolwindow "$report")" = 1 ] || fail "$name: the balloon is no tool window"
    iconv -f CP932 -t UTF-8 "$report.text" >"$out/$name.txt" || fail "$name: text not Shift-JIS"
    echo "$name: balloon visible for $visible ms, gone $gone ms after the start"
}

expect_text() {
    local expected
    expected="$(printf '[クリーン終了]\n 削除したファイル数 : %3d \n 削除したフォルダ数 : %3d ' "$2" "$3")"
    [ "$(cat "$out/$1.txt")" = "$expected" ] ||
        fail "$1: the balloon said '$(cat "$out/$1.txt")', expected '$expected'"
}

expect_ini() {
    local key
    for key in WIN_TEMP_FILE TEMP_FOLDER RECENT_FOLDER RECENT_WM_PLAYER WINDOWS_UPDATE_FOLDER; do
        [ "$(value $key "$ini")" = "$1" ] || fail "$key is '$(value $key "$ini")' in $ini, not $1"
        shift
    done
    [ "$(grep -c '^\[DEL_FLAG\]' "$ini")" = 1 ] || fail "no single [DEL_FLAG] section"
}

probe_run folders "$(win "$out/folders.txt")" || fail "could not ask for the folders"
recent="$(winepath -u "$(value recent "$out/folders.txt")" 2>/dev/null)"
recent="${recent%/}"
[ -d "$recent" ] || fail "no recent-documents folder: '$recent'"
case "$recent" in "$WINEPREFIX"/*) ;; *) fail "recent folder outside the prefix: $recent" ;; esac
rm -rf "$wutemp"

# ---- Run 1: no settings file, so the defaults: Windows .tmp files and TEMP.
# Empty .tmp files the prefix itself has in the Windows folder go as well.
own_tmp=$(find "$windows" -maxdepth 1 -iname '*.tmp' -type f -empty | wc -l)
: >"$windows/purgel-e2e-empty.tmp"
echo data >"$windows/purgel-e2e-full.tmp"
: >"$windows/purgel-e2e-ro-empty.tmp"
echo data >"$windows/purgel-e2e-ro-full.tmp"
: >"$windows/purgel-e2e-hidden.tmp"
: >"$windows/purgel-e2e-open.tmp"
echo data >"$windows/purgel-e2e-shared.tmp"
: >"$windows/purgel-e2e-other.txt"
mkdir -p "$windows/purgel-e2e-sub"
: >"$windows/purgel-e2e-sub/nested.tmp"
# TEMP lies on the prefix's C: drive, as it does on Windows: a walk that
# escaped it would reach the prefix's files, which the checks below watch,
# and never the Unix root that Wine's Z: drive shows.
temp="$drive_c/purgel-e2e-temp"
outside="$drive_c/purgel-e2e-outside"
rm -rf "$drive_c"/purgel-e2e-*
mkdir -p "$temp"
echo a >"$temp/a.txt"
echo b >"$temp/b.log"
echo h >"$temp/h.dat"
mkdir -p "$temp/sub1/sub2/sub3" "$temp/busy/inner" "$temp/表"
echo x >"$temp/sub1/x.txt"
echo y >"$temp/sub1/sub2/y.txt"
echo z >"$temp/表/表.txt"
echo held >"$temp/busy/inner/held.dat"
echo o >"$temp/busy/other.txt"
attrib "$windows/purgel-e2e-ro-empty.tmp" 1 "$windows/purgel-e2e-ro-full.tmp" 1 \
    "$windows/purgel-e2e-hidden.tmp" 2 "$temp/b.log" 1 "$temp/h.dat" 2 \
    "$temp/sub1/sub2/y.txt" 1 "$temp/busy/inner/held.dat" 2 "$temp/busy" 2
hold "$windows/purgel-e2e-open.tmp"
hold "$windows/purgel-e2e-shared.tmp" delete
hold "$temp/busy/inner/held.dat"
echo r >"$recent/purgel-e2e-doc.lnk"
wine reg add "$media_key" /v File0 /d 'C:\purgel-e2e.wma' /f </dev/null >/dev/null 2>&1 ||
    fail "could not write the media player's list"
mkdir -p "$wutemp"
echo w >"$wutemp/w1.txt"

# Entries that would lead a careless walk out of TEMP: names that code page
# 932 gives only by best fit (U+00A5 becomes a backslash, so "¥.." would name
# TEMP's parent), a link to a folder outside, a link to a file outside, and
# two links back to their parents.
mkdir -p "$outside/sub" "$temp/¥.." "$temp/loopdir"
echo keep >"$outside/keep.txt"
echo deep >"$outside/sub/deep.txt"
echo precious >"$drive_c/purgel-e2e-precious.txt"
echo inner >"$temp/¥../inner.txt"
echo odd >"$temp/..¥purgel-e2e-precious.txt"
echo odd >"$temp/a¥b"
ln -s "$outside" "$temp/outside-link"
ln -s "$outside/keep.txt" "$temp/file-link"
ln -s "$temp" "$temp/loop"
ln -s "$temp/loopdir" "$temp/loopdir/loop"

run_purgel defaults "C:\\purgel-e2e-temp\\"
[ -f "$ini" ] || fail "the settings file was not created"
expect_ini 1 1 0 0 0
# The settings file of the package is the one a first run writes.
cmp -s "$ini" "$here/../../purgel/Purgel.ini" || fail "the shipped Purgel.ini differs from the defaults"
expect_text defaults $((3 + own_tmp + 7)) 4
expect_gone "$windows/purgel-e2e-empty.tmp"
expect_gone "$windows/purgel-e2e-ro-empty.tmp"
expect_gone "$windows/purgel-e2e-hidden.tmp"
expect_kept "$windows/purgel-e2e-full.tmp"
expect_kept "$windows/purgel-e2e-ro-full.tmp"
has_attribute "$windows/purgel-e2e-ro-full.tmp" 1 || fail "the kept .tmp file lost read-only"
expect_kept "$windows/purgel-e2e-open.tmp"
expect_kept "$windows/purgel-e2e-shared.tmp"
expect_kept "$windows/purgel-e2e-other.txt"
expect_kept "$windows/purgel-e2e-sub/nested.tmp"
expect_kept "$temp"
for f in a.txt b.log h.dat sub1 表 busy/other.txt; do expect_gone "$temp/$f"; done
expect_kept "$temp/busy/inner/held.dat"
has_attribute "$temp/busy/inner/held.dat" 2 || fail "the file in use lost its hidden attribute"
has_attribute "$temp/busy" 2 || fail "the folder that stayed lost its hidden attribute"
expect_kept "$recent/purgel-e2e-doc.lnk"
wine reg query "$media_key" </dev/null >/dev/null 2>&1 || fail "the media player's list went"
expect_kept "$wutemp/w1.txt"
for f in "$outside/keep.txt" "$outside/sub/deep.txt" "$drive_c/purgel-e2e-precious.txt" \
    "$windows/win.ini" "$temp/¥../inner.txt" "$temp/..¥purgel-e2e-precious.txt" "$temp/a¥b" \
    "$temp/loop" "$temp/loopdir/loop"; do
    expect_kept "$f"
done
[ "$(cat "$outside/keep.txt")" = keep ] || fail "the file behind the file link was changed"

# The screenshot shows the pale yellow balloon: most of its inside has the
# colour 250,250,170.
yellow=$(convert "$out/balloon.png" -format %c histogram:info:- 2>/dev/null |
    sed -n 's/^ *\([0-9]*\): ([ ]*250,[ ]*250,[ ]*170.*/\1/p' | head -1)
area=$(( ($(value width "$out/defaults.report") - 2) * ($(value height "$out/defaults.report") - 2) ))
[ -n "$yellow" ] && [ "$yellow" -ge $((area / 2)) ] && [ "$yellow" -le "$area" ] ||
    fail "the screenshot holds ${yellow:-no} pale yellow pixels for a balloon of $area"

# ---- Run 2: Windows .tmp switch unreadable, TEMP off, the other three on.
printf '[DEL_FLAG]\r\nWIN_TEMP_FILE=abc\r\nTEMP_FOLDER=0\r\nRECENT_FOLDER=1\r\nRECENT_WM_PLAYER=1\r\nWINDOWS_UPDATE_FOLDER=1\r\n' >"$ini"
: >"$windows/purgel-e2e-empty2.tmp"
echo t >"$temp/t.txt"
mkdir -p "$recent/purgel-e2e-sub"
echo r >"$recent/purgel-e2e-sub/r.txt"
mkdir -p "$wutemp/wsub"
echo w >"$wutemp/wsub/w2.txt"
attrib "$recent/purgel-e2e-sub/r.txt" 1 "$wutemp/wsub/w2.txt" 2
# Whatever else the prefix keeps in its recent folder goes too.
recent_files=$(find "$recent" -mindepth 1 -type f | wc -l)
recent_folders=$(find "$recent" -mindepth 1 -type d | wc -l)

run_purgel switched "C:\\purgel-e2e-temp\\"
expect_ini 0 0 1 1 1
expect_text switched $((recent_files + 2)) $((recent_folders + 2))
expect_kept "$windows/purgel-e2e-empty2.tmp"
expect_kept "$temp/t.txt"
expect_kept "$recent"
[ -z "$(ls -A "$recent")" ] || fail "the recent folder still holds $(ls -A "$recent")"
! wine reg query "$media_key" </dev/null >/dev/null 2>&1 || fail "the media player's list stayed"
expect_gone "$wutemp"

# ---- Run 3: TEMP is a drive root (a test drive of the prefix) and there is
# no \WUTemp: nothing is deleted, the balloon says 0 and 0.
for letter in p q r s t u v w x y; do
    if [ ! -e "$WINEPREFIX/dosdevices/$letter:" ]; then
        drive_link="$WINEPREFIX/dosdevices/$letter:"
        break
    fi
done
[ -n "$drive_link" ] || fail "no free drive letter in the prefix"
mkdir -p "$out/drive/folder"
echo keep >"$out/drive/keep.txt"
echo keep >"$out/drive/folder/keep.txt"
ln -s "$out/drive" "$drive_link"
printf '[DEL_FLAG]\r\nWIN_TEMP_FILE=0\r\nTEMP_FOLDER=1\r\nRECENT_FOLDER=0\r\nRECENT_WM_PLAYER=0\r\nWINDOWS_UPDATE_FOLDER=1\r\n' >"$ini"
run_purgel root "${letter^^}:\\"
expect_ini 0 1 0 0 1
expect_text root 0 0
expect_kept "$out/drive/keep.txt"
expect_kept "$out/drive/folder/keep.txt"
expect_kept "$temp/t.txt"

# ---- Run 4: TEMP is a link to an ordinary folder (a temporary folder moved
# elsewhere), which is cleaned as that folder; \WUTemp is a link to the
# Windows folder, which is refused.
ram="$drive_c/purgel-e2e-ram"
mkdir -p "$ram/sub"
echo r1 >"$ram/r1.txt"
echo r2 >"$ram/sub/r2.txt"
ln -s "$ram" "$drive_c/purgel-e2e-temp-link"
ln -s "$windows" "$wutemp"
: >"$windows/purgel-e2e-marker.txt"
printf '[DEL_FLAG]\r\nWIN_TEMP_FILE=0\r\nTEMP_FOLDER=1\r\nRECENT_FOLDER=0\r\nRECENT_WM_PLAYER=0\r\nWINDOWS_UPDATE_FOLDER=1\r\n' >"$ini"
run_purgel linked "C:\\purgel-e2e-temp-link\\"
expect_text linked 2 1
for f in "$ram" "$drive_c/purgel-e2e-temp-link" "$windows/purgel-e2e-marker.txt" "$windows/win.ini" \
    "$drive_c/purgel-e2e-precious.txt"; do
    expect_kept "$f"
done
expect_gone "$ram/r1.txt"
expect_gone "$ram/sub"
rm -f "$wutemp"

# The description beside it is Shift-JIS with CRLF line ends.
iconv -f CP932 -t UTF-8 "$here/../../purgel/Purgel.txt" >/dev/null || fail "Purgel.txt is not Shift-JIS"
[ -z "$(grep -v $'\r$' "$here/../../purgel/Purgel.txt")" ] || fail "Purgel.txt has lines without CRLF"

echo "Purgel deleted, kept and reported as its settings say"

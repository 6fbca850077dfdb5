#!/bin/bash
# Creates the Wine prefix under build/ when it does not exist yet and makes a
# 1024x768 virtual desktop its default, so that hotkeys and keyboard input
# reach the programs and every program of a session shares one desktop.
source "$(dirname "$0")/wine-env.sh"

# Wine links the user's Desktop, Documents, Music and the like to the Unix
# home folder. Programs under test delete and change folder trees, so no
# such link may lead out of the prefix: each becomes a plain folder. The
# prefix is made with a scratch home as well, so that a link Wine makes
# again later leads to that scratch folder, not to the real one.
make_shell_folders_plain() {
    local users="$WINEPREFIX/drive_c/users" link
    [ -d "$users" ] || return 0
    while IFS= read -r link; do
        rm -f "$link" && mkdir -p "$link" || return 1
    done < <(find "$users" -mindepth 2 -type l)
    [ -z "$(find "$users" -mindepth 2 -type l)" ]
}

stamp="$WINEPREFIX/.quelt-ready-2"
if [ -f "$stamp" ]; then
    make_shell_folders_plain || { echo "ensure-prefix: shell folders still link out of $WINEPREFIX" >&2; exit 1; }
    exit 0
fi
set -e
echo "ensure-prefix: creating $WINEPREFIX"
mkdir -p "$(dirname "$WINEPREFIX")" "$WINEPREFIX.home"
HOME="$WINEPREFIX.home" wineboot -i >/dev/null 2>&1 </dev/null
wineserver -w
make_shell_folders_plain
for _ in 1 2 3; do
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1 </dev/null
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1 </dev/null
    # Text files open in Notepad, as on Windows; Wine ships the file type
    # but not the extension.
    wine reg add 'HKLM\Software\Classes\.txt' /ve /d txtfile /f >/dev/null 2>&1 </dev/null
    wineserver -w
    if grep -q '"Default"="1024x768"' "$WINEPREFIX/user.reg"; then
        touch "$stamp"
        exit 0
    fi
done
echo "ensure-prefix: could not set the virtual desktop" >&2
exit 1

#!/bin/bash
# Creates the Wine prefix under build/ when it does not exist yet and makes a
# 1024x768 virtual desktop its default, so that hotkeys and keyboard input
# reach the programs and every program of a session shares one desktop.
source "$(dirname "$0")/wine-env.sh"
stamp="$WINEPREFIX/.quelt-ready-2"
[ -f "$stamp" ] && exit 0
set -e
echo "ensure-prefix: creating $WINEPREFIX"
mkdir -p "$(dirname "$WINEPREFIX")"
wineboot -i >/dev/null 2>&1 </dev/null
wineserver -w
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

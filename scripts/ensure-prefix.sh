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

# The programs ask for the Japanese Windows faces (dialogs for "ＭＳ Ｐゴシック"
# and "MS UI Gothic", the candidate list and the balloon for "ＭＳ ゴシック").
# Wine has none of them and would take a wider face, so the prefix answers
# each name with the IPA face of the same kind, proportional for
# proportional and fixed for fixed, whose widths are close to the originals.
# Wine finds the IPA faces through fontconfig and reads the replacements
# when a program starts. Done once per prefix; the check reads the key back.
fonts_stamp="$WINEPREFIX/.quelt-fonts-1"
font_replacements=(
    "ＭＳ Ｐゴシック=IPAPGothic"
    "MS UI Gothic=IPAPGothic"
    "ＭＳ ゴシック=IPAGothic"
    "ＭＳ Ｐ明朝=IPAPMincho"
    "ＭＳ 明朝=IPAMincho"
)
map_japanese_fonts() {
    [ -f "$fonts_stamp" ] && return 0
    local key='HKCU\Software\Wine\Fonts\Replacements' reg="$WINEPREFIX/quelt-fonts.reg" pair
    # A Unicode .reg file: its names reach the registry exactly as written,
    # whatever the console's code page.
    {
        printf 'Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
        for pair in "${font_replacements[@]}"; do
            printf '"%s"="%s"\r\n' "${pair%%=*}" "${pair#*=}"
        done
    } | iconv -f UTF-8 -t UTF-16 >"$reg" || return 1
    wine reg import "Z:${reg//\//\\}" >/dev/null 2>&1 </dev/null || return 1
    local shown
    shown="$(wine reg query "$key" </dev/null 2>/dev/null | iconv -f CP932 -t UTF-8 | tr -d '\r')" || return 1
    for pair in "${font_replacements[@]}"; do
        grep -qE "^ +${pair%%=*} +REG_SZ +${pair#*=}\$" <<<"$shown" || return 1
    done
    rm -f "$reg"
    # The programs that follow must not meet this server: started before
    # the display was there, it leaves their first windows without one.
    wineserver -w
    touch "$fonts_stamp"
}

stamp="$WINEPREFIX/.quelt-ready-2"
if [ -f "$stamp" ]; then
    make_shell_folders_plain || { echo "ensure-prefix: shell folders still link out of $WINEPREFIX" >&2; exit 1; }
    map_japanese_fonts || { echo "ensure-prefix: could not map the Japanese fonts in $WINEPREFIX" >&2; exit 1; }
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
        map_japanese_fonts || { echo "ensure-prefix: could not map the Japanese fonts" >&2; exit 1; }
        touch "$stamp"
        exit 0
    fi
done
echo "ensure-prefix: could not set the virtual desktop" >&2
exit 1

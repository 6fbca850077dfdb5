#!/bin/bash
# Builds the install package from a build's programs into a scratch folder and
# checks it: the exact layout, every file the uninstaller deletes by name, the
# texts in Shift-JIS with CRLF, the zip, and the help file read back with
# extract_chmLib.
# Usage: check_package.sh <source root> <bin folder> <scratch folder>
set -u
export LC_ALL=C.UTF-8
root="$1"
bin="$2"
scratch="$3"
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

rm -rf "$scratch"
mkdir -p "$scratch"
out="$scratch/package"
packaged=1
if ! bash "$root/scripts/make-package.sh" "$bin" "$out" > "$scratch/make-package.log" 2>&1; then
    packaged=0
    fail "make-package.sh failed: $(grep 'missing' "$scratch/make-package.log")"
fi

# --- layout: exactly these entries, nothing else -------------------------
expected_entries="quelt_
quelt_/Pinlet.exe
quelt_/cmd_org.txt
quelt_/omake
quelt_/omake/Datora.exe
quelt_/omake/Datora.txt
quelt_/omake/Purgel.exe
quelt_/omake/Purgel.ini
quelt_/omake/Purgel.txt
quelt_/omake/desktop.scf
quelt_/quelt_.chm
quelt_/quelt_.dll
quelt_/quelt_.exe
quelt_/quelt_.ini
quelt_/readme.txt
setup.exe"
zip_name="quelt_0981.zip"
actual_entries="$(cd "$out" && find . -mindepth 1 ! -name "$zip_name" | sed 's|^\./||' | LC_ALL=C sort)"
expected_sorted="$(LC_ALL=C sort <<<"$expected_entries")"
for entry in $(LC_ALL=C comm -23 <(echo "$expected_sorted") <(echo "$actual_entries")); do
    fail "the package lacks $entry"
done
for entry in $(LC_ALL=C comm -13 <(echo "$expected_sorted") <(echo "$actual_entries")); do
    fail "the package holds the unexpected $entry"
done
for entry in $expected_entries; do
    case "$entry" in quelt_|quelt_/omake) continue ;; esac
    [ -f "$out/$entry" ] && [ ! -s "$out/$entry" ] && fail "$entry is empty"
done

# Everything the uninstaller removes by name, in its order, must have come
# with the package (setup.exe is the package's own).
uninstalled="omake/desktop.scf omake/Purgel.exe omake/Purgel.txt omake/Purgel.ini
omake/Datora.exe omake/Datora.txt quelt_.exe quelt_.dll quelt_.chm readme.txt
cmd_org.txt Pinlet.exe"
for name in $uninstalled; do
    [ -f "$out/quelt_/$name" ] || fail "the uninstaller deletes $name, which the package does not install"
done

# --- texts: Shift-JIS with CRLF line ends -----------------------------------
check_text() {
    local file="$out/quelt_/$1"
    [ -f "$file" ] || return
    iconv -f CP932 -t UTF-8 "$file" > "$scratch/text.utf8" 2>/dev/null || { fail "$1 is not Shift-JIS"; return; }
    local lines crlf
    lines=$(LC_ALL=C grep -c '' "$file")
    crlf=$(LC_ALL=C grep -c $'\r$' "$file")
    [ "$lines" = "$crlf" ] || fail "$1: $((lines - crlf)) of $lines lines do not end in CRLF"
    [ -z "$(tail -c 1 "$file" | tr -d '\n')" ] || fail "$1 does not end with a line end"
}
for text in readme.txt cmd_org.txt quelt_.ini omake/Purgel.txt omake/Purgel.ini omake/Datora.txt omake/desktop.scf; do
    check_text "$text"
done
readme="$(iconv -f CP932 -t UTF-8 "$out/quelt_/readme.txt" 2>/dev/null)"
for phrase in "Quelt Version 0.981" "インストール" "Alt + 1" "アンインストール" "setup.exe" \
              "Pinlet.exe" "Purgel.exe" "Datora.exe" "quelt_.chm" "cmd_org.txt"; do
    grep -qF -- "$phrase" <<<"$readme" || fail "readme.txt does not mention $phrase"
done
printf '[Shell]\r\nCommand=2\r\nIconFile=explorer.exe,3\r\n[Taskbar]\r\nCommand=ToggleDesktop\r\n' > "$scratch/desktop.scf"
cmp -s "$scratch/desktop.scf" "$out/quelt_/omake/desktop.scf" || fail "desktop.scf is not the show-desktop command file"
cmp -s "$root/purgel/Purgel.ini" "$out/quelt_/omake/Purgel.ini" || fail "Purgel.ini is not the one of purgel/"
grep -q '^\[DEL_FLAG\]' "$out/quelt_/omake/Purgel.ini" || fail "Purgel.ini has no [DEL_FLAG] section"
# The programs are the build's own.
for pair in quelt_.exe:quelt_.exe quelt_.dll:quelt_.dll omake/Purgel.exe:Purgel.exe omake/Datora.exe:Datora.exe \
            Pinlet.exe:Pinlet.exe; do
    [ -f "$bin/${pair#*:}" ] && ! cmp -s "$bin/${pair#*:}" "$out/quelt_/${pair%%:*}" &&
        fail "${pair%%:*} differs from the build's"
done

# --- the zip: the same files with the same contents ---------------------------
if [ "$packaged" = 1 ]; then
    if [ ! -f "$out/$zip_name" ]; then
        fail "no $zip_name"
    else
        listed="$(unzip -Z1 "$out/$zip_name" | sed 's|/$||' | LC_ALL=C sort)"
        [ "$listed" = "$expected_sorted" ] || fail "$zip_name lists other entries: $(echo $listed)"
        mkdir -p "$scratch/unzipped"
        unzip -q "$out/$zip_name" -d "$scratch/unzipped" || fail "$zip_name does not unpack"
        diff -rq "$out/quelt_" "$scratch/unzipped/quelt_" >/dev/null || fail "$zip_name holds other contents than quelt_/"
        cmp -s "$out/setup.exe" "$scratch/unzipped/setup.exe" || fail "$zip_name holds another setup.exe"
    fi
else
    echo "note: the zip is made only from a complete package; not checked"
fi

# --- the help file ---------------------------------------------------------
chm="$out/quelt_/quelt_.chm"
if [ -f "$chm" ]; then
    [ "$(head -c 4 "$chm")" = ITSF ] || fail "quelt_.chm is not a compiled HTML help file"
    language=$(od -A n -t x1 -j 20 -N 4 "$chm" | tr -d ' \n')
    [ "$language" = 11040000 ] || fail "quelt_.chm is not marked Japanese (0x411): $language"
    pages="start commands path websearch builtin keys tray settings hotkeys editor_list
           editor_command editor_import editor_settings editor_alias pinlet setup files
           trouble purgel datora"
    extracted="$scratch/chm"
    extract_chmLib "$chm" "$extracted" > "$scratch/extract.log" 2>&1 || fail "extract_chmLib cannot read quelt_.chm"
    for f in quelt_.hhc quelt_.hhk; do
        [ -s "$extracted/$f" ] || fail "quelt_.chm lacks $f"
    done
    [ -s "$extracted/#SYSTEM" ] || fail "quelt_.chm lacks its #SYSTEM"
    toc="$(iconv -f CP932 -t UTF-8 "$extracted/quelt_.hhc" 2>/dev/null)" || fail "the contents are not Shift-JIS"
    index="$(iconv -f CP932 -t UTF-8 "$extracted/quelt_.hhk" 2>/dev/null)" || fail "the index is not Shift-JIS"
    for page in $pages; do
        file="$extracted/$page.html"
        if [ ! -s "$file" ]; then
            fail "quelt_.chm lacks $page.html"
            continue
        fi
        text="$(iconv -f CP932 -t UTF-8 "$file" 2>/dev/null)" || { fail "$page.html is not Shift-JIS"; continue; }
        grep -qi 'charset=Shift_JIS' <<<"$text" || fail "$page.html does not declare Shift_JIS"
        title="$(sed -n 's|.*<title>\(.*\)</title>.*|\1|p' <<<"$text")"
        grep -qP '[\x{3040}-\x{30ff}\x{4e00}-\x{9fff}]' <<<"$title" || fail "$page.html has no Japanese title: $title"
        grep -qF "value=\"$page.html\"" <<<"$toc" || fail "the contents do not lead to $page.html"
    done
    for target in $(grep -o 'name="Local" value="[^"]*"' <<<"$toc$index" | sed 's/.*value="//; s/"$//' | sort -u); do
        [ -f "$extracted/$target" ] || fail "the contents or index point at the missing $target"
    done
    # Every page the contents lead to can also be found in the index.
    for target in $(grep -o 'name="Local" value="[^"]*"' <<<"$toc" | sed 's/.*value="//; s/"$//' | sort -u); do
        grep -qF "name=\"Local\" value=\"$target\"" <<<"$index" || fail "the index names no entry for $target"
    done
    # Every link between the pages leads somewhere.
    for target in $(cat "$extracted"/*.html | grep -o 'href="[^"#:]*' | sed 's/href="//' | sort -u); do
        [ -f "$extracted/$target" ] || fail "a page links to the missing $target"
    done
    [ "$(grep -c 'name="Name"' <<<"$index")" -ge 30 ] || fail "the index holds fewer than 30 keywords"

    # The pages keep up with the programs they describe.
    page_text() { iconv -f CP932 -t UTF-8 "$extracted/$1.html" 2>/dev/null; }
    builtin="$(page_text builtin)"
    for code in $(grep -o 'case [0-9][0-9]*:' "$root/launcher/builtin_commands.cpp" | grep -o '[0-9]*' | sort -un); do
        [ "$code" -ge 100 ] || continue
        grep -q "@$code<" <<<"$builtin" || fail "builtin.html does not describe @$code"
    done
    tray="$(page_text tray)"
    while IFS= read -r item; do
        grep -qF -- "$item" <<<"$tray" || fail "tray.html does not show the menu item $item"
    done < <(sed -n 's/^ *\(MENUITEM\|POPUP\) "\([^"]*\)".*/\2/p' "$root/launcher/launcher.rc" |
             sed 's/&//; s/\.\.\.$//' | grep -v '^Quelt$')
    settings="$(page_text settings)"
    for key in ALT Ctrl Shift Win Key History ToolTip TaskTray ImeCtrl WndWidth WndHeight \
               SavePosition PositionX PositionY QUELT_HOME; do
        grep -qE "<td>$key</td>|<code>$key</code>" <<<"$settings" || fail "settings.html does not describe $key"
    done
    editors="$(page_text editor_list; page_text editor_command; page_text editor_import; page_text editor_settings; page_text editor_alias)"
    for dialog in "$root"/editor/*.dlg; do
        while IFS= read -r caption; do
            grep -qF -- "$caption" <<<"$editors" || fail "the editor pages do not name the dialog $caption"
        done < <(sed -n 's/^CAPTION "\(.*\)"/\1/p' "$dialog")
    done
    purgel="$(page_text purgel)"
    for key in $(sed -n 's/=.*//p' "$root/purgel/Purgel.ini" | tr -d '\r'); do
        grep -q "$key" <<<"$purgel" || fail "purgel.html does not describe $key"
    done
else
    fail "no help file to read"
fi

if [ "$failures" != 0 ]; then
    echo "$failures problems in the install package"
    exit 1
fi
echo "the install package holds $(wc -l <<<"$expected_entries") entries, its zip and a help file of $(echo $pages | wc -w) pages"

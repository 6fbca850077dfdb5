#!/bin/bash
# chmcmd writes the time of day of the compile into a help file twice: in the
# file header (milliseconds, big-endian) and in the #SYSTEM entry 10
# (milliseconds, little-endian). Both are set to the time of day of
# SOURCE_DATE_EPOCH, or to 0 without it, so that the same pages give the
# same file. Neither is read by the help viewer.
# Usage: fix-chm-time.sh <file.chm>
set -eu
chm="$1"
seconds="${SOURCE_DATE_EPOCH:-0}"
ms=$(( (seconds % 86400) * 1000 ))
byte() { printf '\\x%02x' $(( ($1 >> $2) & 255 )); }  # an escape for put
put() {  # put <offset> <4 bytes>
    printf "$2" | dd of="$chm" bs=1 seek="$1" conv=notrunc status=none
}
hex_at() { od -A n -t x1 -j "$1" -N "$2" "$chm" | tr -d ' \n'; }

[ "$(head -c 4 "$chm")" = ITSF ] || { echo "fix-chm-time: $chm is no help file" >&2; exit 1; }
put 16 "$(byte $ms 24)$(byte $ms 16)$(byte $ms 8)$(byte $ms 0)"

# #SYSTEM lies uncompressed in the file: entry 10 (4 bytes) comes right before
# entry 9, the compiler's version text.
version_at=$(grep -obUa "HHA Version" "$chm" | head -1 | cut -d: -f1)
entry_at=$(( ${version_at:-12} - 12 ))
if [ -z "$version_at" ] || [ "$(hex_at "$entry_at" 4)" != 0a000400 ]; then
    echo "fix-chm-time: no compile time found in the #SYSTEM of $chm" >&2
    exit 1
fi
put $(( entry_at + 4 )) "$(byte $ms 0)$(byte $ms 8)$(byte $ms 16)$(byte $ms 24)"

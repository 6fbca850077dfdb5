#!/bin/bash
# The program's description travels as Shift-JIS text with CRLF line ends.
set -u
file="$1"
fail() {
    echo "FAIL: $*"
    exit 1
}
[ -s "$file" ] || fail "$file is missing or empty"
text="$(iconv -f CP932 -t UTF-8 "$file")" || fail "$file is not Shift-JIS"
lines=$(LC_ALL=C grep -c '' "$file")
crlf=$(LC_ALL=C grep -c $'\r$' "$file")
[ "$lines" = "$crlf" ] || fail "$((lines - crlf)) of $lines lines do not end in CRLF"
grep -q 'ファイル情報一括変更' <<<"$text" || fail "the description does not name the dialog"
grep -q 'Version 1.20' <<<"$text" || fail "the description does not give the version"
echo "the description is Shift-JIS with CRLF, $lines lines"

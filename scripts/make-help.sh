#!/bin/bash
# Compiles the help file from the UTF-8 sources in help/: every page, the
# contents and the index are turned into Shift-JIS (the pages then declare
# that charset) and handed to chmcmd.
# Usage: make-help.sh <help source folder> <output .chm>
set -eu
source_folder="$1"
output="$2"
command -v chmcmd >/dev/null || { echo "make-help: chmcmd is missing (scripts/install-deps.sh installs fp-utils)" >&2; exit 1; }
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
for f in "$source_folder"/*.html "$source_folder"/*.hhc "$source_folder"/*.hhk \
         "$source_folder"/*.hhp "$source_folder"/*.css; do
    name="$(basename "$f")"
    if ! iconv -f UTF-8 -t CP932 "$f" > "$work/$name"; then
        echo "make-help: $name holds text that Shift-JIS cannot hold" >&2
        exit 1
    fi
    sed -i 's/charset=UTF-8/charset=Shift_JIS/I; s/\r*$/\r/' "$work/$name"
done
# The same pages give the same file: chmcmd leaves two bytes of the keyword
# index's map uninitialised, where the heap holds an address, which without
# address randomisation is the same on every run; it gets no locale, which
# would change how the index's keywords are widened, and an environment
# that is the same in every build.
no_random=""
if setarch "$(uname -m)" -R true 2>/dev/null; then no_random="setarch $(uname -m) -R"; fi
(cd "$work" && env -i PATH="$PATH" $no_random chmcmd --verbosity 0 quelt_.hhp > chmcmd.log 2>&1) || {
    cat "$work/chmcmd.log" >&2
    echo "make-help: chmcmd failed" >&2
    exit 1
}
[ -s "$work/quelt_.chm" ] || { cat "$work/chmcmd.log" >&2; echo "make-help: no help file was written" >&2; exit 1; }
bash "$(dirname "$0")/fix-chm-time.sh" "$work/quelt_.chm" || exit 1
mkdir -p "$(dirname "$output")"
mv "$work/quelt_.chm" "$output.tmp"
mv "$output.tmp" "$output"

#!/bin/bash
# Builds the install package from the programs of a build: setup.exe with the
# folder quelt_\ beside it that setup copies into the install folder, and a
# zip of both. Every file the uninstaller removes by name comes with it.
# Prints the size of each program and of the zip beside its target, and
# fails when one is larger.
# Usage: make-package.sh <bin folder of a build> <output folder>
set -eu
bin="$1"
out="$2"
here="$(cd "$(dirname "$0")" && pwd)"
root="$(dirname "$here")"
zip_name="quelt_0981.zip"

# Files taken as built, by their place in the package.
built_files="setup.exe
quelt_/quelt_.exe
quelt_/quelt_.dll
quelt_/quelt_.chm
quelt_/cmd_org.txt
quelt_/quelt_.ini
quelt_/Pinlet.exe
quelt_/omake/Purgel.exe
quelt_/omake/Datora.exe"
# Texts kept in the repository as delivered (Shift-JIS with CRLF).
shipped_texts="purgel/Purgel.txt:quelt_/omake/Purgel.txt
purgel/Purgel.ini:quelt_/omake/Purgel.ini
datora/Datora.txt:quelt_/omake/Datora.txt"
# Texts kept as UTF-8 and converted on the way.
converted_texts="package/readme.txt:quelt_/readme.txt
package/desktop.scf:quelt_/omake/desktop.scf"

rm -rf "$out/quelt_" "$out/setup.exe" "$out/$zip_name"
mkdir -p "$out/quelt_/omake"

missing=""
for place in $built_files; do
    name="$(basename "$place")"
    if [ -f "$bin/$name" ]; then
        cp "$bin/$name" "$out/$place"
    else
        missing="$missing $name"
    fi
done
for pair in $shipped_texts; do
    source="$root/${pair%%:*}"
    if [ -f "$source" ]; then
        cp "$source" "$out/${pair#*:}"
    else
        missing="$missing ${pair%%:*}"
    fi
done
for pair in $converted_texts; do
    source="$root/${pair%%:*}"
    if [ -f "$source" ]; then
        bash "$here/to-cp932.sh" "$source" "$out/${pair#*:}"
    else
        missing="$missing ${pair%%:*}"
    fi
done

if [ -n "$missing" ]; then
    echo "make-package: the package is incomplete; missing:$missing" >&2
    echo "make-package: looked for the programs in $bin" >&2
    exit 1
fi

# The zip holds the same bytes for the same commit: every entry dated from
# the commit (SOURCE_DATE_EPOCH when given), in UTC, with the same
# permissions, in name order, without the extra fields of the Unix owner.
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
    SOURCE_DATE_EPOCH=$(git -C "$root" log -1 --format=%ct 2>/dev/null || echo 315532800)
fi
(
    cd "$out"
    find setup.exe quelt_ -type d -exec chmod 755 {} +
    find setup.exe quelt_ -type f -exec chmod 644 {} +
    find setup.exe quelt_ -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
    find setup.exe quelt_ | LC_ALL=C sort | TZ=UTC zip -q -X "$zip_name" -@
)
echo "make-package: $out/setup.exe, $out/quelt_/ and $out/$zip_name"
if ! bash "$here/check-size-targets.sh" "$out"; then
    echo "make-package: a file of the package is larger than its target" >&2
    exit 1
fi

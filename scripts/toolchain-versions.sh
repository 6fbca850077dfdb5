#!/bin/bash
# Writes the versions of the installed Debian packages that a build is made
# with (compilers, binutils, Wine, CMake, Ninja, the help compiler) into
# <file>, one "package version" a line. The file is rewritten only when a
# version changed, so that it tells when the tools of a build folder did.
# Usage: toolchain-versions.sh <file>
set -eu
file="$1"
patterns="*mingw-w64* binutils binutils-common wine wine32 wine64 libwine fonts-wine cmake cmake-data
ninja-build fp-utils* fpc* zip libchm-bin"
list=$(dpkg-query -W -f '${db:Status-Abbrev} ${Package}:${Architecture} ${Version}\n' $patterns 2>/dev/null |
       awk '$1 == "ii" { print $2, $3 }' | LC_ALL=C sort -u)
mkdir -p "$(dirname "$file")"
if [ ! -f "$file" ] || [ "$(cat "$file")" != "$list" ]; then
    printf '%s\n' "$list" > "$file"
fi

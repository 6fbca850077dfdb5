#!/bin/bash
# Builds the delivered programs, the help file and the install package a
# second time, from a copy of the sources in another folder, and compares
# every file of the package and the zip with those of the first build. Prints
# each file as "same" or "DIFFERS" and fails when one differs.
# Usage: check-repro.sh [first build folder] [second folder]
#   defaults: build/ and build-repro/ of the checkout; the second folder is
#   emptied first and then holds source/, build/ and package/.
set -eu
here="$(cd "$(dirname "$0")" && pwd)"
root="$(dirname "$here")"
first="$(cd "${1:-$root/build}" && pwd)"
second="${2:-$root/build-repro}"
targets="quelt_ quelt_editor Pinlet setup Purgel Datora quelt_help quelt_defaults
quelt_default_profile quelt_toolchain_versions"
started=$(date +%s)

# Both packages are dated from the same commit. The builds themselves take
# the time from nowhere (the linker would put SOURCE_DATE_EPOCH into the
# programs' headers).
package_time="${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct)}"

cmake --build "$first" --target $targets > /dev/null
SOURCE_DATE_EPOCH="$package_time" bash "$here/make-package.sh" "$first/bin" "$first/package" > /dev/null

# The sources as they are in the working tree, tracked or new, without what
# git ignores (the build folders).
rm -rf "$second"
mkdir -p "$second/source"
second="$(cd "$second" && pwd)"
(
    cd "$root"
    git ls-files -z --cached --others --exclude-standard |
        while IFS= read -r -d '' f; do [ -f "$f" ] && printf '%s\0' "$f"; done |
        tar -c --null -T - -f -
) | tar -x -C "$second/source" -f -
# Configured like build/ (Makefile), without the tests.
if ! cmake -S "$second/source" -B "$second/build" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$second/source/cmake/mingw-i686.cmake" \
        -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF > "$second/configure.log" 2>&1 ||
   ! cmake --build "$second/build" --target $targets > "$second/build.log" 2>&1; then
    cat "$second/configure.log" "$second/build.log" 2>/dev/null | tail -40 >&2
    echo "check-repro: the second build failed (logs in $second)" >&2
    exit 1
fi
SOURCE_DATE_EPOCH="$package_time" bash "$second/source/scripts/make-package.sh" "$second/build/bin" "$second/package" > /dev/null

differ=0
files=$(cd "$first/package" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)
others=$(cd "$second/package" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)
if [ "$files" != "$others" ]; then
    echo "check-repro: the two packages hold different files:" >&2
    diff <(echo "$files") <(echo "$others") >&2 || true
    differ=1
fi
for f in $files; do
    [ -f "$second/package/$f" ] || continue
    a=$(sha256sum < "$first/package/$f" | cut -c1-16)
    b=$(sha256sum < "$second/package/$f" | cut -c1-16)
    if [ "$a" = "$b" ]; then
        echo "same     $a  $f"
    else
        echo "DIFFERS  $a $b  $f ($(cmp -l "$first/package/$f" "$second/package/$f" 2>/dev/null | wc -l) bytes)"
        differ=1
    fi
done
if ! cmp -s "$first/toolchain-versions.txt" "$second/build/toolchain-versions.txt"; then
    echo "check-repro: note: the two builds list other tool versions" >&2
fi
echo "check-repro: $first and $second/build compared in $(( $(date +%s) - started )) s"
if [ "$differ" != 0 ]; then
    echo "check-repro: two builds of the same sources gave different bytes" >&2
    exit 1
fi
echo "check-repro: both builds gave the same bytes"

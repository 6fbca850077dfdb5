#!/bin/bash
# Checks that the C++ sources are laid out as .clang-format says (a dry run
# of clang-format), and names each file that is not. With --apply, lays
# them out instead.
# Usage: check-format.sh [--apply] [source root]
set -eu
apply=""
if [ "${1:-}" = --apply ]; then apply=1; shift; fi
root="${1:-$(cd "$(dirname "$0")/.." && pwd)}"
folders="support launcher editor pinlet setup purgel datora tests commands"
formatter=""
for name in clang-format-14 clang-format; do
    if command -v "$name" >/dev/null; then formatter="$name"; break; fi
done
[ -n "$formatter" ] || { echo "check-format: clang-format is missing (apt-get install clang-format)" >&2; exit 1; }

cd "$root"
existing=""
for folder in $folders; do [ -d "$folder" ] && existing="$existing $folder"; done
files=$(find $existing -type f \( -name '*.cpp' -o -name '*.h' \) | LC_ALL=C sort)
if [ -n "$apply" ]; then
    echo "$files" | xargs "$formatter" -i --style=file
    echo "check-format: laid out $(echo "$files" | wc -l) files"
    exit 0
fi
unformatted=""
for f in $files; do
    if ! "$formatter" --dry-run -Werror --style=file "$f" >/dev/null 2>&1; then
        unformatted="$unformatted $f"
    fi
done
if [ -n "$unformatted" ]; then
    echo "check-format: these files are not laid out as .clang-format says:" >&2
    for f in $unformatted; do echo "  $f" >&2; done
    echo "check-format: bash scripts/check-format.sh --apply lays them out" >&2
    exit 1
fi
echo "check-format: $(echo "$files" | wc -l) files laid out as .clang-format says"

#!/bin/bash
# Prints the size of every file of package/size_targets.txt found in a folder
# (or below it) beside its target, and fails when one is larger.
# Usage: check-size-targets.sh <folder>
set -u
folder="$1"
targets="$(cd "$(dirname "$0")/.." && pwd)/package/size_targets.txt"
failed=0
while read -r name limit_kb; do
    case "$name" in ''|'#'*) continue ;; esac
    file="$(find "$folder" -name "$name" -type f | head -n 1)"
    [ -n "$file" ] || continue
    bytes=$(stat -c %s "$file")
    verdict="ok"
    if [ "$bytes" -gt $((limit_kb * 1024)) ]; then
        verdict="OVER THE TARGET"
        failed=1
    fi
    awk -v n="$name" -v b="$bytes" -v l="$limit_kb" -v v="$verdict" \
        'BEGIN { printf "%-15s %7.1f KB  (at most %d KB)  %s\n", n, b / 1024, l, v }'
done <"$targets"
exit $failed

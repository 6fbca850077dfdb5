#!/bin/bash
# Moves the debug information of a linked program into <symbols folder>/<name>.debug
# and leaves the program stripped, with a debug link (file name and checksum)
# by which a debugger finds that file again for a crash dump.
# Usage: split-debug-info.sh <objcopy> <program> <symbols folder>
set -eu
objcopy="$1"
program="$2"
symbols="$3"
debug_file="$symbols/$(basename "$program").debug"
mkdir -p "$symbols"
"$objcopy" --only-keep-debug "$program" "$debug_file"
"$objcopy" --strip-all --add-gnu-debuglink="$debug_file" "$program"

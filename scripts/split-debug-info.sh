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
# objcopy writes the time of the copy into the header, or SOURCE_DATE_EPOCH:
# 0 keeps the linker's "no time", so that the same sources give the same
# program and the same debug file (whose checksum the debug link holds).
SOURCE_DATE_EPOCH=0 "$objcopy" --only-keep-debug "$program" "$debug_file"
SOURCE_DATE_EPOCH=0 "$objcopy" --strip-all --add-gnu-debuglink="$debug_file" "$program"

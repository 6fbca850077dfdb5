#!/bin/bash
# Converts a UTF-8 text with LF line ends into the CP932 text with CRLF line
# ends that Windows users and the profile reader expect.
set -e
iconv -f UTF-8 -t CP932 "$1" | sed 's/\r*$/\r/' > "$2.tmp"
mv "$2.tmp" "$2"

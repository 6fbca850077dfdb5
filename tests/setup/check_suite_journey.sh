#!/bin/bash
# Builds the install package as make package does, then lets the journey
# test install it, use it and uninstall it in the test desktop.
# Arguments: the build's bin folder, the test program, an output folder.
set -u
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/../../scripts/wine-env.sh"
bin="$1"
program="$2"
out="$3"
rm -rf "$out"
mkdir -p "$out"
if ! bash "$here/../../scripts/make-package.sh" "$bin" "$out/package" >"$out/package.log" 2>&1; then
    cat "$out/package.log"
    echo "FAIL: the package could not be built"
    exit 1
fi
windows_package="Z:$(echo "$out/package/" | tr '/' '\\')"
QUELT_JOURNEY_PACKAGE="$windows_package" wine "$program"

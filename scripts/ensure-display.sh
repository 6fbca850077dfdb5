#!/bin/bash
# Starts the private Xvfb server that wine-env.sh chose when no display was
# set, and waits until it answers.
source "$(dirname "$0")/wine-env.sh"
[ -n "$QUELT_NEED_XVFB" ] || exit 0
if xdpyinfo -display "$DISPLAY" >/dev/null 2>&1; then exit 0; fi
num=${DISPLAY#:}
rm -f "/tmp/.X${num}-lock" "/tmp/.X11-unix/X${num}"
setsid Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
for _ in $(seq 1 100); do
    if xdpyinfo -display "$DISPLAY" >/dev/null 2>&1; then exit 0; fi
    sleep 0.1
done
echo "ensure-display: Xvfb did not start on $DISPLAY" >&2
exit 1

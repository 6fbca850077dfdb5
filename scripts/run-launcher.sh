#!/bin/bash
# Starts the launcher in the Wine virtual desktop, with its default files.
# Without a display of the user's own the desktop lives in a private Xvfb;
# it is then also served over VNC on the loopback address, and Ctrl+C stops
# the launcher, the VNC server and the Xvfb started here.
set -e
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/wine-env.sh"
bash "$here/ensure-prefix.sh"
program="$QUELT_BUILD/bin/quelt_.exe"
if [ ! -f "$program" ]; then
    echo "run-launcher: the launcher is not built yet; starting the folder picker test instead"
    program="$QUELT_BUILD/bin/support_picker_tests.exe"
fi
if [ -z "${QUELT_NEED_XVFB:-}" ]; then
    bash "$here/ensure-display.sh"
    exec wine "$program"
fi

QUELT_WITH_VNC=1 bash "$here/install-deps.sh"
started_xvfb=""
xdpyinfo -display "$DISPLAY" >/dev/null 2>&1 || started_xvfb=1
bash "$here/ensure-display.sh"

# The first port from 5900 that nothing listens on.
port_in_use() { (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null; }
port=5900
while port_in_use "$port"; do
    port=$((port + 1))
    [ "$port" -lt 6000 ] || { echo "run-launcher: no free VNC port from 5900 to 5999" >&2; exit 1; }
done

vnc_pid=""
launcher_pid=""
# Ctrl+C is the normal way out; otherwise the run's own status stays.
stop() {
    local status="$1"
    trap - INT TERM EXIT
    set +e
    [ -z "$launcher_pid" ] || kill "$launcher_pid" 2>/dev/null
    wineserver -k 2>/dev/null
    [ -z "$vnc_pid" ] || kill "$vnc_pid" 2>/dev/null
    [ -z "$started_xvfb" ] || pkill -f "^Xvfb $DISPLAY( |\$)" 2>/dev/null
    wait 2>/dev/null
    exit "$status"
}
trap 'stop 0' INT TERM
trap 'stop $?' EXIT

x11vnc -display "$DISPLAY" -rfbport "$port" -localhost -nopw -forever -shared -quiet \
    </dev/null >"$QUELT_BUILD/x11vnc.log" 2>&1 &
vnc_pid=$!
for _ in $(seq 1 100); do
    port_in_use "$port" && break
    kill -0 "$vnc_pid" 2>/dev/null || { echo "run-launcher: x11vnc did not start (see $QUELT_BUILD/x11vnc.log)" >&2; exit 1; }
    sleep 0.1
done
echo "make run: no display here; the launcher's desktop is at VNC 127.0.0.1:$port (vncviewer 127.0.0.1:$port; from another machine first ssh -L $port:127.0.0.1:$port this-machine). Alt+1 shows the input box; Ctrl+C stops it all."
wine "$program" &
launcher_pid=$!
wait "$launcher_pid" || true

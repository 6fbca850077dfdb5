# Helpers for end-to-end tests in the Wine virtual desktop. Every wait has a
# time limit and checks a condition; none sleeps a fixed time and hopes.

fail() {
    echo "FAIL: $*"
    exit 1
}

# Code under test deletes folder trees: none of the user's shell folders of
# the prefix may be a link, which could lead to the Unix home folder.
require_plain_shell_folders() {
    local links
    links="$(find "$WINEPREFIX/drive_c/users" -mindepth 2 -type l 2>/dev/null)"
    [ -d "$WINEPREFIX/drive_c/users" ] || fail "no users folder in $WINEPREFIX"
    [ -z "$links" ] || fail "shell folders of the prefix are links: $links"
}

# The Windows name of a Unix path (Wine maps / to Z:).
windows_path() {
    echo "Z:$(echo "$1" | tr '/' '\\')"
}

# wait_for_file PATH SECONDS: true once PATH exists.
wait_for_file() {
    local deadline=$((SECONDS + $2))
    while [ $SECONDS -lt $deadline ]; do
        [ -e "$1" ] && return 0
        sleep 0.1
    done
    [ -e "$1" ]
}

# wait_for_desktop SECONDS: prints the X window id of the Wine desktop.
wait_for_desktop() {
    local deadline=$((SECONDS + $1)) id
    while [ $SECONDS -lt $deadline ]; do
        id=$(xdotool search --name 'Wine desktop' 2>/dev/null | head -1)
        if [ -n "$id" ]; then
            echo "$id"
            return 0
        fi
        sleep 0.2
    done
    return 1
}

# session_desktop SECONDS: prints the X window of this prefix's virtual
# desktop, the "Wine desktop" window whose process runs in $WINEPREFIX.
session_desktop() {
    local deadline=$((SECONDS + $1)) id pid
    while [ $SECONDS -lt $deadline ]; do
        for id in $(xdotool search --name 'Wine desktop' 2>/dev/null); do
            pid=$(xdotool getwindowpid "$id" 2>/dev/null) || continue
            if tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null |
                grep -qxF "WINEPREFIX=$WINEPREFIX"; then
                echo "$id"
                return 0
            fi
        done
        sleep 0.2
    done
    return 1
}

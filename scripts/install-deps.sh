#!/bin/bash
# Installs the Debian packages and the ja_JP.UTF-8 locale that the build and
# the tests need. Quiet and quick when everything is already there.
set -e

PACKAGES="g++-mingw-w64-i686 wine wine32:i386 xvfb xdotool x11-utils imagemagick
locales fonts-ipafont-gothic fonts-ipafont-mincho fonts-wine googletest liblnk-utils cmake ninja-build
fp-utils libchm-bin zip unzip wine64 g++-mingw-w64-x86-64-posix clang-format"
# fp-utils: chmcmd compiles the help file; libchm-bin: extract_chmLib reads it
# back in the package test; zip packs the install package; wine64 and the
# 64-bit compiler give the 64-bit prefix of the launcher's test there, and
# the 64-bit stand-in for machines that run no 32-bit code (make test64);
# clang-format checks the layout of the sources (scripts/check-format.sh).
# make run on a machine without a display serves its desktop over VNC.
if [ -n "${QUELT_WITH_VNC:-}" ]; then
    PACKAGES="$PACKAGES x11vnc"
fi

missing=""
for p in $PACKAGES; do
    name=${p%%:*}
    arch=${p#*:}; [ "$arch" = "$p" ] && arch=""
    query=$name${arch:+:$arch}
    if ! dpkg-query -W -f='${Status}' "$query" 2>/dev/null | grep -q "ok installed"; then
        missing="$missing $p"
    fi
done

SUDO=""
if [ "$(id -u)" != 0 ]; then SUDO="sudo"; fi

if [ -n "$missing" ]; then
    echo "install-deps: installing$missing"
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        $SUDO dpkg --add-architecture i386
    fi
    export DEBIAN_FRONTEND=noninteractive
    # A mirror in the middle of a sync serves one index with the wrong size
    # for a few minutes ("Mirror sync in progress?"): try again after a pause.
    log=$(mktemp)
    for try in 1 2 3 4; do
        if $SUDO apt-get update -qq >"$log" 2>&1 && ! grep -q '^[EW]: Failed to fetch' "$log"; then
            break
        fi
        if [ "$try" = 4 ]; then break; fi
        echo "install-deps: the package index update failed (try $try of 4); trying again in 30 s"
        sed -n 's/^[EW]: \(Failed to fetch [^ ]*\).*/  \1/p' "$log"
        sleep 30
    done
    if ! $SUDO apt-get install -y -qq --no-install-recommends $missing >/dev/null; then
        echo "install-deps: could not install$missing."
        failed=$(sed -n 's/^[EW]: Failed to fetch \([^ ]*\).*/\1/p' "$log" | sort -u)
        if [ -n "$failed" ]; then
            echo "install-deps: these package indexes could not be fetched:"
            echo "$failed" | sed 's/^/  /'
            echo "install-deps: when apt says \"Mirror sync in progress?\", the mirror is being updated:"
            echo "  run make again in a few minutes, or leave that suite out of /etc/apt/sources.list.d/ for this one install."
        else
            echo "install-deps: see the apt-get messages above; 'apt-get update' and a second try may help."
        fi
        rm -f "$log"
        exit 1
    fi
    rm -f "$log"
fi

# Wine takes its ANSI code page from LANG; without the generated locale it
# silently falls back to 1252 and every Shift-JIS rule breaks.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
    echo "install-deps: generating ja_JP.UTF-8"
    if ! grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
        echo 'ja_JP.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
    fi
    $SUDO locale-gen >/dev/null
fi

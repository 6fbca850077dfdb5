#!/bin/bash
# Exits 0 when this machine runs 32-bit x86 programs, and so 32-bit Wine,
# itself. Some kernels are built without IA-32 emulation: a 32-bit program
# then fails with "Exec format error", or, where a user-mode emulator was
# registered for them, runs so slowly that Wine's start-up crashes or takes
# most of an hour. Neither can run the suite.
for entry in /proc/sys/fs/binfmt_misc/*; do
    [ -f "$entry" ] || continue
    if grep -qx enabled "$entry" 2>/dev/null &&
        grep -q '^interpreter .*qemu-i386' "$entry" 2>/dev/null; then
        exit 1
    fi
done
timeout 60 /usr/lib/wine/wine --version >/dev/null 2>&1 </dev/null

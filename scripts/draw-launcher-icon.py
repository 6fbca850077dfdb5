#!/usr/bin/env python3
"""Draws the launcher's icon (16x16 and 32x32, 32-bit with alpha) into an
.ico file: a blue rounded key cap with a white prompt chevron and cursor.
Run: python3 scripts/draw-launcher-icon.py launcher/quelt_.ico"""
import struct
import sys

SUPER = 8  # samples per pixel edge for the anti-aliasing


def inside_rounded(x, y, size, radius):
    lo, hi = 0.5, size - 0.5
    cx = min(max(x, lo + radius), hi - radius)
    cy = min(max(y, lo + radius), hi - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2 and lo <= x <= hi and lo <= y <= hi


def near_segment(x, y, ax, ay, bx, by, half_width):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
    px, py = ax + t * dx, ay + t * dy
    return (x - px) ** 2 + (y - py) ** 2 <= half_width ** 2


def shade(x, y, size):
    """Colour (r, g, b, a) of one sample."""
    s = size / 32.0
    if not inside_rounded(x, y, size, 6.0 * s):
        return (0, 0, 0, 0)
    # Rim, then a face that is lighter at the top.
    if not inside_rounded(x, y, size, 6.0 * s) or not (
            1.5 * s <= x <= size - 1.5 * s and 1.5 * s <= y <= size - 1.5 * s):
        return (16, 48, 110, 255)
    w = 2.2 * s
    chevron = (near_segment(x, y, 8 * s, 9 * s, 16 * s, 16 * s, w) or
               near_segment(x, y, 16 * s, 16 * s, 8 * s, 23 * s, w))
    cursor = 17.5 * s <= x <= 25 * s and 20.5 * s <= y <= 24.5 * s
    if chevron or cursor:
        return (255, 255, 255, 255)
    t = y / size
    return (int(70 - 40 * t), int(140 - 60 * t), int(225 - 45 * t), 255)


def render(size):
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0, 0, 0, 0]
            for sy in range(SUPER):
                for sx in range(SUPER):
                    r, g, b, a = shade(px + (sx + 0.5) / SUPER, py + (sy + 0.5) / SUPER, size)
                    acc[0] += r * a
                    acc[1] += g * a
                    acc[2] += b * a
                    acc[3] += a
            n = SUPER * SUPER
            alpha = acc[3] / n
            if acc[3]:
                row.append((round(acc[0] / acc[3]), round(acc[1] / acc[3]),
                            round(acc[2] / acc[3]), round(alpha)))
            else:
                row.append((0, 0, 0, 0))
        rows.append(row)
    return rows


def dib(size):
    rows = render(size)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b''.join(struct.pack('BBBB', b, g, r, a)
                      for row in reversed(rows) for (r, g, b, a) in row)
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a < 128:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + pixels + bytes(mask)


def main(path):
    images = [dib(16), dib(32)]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in zip((16, 32), images):
        out += struct.pack('<BBBBHHII', size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out += b''.join(images)
    with open(path, 'wb') as f:
        f.write(out)


if __name__ == '__main__':
    main(sys.argv[1])

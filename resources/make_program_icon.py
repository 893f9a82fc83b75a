#!/usr/bin/env python3
"""Draws the program icon, DEFAULT_ICON: a program window whose picture is being taken out into an
icon tile, in the 16 standard colours at 16, 32 and 48 pixels. Writes program_icon.ico beside this
script; icotake-gui.rc compiles that file in. Run again after changing a picture.

Usage: make_program_icon.py [output.ico] [preview.png-prefix]
"""
import struct
import sys
from pathlib import Path

# The standard 16-colour palette, in the order that 4-bit images index it.
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
    (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
    (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, MAROON, GREEN, OLIVE, NAVY, PURPLE, TEAL, SILVER, GREY, RED, LIME, YELLOW, BLUE, FUCHSIA, AQUA, WHITE = range(16)
CLEAR = None  # transparent: AND-mask bit set


def draw(size):
    px = [[CLEAR] * size for _ in range(size)]

    def at(f):
        return int(round(f * size))

    def rect(x0, y0, x1, y1, colour):  # inclusive pixel bounds
        for y in range(max(0, y0), min(size, y1 + 1)):
            for x in range(max(0, x0), min(size, x1 + 1)):
                px[y][x] = colour

    def frame(x0, y0, x1, y1, colour):
        rect(x0, y0, x1, y0, colour)
        rect(x0, y1, x1, y1, colour)
        rect(x0, y0, x0, y1, colour)
        rect(x1, y0, x1, y1, colour)

    # The program window: grey face, navy title bar, a white close box, a black outline.
    wx0, wy0, wx1, wy1 = 0, at(0.03), at(0.72) - 1, at(0.66) - 1
    rect(wx0, wy0, wx1, wy1, SILVER)
    bar = max(3, at(0.16))
    rect(wx0, wy0, wx1, wy0 + bar - 1, NAVY)
    if size >= 32:
        box = bar - 4
        rect(wx1 - 2 - box, wy0 + 2, wx1 - 2, wy0 + 1 + box, SILVER)
    frame(wx0, wy0, wx1, wy1, BLACK)
    # The picture inside it, the source of the icon: a yellow square on white.
    ix0, iy0 = wx0 + at(0.08), wy0 + bar + at(0.04)
    iw = at(0.18)
    rect(ix0, iy0, ix0 + iw - 1, iy0 + iw - 1, WHITE)
    rect(ix0 + 1, iy0 + 1, ix0 + iw - 2, iy0 + iw - 2, YELLOW)
    frame(ix0, iy0, ix0 + iw - 1, iy0 + iw - 1, GREY)

    # The icon tile that comes out: aqua sky, yellow sun, green hill, black outline.
    tx0, ty0, tx1, ty1 = at(0.5), at(0.5), size - 1, size - 1
    rect(tx0, ty0, tx1, ty1, AQUA)
    cx, cy, r = tx0 + (tx1 - tx0) * 0.35, ty0 + (ty1 - ty0) * 0.35, max(1.2, (tx1 - tx0) * 0.18)
    for y in range(ty0 + 1, ty1):
        for x in range(tx0 + 1, tx1):
            if (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= r * r:
                px[y][x] = YELLOW
            # the hill: a parabola rising from the tile's lower edge
            u = (x + 0.5 - tx0) / (tx1 - tx0 + 1)
            hill = ty1 - (ty1 - ty0) * (0.55 - 1.6 * (u - 0.7) ** 2)
            if y + 0.5 >= hill:
                px[y][x] = GREEN
    frame(tx0, ty0, tx1, ty1, BLACK)

    # A red arrow from the picture down to the tile's corner.
    head = max(3, at(0.15))
    half = max(0.75, size * 0.035)
    ax, ay = ix0 + iw / 2, iy0 + iw / 2
    bx, by = tx0 - head / 2, ty0 - head / 2
    length2 = (bx - ax) ** 2 + (by - ay) ** 2
    for y in range(size):
        for x in range(size):
            qx, qy = x + 0.5, y + 0.5
            t = max(0.0, min(1.0, ((qx - ax) * (bx - ax) + (qy - ay) * (by - ay)) / length2))
            near = (qx - ax - t * (bx - ax)) ** 2 + (qy - ay - t * (by - ay)) ** 2 <= half * half
            tip = tx0 - head <= x <= tx0 and ty0 - head <= y <= ty0 and (x - (tx0 - head)) + (y - (ty0 - head)) >= head
            if (near and t > 0.45) or tip:
                px[y][x] = RED
    return px


def image_bytes(px):
    size = len(px)
    header = struct.pack('<IiiHHIIiiII', 40, size, 2 * size, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in PALETTE)
    xor_row = ((size * 4 + 31) // 32) * 4
    and_row = ((size + 31) // 32) * 4
    xor = bytearray()
    mask = bytearray()
    for y in reversed(range(size)):  # bottom-up rows
        row = bytearray(xor_row)
        bits = bytearray(and_row)
        for x in range(size):
            c = px[y][x]
            if c is None:
                bits[x // 8] |= 0x80 >> (x % 8)
                c = 0
            row[x // 2] |= c << (4 if x % 2 == 0 else 0)
        xor += row
        mask += bits
    return header + palette + bytes(xor) + bytes(mask)


def icon_file(images):
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    blobs = []
    for size, data in images:
        out += struct.pack('<BBBBHHII', size % 256, size % 256, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
        blobs.append(data)
    return out + b''.join(blobs)


def main():
    here = Path(__file__).resolve().parent
    target = Path(sys.argv[1]) if len(sys.argv) > 1 else here / 'program_icon.ico'
    pictures = {size: draw(size) for size in (16, 32, 48)}
    target.write_bytes(icon_file([(size, image_bytes(px)) for size, px in pictures.items()]))
    if len(sys.argv) > 2:  # a large preview of each size, for looking at
        for size, px in pictures.items():
            scale = 8
            rows = []
            for y in range(size * scale):
                row = b''
                for x in range(size * scale):
                    c = px[y // scale][x // scale]
                    row += bytes(PALETTE[c]) if c is not None else b'\xff\x00\xff'
                rows.append(row)
            ppm = f'P6 {size * scale} {size * scale} 255\n'.encode() + b''.join(rows)
            Path(f'{sys.argv[2]}{size}.ppm').write_bytes(ppm)


if __name__ == '__main__':
    main()

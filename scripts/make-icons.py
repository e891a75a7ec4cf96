#!/usr/bin/env python3
"""Draws the program's icons (a small photo frame with a mountain and a sun) into src/resources."""
import struct, sys, os

def draw(size):
    px = []
    s = size / 16.0
    for y in range(size - 1, -1, -1):          # ICO bitmaps are stored bottom-up
        row = []
        for x in range(size):
            fx, fy = x / s, y / s
            a = 255
            if fx < 0.5 or fx > 15.5 or fy < 1.5 or fy > 14.5:
                r = g = b = 0; a = 0
            elif fx < 1.5 or fx > 14.5 or fy < 2.5 or fy > 13.5:
                r, g, b = 40, 70, 150                # frame
            else:
                r, g, b = 150, 200, 245              # sky
                if (fx - 10.5) ** 2 + (fy - 5.5) ** 2 < 3.2:
                    r, g, b = 255, 210, 60           # sun
                if fy > 13.5 - (6.5 - abs(fx - 6.0)) * 1.2:
                    r, g, b = 60, 140, 70            # mountain
            row.append(bytes((b, g, r, a)))
        px.append(b"".join(row))
    xor = b"".join(px)
    mask_row = ((size + 31) // 32) * 4
    andmask = b"\0" * (mask_row * size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(andmask), 0, 0, 0, 0)
    return header + xor + andmask

def ico(sizes):
    images = [draw(s) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for s, img in zip(sizes, images):
        out += struct.pack("<BBBBHHII", s % 256, s % 256, 0, 0, 1, 32, len(img), offset)
        offset += len(img)
    return out + b"".join(images)

here = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "src", "resources")
open(os.path.join(here, "AppTray.ico"), "wb").write(ico([16]))
open(os.path.join(here, "Lumadex.ico"), "wb").write(ico([16, 32, 48]))

#!/usr/bin/env python3
"""Draws the main window's two skin pictures into src/resources.

SkinCaption.bmp (640 x 48, 24 bits): the caption strip. The caption painter cuts it up as
follows (window metrics 90, 140, 240, offset 400, buttons 19 x 20):
  x 0..89      left end of the active caption (frame corner and the program's emblem)
  x 91..142    middle tile, repeated across the caption
  x 140..240   right end (x 240 lands one pixel past the window's right edge)
  x 241..315   button glyphs: close from 241, restore from 259, maximise from 278, minimise
               from 297; rows 0..19 normal, rows 20..39 pressed. A glyph lands at caption row 5.
  x 400..640   the same three pieces for the inactive caption.
SkinBorder.bmp (70 x 10, 8 bits): 10 x 10 cells, 0 left edge, 2 bottom-left corner,
  3 bottom edge, 4 right edge, 6 bottom-right corner (1 and 5 unused).

The title band runs the full width under a one-pixel outline; below it the caption's outer ten
columns carry the border's own profile, so the borders continue the caption without a seam. The
frame stays blue on an inactive window and only the caption's face turns grey.
"""
import os
import struct

W, H = 640, 48
LEFT_END, RIGHT_START, RIGHT_END, INACTIVE = 90, 140, 240, 400
BW, BH = 19, 20
BORDER = 10
STRIP_TOP = 32          # the lower band, where a menu bar would sit


def lerp(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def hexc(s):
    return (int(s[0:2], 16), int(s[2:4], 16), int(s[4:6], 16))


OUTLINE = hexc("0d3478")
HIGHLIGHT = hexc("9ccbff")
INNER_LINE = hexc("6f98cf")


def frame_profile(e):
    """Colour of the frame at distance e (0 = outer edge, 9 = next to the client area)."""
    if e <= 0:
        return OUTLINE
    if e == 1:
        return hexc("7db6f2")
    if e >= 9:
        return INNER_LINE
    if e == 8:
        return hexc("1c58b0")
    return lerp(hexc("3f8fe9"), hexc("2767c6"), (e - 2) / 5.0)


def face(y):
    """The caption's face at row y, between the side frames."""
    if y == 0:
        return OUTLINE
    if y == 1:
        return HIGHLIGHT
    if y < STRIP_TOP:
        # title band: light at the top, deeper blue below, with a soft glassy break half-way
        t = (y - 2) / float(STRIP_TOP - 3)
        if t < 0.45:
            return lerp(hexc("5eaaf4"), hexc("3d8ce8"), t / 0.45)
        return lerp(hexc("2f7ddd"), hexc("2061c4"), (t - 0.45) / 0.55)
    if y == STRIP_TOP:
        return hexc("1a4f9e")
    if y == STRIP_TOP + 1:
        return hexc("8ec0f2")
    if y == H - 1:
        return INNER_LINE
    t = (y - STRIP_TOP - 2) / float(H - STRIP_TOP - 3)
    return lerp(hexc("4c97ea"), hexc("3278d6"), t)


def grey(c):
    """The inactive look of a face colour: mostly grey, a hint of the blue left."""
    g = int(round(0.30 * c[0] + 0.59 * c[1] + 0.11 * c[2]))
    g = min(255, int(g * 0.85 + 70))
    return lerp((g, g, g), c, 0.22)


def caption_pixel(xl, d, y, active):
    """xl: distance from the window's left edge (None in the middle); d: from its right edge."""
    e_side = min(v for v in (xl, d) if v is not None) if (xl is not None or d is not None) else 99
    if y > STRIP_TOP and e_side < BORDER:
        return frame_profile(e_side)            # the side frame, the same in both looks
    if e_side <= 0 or y == 0:
        return OUTLINE
    if e_side == 1 or y == 1:
        return HIGHLIGHT if y < STRIP_TOP else frame_profile(1)
    c = face(y)
    return c if active else grey(c)


def emblem(px, ox, oy, active):
    """The program's emblem (a small photo with a mountain and a sun) in the icon spot."""
    for y in range(20):
        for x in range(24):
            if x in (0, 23) or y in (0, 19):
                c = hexc("f4f8ff")
            elif x in (1, 22) or y in (1, 18):
                c = hexc("dfe9f7")
            else:
                c = hexc("9fd0fa")
                if (x - 16) ** 2 + (y - 6) ** 2 < 8:
                    c = hexc("ffd23c")
                if y > 17 - (8 - abs(x - 9)) * 1.3:
                    c = hexc("3f9a52")
            if not active:
                c = grey(c)
            px[oy + y][ox + x] = c


def button(px, ox, kind, pressed):
    """One 19 x 20 button glyph with the caption face of rows 5..24 around it."""
    oy = BH if pressed else 0
    for y in range(BH):
        for x in range(BW):
            px[oy + y][ox + x] = face(y + 5)
    if kind == "close":
        top, bottom = (hexc("f07a62"), hexc("c5361f")) if not pressed else (hexc("a92a17"), hexc("cf4a33"))
        edge = hexc("7d1a0c")
    else:
        top, bottom = (hexc("7fbdf8"), hexc("3b84de")) if not pressed else (hexc("1f5cb8"), hexc("3a7fd6"))
        edge = hexc("123f88")
    # The button fills its whole cell: the same glyph sits on the active and the inactive
    # caption, so no caption colour may show around it. Corners are softened towards a grey
    # that suits both looks.
    x0, x1, y0, y1 = 0, BW - 1, 0, BH - 1
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            corner = (x in (x0, x1)) and (y in (y0, y1))
            if corner:
                px[oy + y][ox + x] = lerp(edge, hexc("8aa0bc"), 0.6)
                continue
            if x in (x0, x1) or y in (y0, y1):
                c = edge
            else:
                c = lerp(top, bottom, (y - y0) / float(y1 - y0))
                if y == y0 + 1 and not pressed:
                    c = lerp(c, (255, 255, 255), 0.45)
            px[oy + y][ox + x] = c
    s = 1 if pressed else 0
    white = (255, 255, 255)
    shade = lerp(bottom, edge, 0.5)

    def put(x, y, c=white):
        px[oy + y + s][ox + x + s] = c

    if kind == "close":
        for i in range(7):
            for dx in (0, 1):
                put(6 + i + dx - 1, 6 + i)
                put(12 - i + dx - 1, 6 + i)
    elif kind == "minimize":
        for x in range(5, 13):
            put(x, 12)
            put(x, 13)
            put(x, 14, shade)
    elif kind == "maximize":
        for x in range(5, 14):
            put(x, 5); put(x, 6); put(x, 13)
        for y in range(5, 14):
            put(5, y); put(13, y)
    elif kind == "restore":
        for x in range(7, 14):
            put(x, 4); put(x, 5)
        for y in range(4, 11):
            put(13, y)
        for x in range(4, 11):
            put(x, 7); put(x, 8); put(x, 14)
        for y in range(7, 15):
            put(4, y); put(10, y)


def caption():
    px = [[(0, 0, 0)] * W for _ in range(H)]
    for off, active in ((0, True), (INACTIVE, False)):
        for y in range(H):
            for p in range(0, LEFT_END):                       # left end
                px[y][off + p] = caption_pixel(p, None, y, active)
            for p in range(LEFT_END, RIGHT_START):             # tile (and the column before it)
                px[y][off + p] = caption_pixel(None, None, y, active)
            for p in range(RIGHT_START, RIGHT_END + 1):        # right end
                if off + p < W:
                    px[y][off + p] = caption_pixel(None, RIGHT_END - 1 - p, y, active)
        emblem(px, off + 15, 12, active)
    for x in range(RIGHT_END + 1, INACTIVE):                   # behind the glyphs
        for y in range(H):
            px[y][x] = face(y)
    # Close is read from x 241, so its last column is the restore glyph's first; close, which
    # every window with a system menu shows, is drawn last and keeps it.
    for ox, kind in ((259, "restore"), (278, "maximize"), (297, "minimize"), (241, "close")):
        button(px, ox, kind, False)
        button(px, ox, kind, True)
    return px


def border():
    px = [[(0, 0, 0)] * 70 for _ in range(BORDER)]
    for y in range(BORDER):
        for x in range(BORDER):
            px[y][0 + x] = frame_profile(x)                    # left edge
            px[y][10 + x] = frame_profile(x)                   # unused, kept plausible
            px[y][30 + x] = frame_profile(9 - y)               # bottom edge
            px[y][40 + x] = frame_profile(9 - x)               # right edge
            px[y][50 + x] = frame_profile(9 - x)
            px[y][20 + x] = frame_profile(min(x, 9 - y))       # bottom-left corner
            px[y][60 + x] = frame_profile(min(9 - x, 9 - y))   # bottom-right corner
    return px


def bmp24(px):
    h, w = len(px), len(px[0])
    stride = (w * 3 + 3) & ~3
    rows = []
    for row in reversed(px):
        b = b"".join(bytes((c[2], c[1], c[0])) for c in row)
        rows.append(b + b"\0" * (stride - len(b)))
    data = b"".join(rows)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    head = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(data), 0, 0, 14 + 40)
    return head + info + data


def bmp8(px):
    h, w = len(px), len(px[0])
    palette = sorted({c for row in px for c in row})
    assert len(palette) <= 256
    index = {c: i for i, c in enumerate(palette)}
    stride = (w + 3) & ~3
    data = b"".join(bytes(index[c] for c in row) + b"\0" * (stride - w) for row in reversed(px))
    pal = b"".join(bytes((c[2], c[1], c[0], 0)) for c in palette) + b"\0" * 4 * (256 - len(palette))
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 8, 0, len(data), 2835, 2835, 256, 0)
    off = 14 + 40 + len(pal)
    head = struct.pack("<2sIHHI", b"BM", off + len(data), 0, 0, off)
    return head + info + pal + data


here = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "src", "resources")
open(os.path.join(here, "SkinCaption.bmp"), "wb").write(bmp24(caption()))
open(os.path.join(here, "SkinBorder.bmp"), "wb").write(bmp8(border()))

#!/usr/bin/env python3
"""Draws the images of the xpstyle dialog theme into skin/xpstyle/.

Plain code, no image library: every picture is a list of rows of (r, g, b)
written as a 24-bit bitmap. Magenta (255, 0, 255) is the theme's transparent
colour: it rounds the caption's corners and the caption buttons.

    python3 skin/make-xpstyle.py
"""
import os
import struct

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "xpstyle")
TRANS = (255, 0, 255)
CAPTION = 26  # caption height: half the top image
BORDER = 4    # left, right and bottom thickness


def write_bmp(name, rows):
    height = len(rows)
    width = len(rows[0])
    pad = (4 - width * 3 % 4) % 4
    data = bytearray()
    for row in reversed(rows):  # bitmaps are stored bottom-up
        for (r, g, b) in row:
            data += bytes((b, g, r))
        data += b"\0" * pad
    header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(header + info + data)


def mix(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def gradient(stops, n):
    """n colours through the (position 0..1, colour) stops."""
    out = []
    for y in range(n):
        t = y / (n - 1)
        for (p0, c0), (p1, c1) in zip(stops, stops[1:]):
            if p0 <= t <= p1:
                out.append(mix(c0, c1, (t - p0) / (p1 - p0) if p1 > p0 else 0))
                break
    return out


# Caption colours from top to bottom, active and inactive.
CAPTION_ROWS = {
    True: gradient([(0, (90, 160, 255)), (0.12, (20, 110, 245)), (0.5, (0, 86, 226)), (1, (0, 62, 196))], CAPTION),
    False: gradient([(0, (180, 204, 245)), (0.12, (150, 180, 238)), (0.5, (128, 160, 228)), (1, (112, 142, 214))], CAPTION),
}
# Border columns from the outside in.
BORDER_COLS = {
    True: [(0, 30, 150), (30, 110, 240), (10, 84, 222), (0, 62, 196)],
    False: [(100, 126, 196), (170, 194, 240), (140, 168, 228), (112, 142, 214)],
}


def top_half(active):
    # 40 columns: a 6-pixel glow at each end, a plain middle that repeats.
    width = 40
    rows = []
    for y in range(CAPTION):
        row = []
        for x in range(width):
            c = CAPTION_ROWS[active][y]
            if x < 6:
                c = mix(c, (255, 255, 255), 0.05 * (6 - x))
            elif x >= width - 6:
                c = mix(c, (0, 0, 0), 0.02 * (x - width + 7))
            row.append(c)
        rows.append(row)
    rows[0] = [mix(c, (255, 255, 255), 0.35) for c in rows[0]]  # a light top line
    return rows


def side_half(active, left):
    # 40 rows: the caption part (26, fixed), 10 rows of border that repeat,
    # 4 fixed rows that close the bottom corner.
    rows = []
    for y in range(40):
        row = []
        for i in range(BORDER):  # i counts from the outside in
            if y < CAPTION:
                c = mix(CAPTION_ROWS[active][y], BORDER_COLS[active][0], 0.6 if i == 0 else 0.0)
                if y == 0:
                    c = mix(c, (255, 255, 255), 0.35)
            else:
                c = BORDER_COLS[active][i]
            if y == 39:
                c = BORDER_COLS[active][0]
            row.append(c)
        # Rounded outer corner of the caption.
        for (yy, ii) in ((0, 0), (0, 1), (0, 2), (1, 0), (2, 0)):
            if y == yy:
                row[ii] = TRANS
        rows.append(row if not left else row)
    if left:
        return rows
    return [list(reversed(r)) for r in rows]


def side_image(left):
    a = side_half(True, left)
    i = side_half(False, left)
    return [a[y] + i[y] for y in range(len(a))]


def bottom_image():
    rows = []
    for active in (True, False):
        for k in range(BORDER):  # from the inside out
            rows.append([BORDER_COLS[active][BORDER - 1 - k]] * 16)
    return rows


CELL = 21


def button_cell(kind, state):
    """kind: close, maximise, restore, minimise; state 0 normal, 1 pressed, 2 hover."""
    if kind == "close":
        top, bottom = (236, 120, 90), (200, 60, 30)
    else:
        top, bottom = (70, 140, 250), (20, 90, 225)
    if state == 1:
        top, bottom = mix(top, (0, 0, 0), 0.3), mix(bottom, (0, 0, 0), 0.2)
    elif state == 2:
        top, bottom = mix(top, (255, 255, 255), 0.3), mix(bottom, (255, 255, 255), 0.2)
    fill = gradient([(0, top), (1, bottom)], CELL)
    rows = [[fill[y] for x in range(CELL)] for y in range(CELL)]
    edge = (235, 240, 255)
    for k in range(CELL):
        for (x, y) in ((k, 0), (k, CELL - 1), (0, k), (CELL - 1, k)):
            rows[y][x] = edge
    for (x, y) in ((0, 0), (1, 0), (0, 1)):
        for (xx, yy) in ((x, y), (CELL - 1 - x, y), (x, CELL - 1 - y), (CELL - 1 - x, CELL - 1 - y)):
            rows[yy][xx] = TRANS
    white = (255, 255, 255)

    def dot(x, y):
        if 0 <= x < CELL and 0 <= y < CELL:
            rows[y][x] = white

    def box(x0, y0, x1, y1, heavy):
        for x in range(x0, x1 + 1):
            for t in range(heavy):
                dot(x, y0 + t)
            dot(x, y1)
        for y in range(y0, y1 + 1):
            dot(x0, y)
            dot(x1, y)

    if kind == "close":
        for k in range(6, 15):
            for w in (0, 1):
                dot(k + w, k)
                dot(20 - k - w, k)
    elif kind == "maximise":
        box(5, 5, 15, 15, 3)
    elif kind == "restore":
        box(8, 4, 16, 12, 2)
        for y in range(8, 17):
            for x in range(4, 13):
                rows[y][x] = fill[y]
        box(4, 8, 12, 16, 2)
    else:
        for y in (14, 15, 16):
            for x in range(5, 12):
                dot(x, y)
    return rows


def button_image(kind):
    cells = [button_cell(kind, s) for s in range(3)]
    return [cells[0][y] + cells[1][y] + cells[2][y] for y in range(CELL)]


def main():
    os.makedirs(OUT, exist_ok=True)
    write_bmp("top.bmp", top_half(True) + top_half(False))
    write_bmp("left.bmp", side_image(True))
    write_bmp("right.bmp", side_image(False))
    write_bmp("bottom.bmp", bottom_image())
    for kind in ("close", "maximise", "restore", "minimise"):
        write_bmp(kind + ".bmp", button_image(kind))


if __name__ == "__main__":
    main()

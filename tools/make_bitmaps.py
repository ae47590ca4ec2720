#!/usr/bin/env python3
"""Writes the program's own bitmaps and icon into resources/bitmaps/.

Each tool-bar and button picture is a 32 x 32 bitmap of one simple shape in
a colour of its own, so that every button can be told apart at a glance.
The files are committed; run this again only after changing a picture:

    python3 tools/make_bitmaps.py
"""
import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "..", "resources", "bitmaps")

BACKGROUND = (236, 233, 216)
OUTLINE = (40, 40, 40)

# file name, shape, colour (R, G, B); sizes are 32 x 32 unless given below.
PICTURES = [
    ("customers", "people", (52, 101, 164)),
    ("suppliers", "truck", (117, 80, 123)),
    ("invoice", "page", (46, 139, 87)),
    ("products", "box", (193, 125, 17)),
    ("services", "gear", (85, 87, 83)),
    ("settings", "sliders", (32, 74, 135)),
    ("company", "house", (164, 0, 0)),
    ("reports", "bars", (78, 154, 6)),
    ("sales", "rise", (245, 121, 0)),
    ("help", "ring", (52, 101, 164)),
    ("new", "plus", (78, 154, 6)),
    ("save", "disk", (32, 74, 135)),
    ("delete", "cross", (204, 0, 0)),
    ("close", "door", (143, 89, 2)),
    ("activity", "lines", (92, 53, 102)),
    ("print", "printer", (85, 87, 83)),
    ("email", "envelope", (196, 160, 0)),
    ("pdf", "corner", (204, 0, 0)),
    ("view", "eye", (52, 101, 164)),
    ("quote", "speech", (114, 159, 207)),
    ("credit", "minus", (239, 41, 41)),
    ("pay", "coin", (237, 212, 0)),
    ("statement", "list", (46, 52, 54)),
    ("labels", "tag", (173, 127, 168)),
    ("letters", "letter", (233, 185, 110)),
    ("edit", "pencil", (206, 92, 0)),
    ("stock_in", "arrow_in", (78, 154, 6)),
    ("stock_out", "arrow_out", (204, 0, 0)),
    ("export", "arrow_right", (32, 74, 135)),
    ("clone", "twin", (117, 80, 123)),
]


def blank(width, height, colour=BACKGROUND):
    return [[colour for _ in range(width)] for _ in range(height)]


def fill_rect(img, x0, y0, x1, y1, colour):
    for y in range(max(0, y0), min(len(img), y1)):
        for x in range(max(0, x0), min(len(img[0]), x1)):
            img[y][x] = colour


def frame_rect(img, x0, y0, x1, y1, colour):
    fill_rect(img, x0, y0, x1, y0 + 1, colour)
    fill_rect(img, x0, y1 - 1, x1, y1, colour)
    fill_rect(img, x0, y0, x0 + 1, y1, colour)
    fill_rect(img, x1 - 1, y0, x1, y1, colour)


def disc(img, cx, cy, r, colour):
    for y in range(len(img)):
        for x in range(len(img[0])):
            if (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= r * r:
                img[y][x] = colour


def ring(img, cx, cy, r_out, r_in, colour):
    for y in range(len(img)):
        for x in range(len(img[0])):
            d = (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2
            if r_in * r_in <= d <= r_out * r_out:
                img[y][x] = colour


def polygon(img, points, colour):
    """Fills a polygon by the even-odd rule, sampling pixel centres."""
    for y in range(len(img)):
        py = y + 0.5
        crossings = []
        for i in range(len(points)):
            (x1, y1), (x2, y2) = points[i], points[(i + 1) % len(points)]
            if (y1 <= py < y2) or (y2 <= py < y1):
                crossings.append(x1 + (py - y1) * (x2 - x1) / (y2 - y1))
        crossings.sort()
        for a, b in zip(crossings[0::2], crossings[1::2]):
            for x in range(len(img[0])):
                if a <= x + 0.5 <= b:
                    img[y][x] = colour


def line(img, x0, y0, x1, y1, colour, width=2):
    steps = int(max(abs(x1 - x0), abs(y1 - y0)) * 2) + 1
    for i in range(steps + 1):
        t = i / steps
        x, y = x0 + (x1 - x0) * t, y0 + (y1 - y0) * t
        fill_rect(img, int(x - width / 2), int(y - width / 2), int(x + width / 2) + 1,
                  int(y + width / 2) + 1, colour)


def lighter(colour, amount=0.55):
    return tuple(int(c + (255 - c) * amount) for c in colour)


def draw(shape, c):
    img = blank(32, 32)
    light = lighter(c)
    if shape == "people":
        disc(img, 11, 10, 5, c)
        fill_rect(img, 4, 17, 19, 28, c)
        disc(img, 22, 12, 4, light)
        fill_rect(img, 17, 18, 29, 28, light)
    elif shape == "truck":
        fill_rect(img, 2, 8, 20, 22, c)
        fill_rect(img, 20, 13, 29, 22, light)
        disc(img, 8, 24, 4, OUTLINE)
        disc(img, 24, 24, 4, OUTLINE)
    elif shape == "page":
        fill_rect(img, 7, 3, 25, 29, (255, 255, 255))
        frame_rect(img, 7, 3, 25, 29, c)
        for y in (9, 13, 17, 21):
            fill_rect(img, 10, y, 22, y + 2, c)
    elif shape == "box":
        polygon(img, [(4, 10), (16, 4), (28, 10), (16, 16)], light)
        polygon(img, [(4, 10), (16, 16), (16, 29), (4, 23)], c)
        polygon(img, [(16, 16), (28, 10), (28, 23), (16, 29)], lighter(c, 0.25))
    elif shape == "gear":
        for k in range(8):
            a = k * math.pi / 4
            disc(img, 16 + 11 * math.cos(a), 16 + 11 * math.sin(a), 3.5, c)
        disc(img, 16, 16, 10, c)
        disc(img, 16, 16, 4, BACKGROUND)
    elif shape == "sliders":
        for i, x in enumerate((8, 16, 24)):
            fill_rect(img, x - 1, 4, x + 1, 28, OUTLINE)
            knob = (20, 9, 15)[i]
            fill_rect(img, x - 4, knob - 2, x + 4, knob + 3, c)
    elif shape == "house":
        polygon(img, [(3, 15), (16, 3), (29, 15)], c)
        fill_rect(img, 7, 15, 25, 29, light)
        fill_rect(img, 13, 20, 19, 29, c)
    elif shape == "bars":
        for x, h in ((4, 10), (11, 18), (18, 14), (25, 24)):
            fill_rect(img, x, 29 - h, x + 5, 29, c)
        fill_rect(img, 2, 29, 30, 30, OUTLINE)
    elif shape == "rise":
        fill_rect(img, 3, 3, 4, 29, OUTLINE)
        fill_rect(img, 3, 28, 29, 29, OUTLINE)
        line(img, 5, 25, 12, 17, c, 3)
        line(img, 12, 17, 18, 21, c, 3)
        line(img, 18, 21, 28, 6, c, 3)
    elif shape == "ring":
        ring(img, 16, 16, 13, 8, c)
        fill_rect(img, 14, 9, 18, 23, lighter(c, 0.3))
    elif shape == "plus":
        fill_rect(img, 13, 4, 19, 28, c)
        fill_rect(img, 4, 13, 28, 19, c)
    elif shape == "disk":
        fill_rect(img, 4, 4, 28, 28, c)
        fill_rect(img, 9, 4, 23, 12, (255, 255, 255))
        fill_rect(img, 8, 17, 24, 28, light)
    elif shape == "cross":
        line(img, 6, 6, 26, 26, c, 5)
        line(img, 26, 6, 6, 26, c, 5)
    elif shape == "door":
        fill_rect(img, 8, 3, 24, 29, c)
        fill_rect(img, 11, 6, 21, 26, light)
        disc(img, 19, 16, 1.8, OUTLINE)
    elif shape == "lines":
        for y, w in ((6, 22), (12, 16), (18, 20), (24, 12)):
            fill_rect(img, 5, y, 5 + w, y + 3, c)
    elif shape == "printer":
        fill_rect(img, 9, 3, 23, 12, (255, 255, 255))
        frame_rect(img, 9, 3, 23, 12, OUTLINE)
        fill_rect(img, 3, 12, 29, 23, c)
        fill_rect(img, 9, 19, 23, 29, (255, 255, 255))
        frame_rect(img, 9, 19, 23, 29, OUTLINE)
    elif shape == "envelope":
        fill_rect(img, 3, 8, 29, 25, light)
        frame_rect(img, 3, 8, 29, 25, c)
        line(img, 3, 8, 16, 18, c, 2)
        line(img, 16, 18, 29, 8, c, 2)
    elif shape == "corner":
        polygon(img, [(7, 3), (20, 3), (26, 9), (26, 29), (7, 29)], (255, 255, 255))
        polygon(img, [(20, 3), (26, 9), (20, 9)], light)
        fill_rect(img, 4, 15, 28, 24, c)
    elif shape == "eye":
        polygon(img, [(2, 16), (9, 9), (16, 7), (23, 9), (30, 16), (23, 23), (16, 25), (9, 23)], light)
        disc(img, 16, 16, 6, c)
        disc(img, 16, 16, 2.5, OUTLINE)
    elif shape == "speech":
        fill_rect(img, 3, 4, 29, 21, c)
        polygon(img, [(8, 20), (16, 20), (7, 28)], c)
        for x in (10, 16, 22):
            disc(img, x, 12.5, 2, (255, 255, 255))
    elif shape == "minus":
        ring(img, 16, 16, 13, 10, c)
        fill_rect(img, 9, 14, 23, 19, c)
    elif shape == "coin":
        disc(img, 16, 16, 13, c)
        ring(img, 16, 16, 10, 8, lighter(c, 0.6))
        fill_rect(img, 14, 10, 18, 22, (143, 89, 2))
    elif shape == "list":
        fill_rect(img, 6, 3, 26, 29, (255, 255, 255))
        frame_rect(img, 6, 3, 26, 29, c)
        for y in (8, 13, 18, 23):
            fill_rect(img, 9, y, 12, y + 2, c)
            fill_rect(img, 14, y, 23, y + 2, lighter(c, 0.3))
    elif shape == "tag":
        polygon(img, [(3, 9), (21, 9), (29, 16), (21, 23), (3, 23)], c)
        disc(img, 21, 16, 2, (255, 255, 255))
    elif shape == "letter":
        fill_rect(img, 5, 3, 27, 29, (255, 255, 255))
        frame_rect(img, 5, 3, 27, 29, c)
        for y in (8, 12, 16, 20):
            fill_rect(img, 8, y, 24, y + 1, OUTLINE)
        line(img, 15, 25, 23, 24, c, 2)
    elif shape == "pencil":
        line(img, 8, 24, 24, 8, c, 6)
        polygon(img, [(4, 28), (6, 21), (11, 26)], OUTLINE)
    elif shape == "arrow_in":
        fill_rect(img, 4, 20, 28, 29, light)
        polygon(img, [(12, 3), (20, 3), (20, 12), (26, 12), (16, 22), (6, 12), (12, 12)], c)
    elif shape == "arrow_out":
        fill_rect(img, 4, 20, 28, 29, light)
        polygon(img, [(16, 2), (26, 12), (20, 12), (20, 20), (12, 20), (12, 12), (6, 12)], c)
    elif shape == "arrow_right":
        polygon(img, [(3, 12), (17, 12), (17, 5), (29, 16), (17, 27), (17, 20), (3, 20)], c)
    elif shape == "twin":
        fill_rect(img, 4, 4, 20, 22, light)
        frame_rect(img, 4, 4, 20, 22, c)
        fill_rect(img, 12, 10, 28, 28, c)
    else:
        raise ValueError(shape)
    return img


def about_picture():
    """The About box picture: a quill over a ruled page, 96 x 64."""
    img = blank(96, 64, (255, 255, 255))
    for y in range(64):
        shade = (int(52 + y), int(101 + y), 164)
        fill_rect(img, 0, y, 96, y + 1, shade)
    fill_rect(img, 14, 8, 58, 58, (255, 255, 255))
    for y in (18, 26, 34, 42, 50):
        fill_rect(img, 20, y, 52, y + 1, (150, 150, 150))
    polygon(img, [(50, 50), (86, 6), (90, 10), (56, 54)], (245, 121, 0))
    polygon(img, [(50, 50), (56, 54), (46, 58)], OUTLINE)
    return img


def barcode_picture():
    """The face of the print-barcode button, 64 x 48: bars at the top; the
    caption is drawn below them by the program."""
    img = blank(64, 48)
    pattern = [2, 1, 1, 3, 1, 2, 2, 1, 3, 1, 1, 2, 1, 1, 2, 3, 1, 1, 2, 1, 1, 3, 2, 1]
    x, dark = 8, True
    for w in pattern:
        if dark:
            fill_rect(img, x, 2, x + w, 14, OUTLINE)
        x += w
        dark = not dark
    return img


def bmp_bytes(img):
    """A bottom-up 24-bit BMP file."""
    height, width = len(img), len(img[0])
    stride = (width * 3 + 3) & ~3
    rows = b""
    for row in reversed(img):
        data = b"".join(bytes((b, g, r)) for (r, g, b) in row)
        rows += data + b"\0" * (stride - len(data))
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(rows), 2835, 2835, 0, 0)
    file_header = struct.pack("<2sIHHI", b"BM", 14 + len(header) + len(rows), 0, 0, 14 + len(header))
    return file_header + header + rows


def icon_image(size):
    """One 32-bit image of the program icon (a quill on a page) for an .ico file."""
    img = [[None for _ in range(size)] for _ in range(size)]
    s = size / 32.0
    page = (255, 255, 255)
    for y in range(int(3 * s), int(29 * s)):
        for x in range(int(5 * s), int(25 * s)):
            img[y][x] = page
    edge = (52, 101, 164)
    for y in range(int(3 * s), int(29 * s)):
        img[y][int(5 * s)] = edge
        img[y][int(25 * s) - 1] = edge
    for x in range(int(5 * s), int(25 * s)):
        img[int(3 * s)][x] = edge
        img[int(29 * s) - 1][x] = edge
    quill = [[None] * size for _ in range(size)]
    polygon(quill, [(14 * s, 24 * s), (28 * s, 2 * s), (31 * s, 5 * s), (17 * s, 26 * s)], (245, 121, 0))
    for y in range(size):
        for x in range(size):
            if quill[y][x] is not None:
                img[y][x] = quill[y][x]
    pixels = b""
    for row in reversed(img):
        for p in row:
            pixels += bytes((0, 0, 0, 0)) if p is None else bytes((p[2], p[1], p[0], 255))
    mask_stride = ((size + 31) // 32) * 4
    mask = b""
    for row in reversed(img):
        line_bytes = bytearray(mask_stride)
        for x, p in enumerate(row):
            if p is None:
                line_bytes[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(line_bytes)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(pixels) + len(mask), 0, 0, 0, 0)
    return header + pixels + mask


def ico_bytes(sizes):
    images = [icon_image(s) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for s, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", s % 256, s % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return out + b"".join(images)


def main():
    os.makedirs(OUT, exist_ok=True)
    for name, shape, colour in PICTURES:
        with open(os.path.join(OUT, name + ".bmp"), "wb") as f:
            f.write(bmp_bytes(draw(shape, colour)))
    with open(os.path.join(OUT, "about.bmp"), "wb") as f:
        f.write(bmp_bytes(about_picture()))
    with open(os.path.join(OUT, "print_barcode.bmp"), "wb") as f:
        f.write(bmp_bytes(barcode_picture()))
    with open(os.path.join(OUT, "quillory.ico"), "wb") as f:
        f.write(ico_bytes([32, 16]))


if __name__ == "__main__":
    main()

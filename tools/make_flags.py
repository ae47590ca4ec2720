#!/usr/bin/env python3
"""Writes the flag pictures of the language panel into resources/images/.

The language and country tables name them as ".\\images\\<file>.bmp",
relative to the working folder; tools/run.sh and the program's end-to-end
test copy this folder there.  Each flag is a small 24 x 16 bitmap of our own:
plain stripes, crosses and blocks, enough to tell the countries apart.  The
files are committed; run this again only after changing a flag:

    python3 tools/make_flags.py
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "..", "resources", "images")

W, H = 24, 16

RED = (200, 16, 46)
WHITE = (255, 255, 255)
BLUE = (0, 56, 147)
NAVY = (1, 33, 105)
SKY = (117, 170, 219)
GREEN = (0, 122, 61)
YELLOW = (255, 205, 0)
GOLD = (255, 206, 0)
BLACK = (0, 0, 0)
ORANGE = (255, 136, 62)
SAFFRON = (255, 153, 51)


def blank(colour):
    return [[colour for _ in range(W)] for _ in range(H)]


def rect(img, x0, y0, x1, y1, colour):
    for y in range(max(0, y0), min(H, y1)):
        for x in range(max(0, x0), min(W, x1)):
            img[y][x] = colour


def disc(img, cx, cy, r, colour):
    for y in range(H):
        for x in range(W):
            if (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= r * r:
                img[y][x] = colour


def vertical(*colours):
    img = blank(colours[0])
    for i, c in enumerate(colours):
        rect(img, i * W // len(colours), 0, (i + 1) * W // len(colours), H, c)
    return img


def horizontal(*colours):
    img = blank(colours[0])
    for i, c in enumerate(colours):
        rect(img, 0, i * H // len(colours), W, (i + 1) * H // len(colours), c)
    return img


def nordic(field, cross, inner=None):
    img = blank(field)
    rect(img, 0, 6, W, 10, cross)
    rect(img, 7, 0, 11, H, cross)
    if inner:
        rect(img, 0, 7, W, 9, inner)
        rect(img, 8, 0, 10, H, inner)
    return img


def union(img, x1, y1):
    """The blue field with white and red crosses, in the box (0, 0)-(x1, y1)."""
    rect(img, 0, 0, x1, y1, NAVY)
    for y in range(y1):
        for x in range(x1):
            d1 = abs(x / x1 - y / y1)
            d2 = abs(x / x1 - (y1 - 1 - y) / y1)
            if min(d1, d2) < 0.12:
                img[y][x] = WHITE
            if min(d1, d2) < 0.05:
                img[y][x] = RED
    cx, cy = x1 // 2, y1 // 2
    rect(img, 0, cy - 2, x1, cy + 2, WHITE)
    rect(img, cx - 2, 0, cx + 2, y1, WHITE)
    rect(img, 0, cy - 1, x1, cy + 1, RED)
    rect(img, cx - 1, 0, cx + 1, y1, RED)
    return img


def ensign(stars):
    img = blank(NAVY)
    union(img, 12, 8)
    for (x, y) in stars[1]:
        disc(img, x, y, 1.3, stars[0])
    return img


def flags():
    f = {}
    f["uk"] = union(blank(NAVY), W, H)
    us = blank(WHITE)
    for y in range(0, H, 2):
        rect(us, 0, y, W, y + 1, RED)
    rect(us, 0, 0, 10, 9, NAVY)
    for y in (2, 5):
        for x in (2, 5, 8):
            us[y][x] = WHITE
    f["us"] = us
    ca = vertical(RED, WHITE, WHITE, RED)
    disc(ca, 12, 8, 3.5, RED)
    f["canada"] = ca
    f["ireland"] = vertical(GREEN, WHITE, ORANGE)
    f["australia"] = ensign((WHITE, [(6, 12), (18, 4), (20, 9), (16, 12)]))
    f["newzeland"] = ensign((RED, [(18, 4), (20, 8), (16, 9), (18, 12)]))
    india = horizontal(SAFFRON, WHITE, GREEN)
    disc(india, 12, 8, 2, NAVY)
    f["india"] = india
    f["ci"] = ensign((WHITE, [(18, 8)]))
    iom = blank(RED)
    disc(iom, 12, 8, 4, WHITE)
    disc(iom, 12, 8, 2, YELLOW)
    f["iom"] = iom
    sg = horizontal(RED, WHITE)
    disc(sg, 6, 4, 3, WHITE)
    disc(sg, 7, 4, 2.6, RED)
    f["singapur"] = sg
    sa = horizontal(RED, GREEN, BLUE)
    rect(sa, 0, 5, W, 11, WHITE)
    rect(sa, 0, 6, W, 10, GREEN)
    for y in range(H):
        for x in range(W):
            if x < 8 - abs(y - 7.5):
                sa[y][x] = BLACK
    f["sa"] = sa
    f["france"] = vertical(BLUE, WHITE, RED)
    f["germany"] = horizontal(BLACK, RED, GOLD)
    f["austria"] = horizontal(RED, WHITE, RED)
    f["belgium"] = vertical(BLACK, YELLOW, RED)
    li = horizontal(BLUE, RED)
    rect(li, 4, 2, 8, 6, GOLD)
    f["Liechtenstein"] = li
    f["luxembourg"] = horizontal(RED, WHITE, SKY)
    ch = blank(RED)
    rect(ch, 10, 3, 14, 13, WHITE)
    rect(ch, 6, 6, 18, 10, WHITE)
    f["switzerland"] = ch
    es = horizontal(RED, YELLOW, YELLOW, RED)
    f["spain"] = es
    f["andorra"] = vertical(BLUE, YELLOW, RED)
    f["mexico"] = vertical(GREEN, WHITE, RED)
    ar = horizontal(SKY, WHITE, SKY)
    disc(ar, 12, 8, 2, GOLD)
    f["argentina"] = ar
    cl = horizontal(WHITE, RED)
    rect(cl, 0, 0, 8, 8, BLUE)
    disc(cl, 4, 4, 1.5, WHITE)
    f["chile"] = cl
    f["denmark"] = nordic(RED, WHITE)
    f["sweden"] = nordic(BLUE, YELLOW)
    f["norway"] = nordic(RED, WHITE, NAVY)
    f["finland"] = nordic(WHITE, BLUE)
    f["netherland"] = horizontal(RED, WHITE, BLUE)
    return f


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


def main():
    os.makedirs(OUT, exist_ok=True)
    for name, img in sorted(flags().items()):
        with open(os.path.join(OUT, name + ".bmp"), "wb") as f:
            f.write(bmp_bytes(img))


if __name__ == "__main__":
    main()

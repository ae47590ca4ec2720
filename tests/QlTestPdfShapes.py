"""Prints the lines, rectangles and images of a PDF file, one per line:
page kind x0 y0 x1 y1 width, in points with y upwards (PDF user space)."""
import sys

import fitz

doc = fitz.open(sys.argv[1])
for number, page in enumerate(doc, start=1):
    height = page.rect.height
    for path in page.get_drawings():
        width = path.get("width") or 0
        for item in path["items"]:
            if item[0] == "l":
                a, b = item[1], item[2]
                print(number, "line", a.x, height - a.y, b.x, height - b.y, width)
            elif item[0] == "re":
                r = item[1]
                print(number, "rect", r.x0, height - r.y1, r.x1, height - r.y0, width)
    for info in page.get_image_info():
        x0, y0, x1, y1 = info["bbox"]
        print(number, "image", x0, height - y1, x1, height - y0, 0)

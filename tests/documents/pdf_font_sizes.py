"""Prints every text span of a PDF file with its page and font size, one per
line: page size text (python3-fitz)."""
import sys

import fitz

doc = fitz.open(sys.argv[1])
for number, page in enumerate(doc, start=1):
    for block in page.get_text("dict")["blocks"]:
        for line in block.get("lines", []):
            for span in line["spans"]:
                if span["text"].strip():
                    print(number, round(span["size"], 2), span["text"])

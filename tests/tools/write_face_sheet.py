#!/usr/bin/env python3
"""Writes a sheet with one column of labels per face and style, byte by byte
from the file layout alone: every label selected and empty, 34 x 18 mm,
5 mm apart from the page's edge. A list job with --copies equal to the
number of columns prints each marker once in every face and style.

A style is a face as the font dialog names it ("宋体"), followed by ":bold"
for bold, or preceded by "@" for vertical writing ("@黑体").

Usage: write_face_sheet.py OUT.tav ROWS STYLE...
"""
import struct
import sys

SIGNATURE = b"_TAVRO MARKER SUITE DESIGNED BY DELMARO 2004-02_"
WIDTH, HEIGHT, MARGIN = 34.0, 18.0, 5.0


def string(data):
    assert len(data) < 255
    return bytes([len(data)]) + data


def font_block(height, weight, face):
    # Vertical writing: an "@" face turned a quarter right. The face field:
    # the name, zero padded to 32 bytes.
    turn = 2700 if face.startswith(b"@") else 0
    return struct.pack("<5i8B", height, 0, turn, turn, weight, 0, 0, 0, 134, 0, 0, 0, 0) + face.ljust(32, b"\0")


def label(style):
    face, _, bold = style.partition(":")
    height = -16
    return (
        struct.pack("<i", 1)
        + string(b"")
        + struct.pack("<5d", 1.0, 1.0, 1.0, 1.0, 0.5)
        + struct.pack("<5i", 0x000000, height, 1, 4, 0)
        + font_block(height, 700 if bold == "bold" else 400, face.encode("gbk"))
    )


def main():
    out_path, rows, styles = sys.argv[1], int(sys.argv[2]), sys.argv[3:]
    assert 2 <= len(styles) <= 15 and 2 <= rows <= 25
    columns = len(styles)
    page = struct.pack(
        "<8d2i",
        2 * MARGIN + columns * WIDTH,
        2 * MARGIN + rows * HEIGHT,
        MARGIN, MARGIN, MARGIN, MARGIN, WIDTH, HEIGHT, columns, rows,
    )
    out = [string(SIGNATURE), page]
    for _ in range(rows):
        out.extend(label(style) for style in styles)
    with open(out_path, "wb") as f:
        f.write(b"".join(out))


main()

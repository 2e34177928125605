#!/usr/bin/env python3
"""Writes a sheet of turned and vertical label texts, byte by byte from the
file layout alone: a page 150 x 140 mm of 5 x 4 labels 24 x 30 mm. Each
column has one direction (across, up, down, upside down, vertical Chinese),
each of the first three rows one alignment (top left, middle centre, bottom
right), the last row a text too long for its label, shrunk to fit.

Usage: write_direction_sheet.py OUT.tav
"""
import struct
import sys

SIGNATURE = b"_TAVRO MARKER SUITE DESIGNED BY DELMARO 2004-02_"
SONG = "宋体".encode("gbk")
HEI = "黑体".encode("gbk")

# (escapement, face, first line) per column.
COLUMNS = [
    (0, SONG, "横排"),
    (900, SONG, "向上"),
    (2700, HEI, "向下"),
    (1800, SONG, "倒置"),
    (2700, b"@" + SONG, "竖排文字"),
]
# (horizontal, vertical alignment, shrink) per row.
ROWS = [(0, 0, 0), (1, 4, 0), (2, 8, 0), (1, 4, 1)]


def string(data):
    assert len(data) < 255
    return bytes([len(data)]) + data


def font_block(height, escapement, face):
    # The face field: the name, zero padded to 32 bytes.
    field = face.ljust(32, b"\0")
    return struct.pack("<5i8B", height, 0, escapement, escapement, 400, 0, 0, 0, 134, 0, 0, 0, 0) + field


def label(text, halign, valign, shrink, escapement, face):
    height = -16
    return (
        struct.pack("<i", 1)
        + string(text.encode("gbk"))
        + struct.pack("<5d", 1.0, 1.0, 1.0, 1.0, 0.5)
        + struct.pack("<5i", 0x000000, height, halign, valign, shrink)
        + font_block(height, escapement, face)
    )


def main():
    out = [string(SIGNATURE), struct.pack("<8d2i", 150, 140, 5, 5, 5, 5, 24, 30, 5, 4)]
    for halign, valign, shrink in ROWS:
        for escapement, face, first in COLUMNS:
            second = "CABLE-0123456789" if shrink else "W-12"
            out.append(label(first + "\r\n" + second, halign, valign, shrink, escapement, face))
    with open(sys.argv[1], "wb") as f:
        f.write(b"".join(out))


main()

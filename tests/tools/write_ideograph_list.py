#!/usr/bin/env python3
"""Writes a wire list (UTF-8, one marker a line) of ideographs, a fixed
number a marker, in code order: the 20,923 ideographs of code page 936, or
with --gb2312 the 6,763 of GB2312. --lines N stops after N lines.

Usage: write_ideograph_list.py OUT.csv [--gb2312] [--per-line K] [--lines N]
"""
import argparse


def ideographs(gb2312):
    lead, trail = (range(0xB0, 0xF8), range(0xA1, 0xFF)) if gb2312 else (range(0x81, 0xFF), range(0x40, 0xFF))
    found = []
    for b1 in lead:
        for b2 in trail:
            try:
                ch = bytes([b1, b2]).decode("gb2312" if gb2312 else "gbk")
            except UnicodeDecodeError:
                continue
            if 0x3400 <= ord(ch) <= 0x9FFF or 0xF900 <= ord(ch) <= 0xFAFF:
                found.append(ch)
    return sorted(found)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("out")
    parser.add_argument("--gb2312", action="store_true")
    parser.add_argument("--per-line", type=int, default=12)
    parser.add_argument("--lines", type=int)
    args = parser.parse_args()
    chars = ideographs(args.gb2312)
    lines = ["".join(chars[i : i + args.per_line]) for i in range(0, len(chars), args.per_line)]
    with open(args.out, "w", encoding="utf-8") as f:
        f.write("".join(line + "\n" for line in lines[: args.lines]))


main()

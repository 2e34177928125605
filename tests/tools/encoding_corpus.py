#!/usr/bin/env python3
"""Writes wire lists shaped like the ones people export from spreadsheets, in
the encodings they are saved in, and checks how the program reads each one.

Lists of 1 to 5,000 rows; Chinese (or the language of the encoding) in the
colour column only, in the device and colour columns, in several columns, or
none at all; GBK and GB18030 as Chinese Excel writes CSV, UTF-8 with and
without a byte order mark, UTF-16 (Excel's "Unicode text", tab separated),
Big5, Shift_JIS and Windows-1252 (semicolons, as European Excel writes).
Lists of one and two rows, what someone types to reprint a few markers, have
no header row.

Each list is read by READER (tests/tools/wire_list_cells.cpp) and sorted:
  right    the cells read are the cells written (whether a label can hold
           them or not: ß is refused when a marker is made of it)
  refused  the list was not read, or was read wrong into a character a
           label cannot hold, which the marker refuses
  offered  read wrong, but the other reading offered beside it is right
  wrong    read wrong with no word of it: silently wrong
Every GBK, GB18030 and UTF list must read right and no list may be wrong;
the exit status says whether they all did.

Usage: encoding_corpus.py READER [--table] [--keep DIR]
"""
import argparse
import os
import random
import subprocess
import sys
import tempfile

SIZES = [1, 2, 5, 20, 100, 1000, 5000]

# Words by language: header, colours, devices, notes.
WORDS = {
    "zh-Hans": {
        "header": ["线号", "起点", "终点", "颜色", "备注"],
        "colours": ["红", "黄绿", "蓝", "黑", "白", "棕", "灰", "黄", "绿"],
        "devices": ["电机", "接触器", "断路器", "端子排", "继电器", "变频器", "按钮", "指示灯", "熔断器",
                    "电源", "控制柜", "急停"],
        "notes": ["备用", "屏蔽线", "双绞线", "接地", "已检查", "电缆桥架"],
    },
    "zh-Hant": {
        "header": ["線號", "起點", "終點", "顏色", "備註"],
        "colours": ["紅", "黃綠", "藍", "黑", "白", "棕", "灰", "黃", "綠"],
        "devices": ["馬達", "接觸器", "斷路器", "端子台", "繼電器", "變頻器", "按鈕", "指示燈", "保險絲",
                    "電源", "控制櫃", "急停"],
        "notes": ["備用", "屏蔽線", "雙絞線", "接地", "已檢查", "電纜橋架"],
    },
    "ja": {
        "header": ["線番号", "始点", "終点", "色", "備考"],
        "colours": ["赤", "黄緑", "青", "黒", "白", "茶", "灰", "黄", "緑"],
        "devices": ["モーター", "接触器", "ブレーカー", "端子台", "リレー", "インバーター", "押しボタン",
                    "表示灯", "ヒューズ", "電源", "制御盤", "非常停止"],
        "notes": ["予備", "シールド線", "ツイストペア", "接地", "確認済み", "ケーブルラック"],
    },
    "de": {
        "header": ["Ader", "Von", "Nach", "Farbe", "Bemerkung"],
        "colours": ["rot", "grün-gelb", "blau", "schwarz", "weiß", "braun", "grau", "gelb", "grün"],
        "devices": ["Motor", "Schütz", "Leitungsschutzschalter", "Klemmleiste", "Relais", "Frequenzumrichter",
                    "Drucktaster", "Meldeleuchte", "Sicherung", "Netzteil", "Schaltschrank", "Not-Aus"],
        "notes": ["Reserve", "geschirmt", "verdrillt", "Erdung", "geprüft", "Kabelpritsche Größe 2"],
    },
}

# name: (Python codec, language, delimiter, byte order mark)
ENCODINGS = {
    "GBK": ("gbk", "zh-Hans", ",", b""),
    "GB18030": ("gb18030", "zh-Hans", ",", b""),
    "UTF-8": ("utf-8", "zh-Hans", ",", b""),
    "UTF-8 BOM": ("utf-8", "zh-Hans", ",", b"\xef\xbb\xbf"),
    "UTF-16": ("utf-16-le", "zh-Hans", "\t", b"\xff\xfe"),
    "Big5": ("big5", "zh-Hant", ",", b""),
    "Shift_JIS": ("shift_jis", "ja", ",", b""),
    "Windows-1252": ("cp1252", "de", ";", b""),
}
# What must read right; the others must not be read wrong without a word.
MUST_READ_RIGHT = {"GBK", "GB18030", "UTF-8", "UTF-8 BOM", "UTF-16"}

# Where the language's text goes: the colour column only, the device and
# colour columns, every column but the wire number, or nowhere.
SHAPES = ["colour", "device", "several", "none"]


def rows_of(language, shape, count, rng):
    words = WORDS[language]
    ascii_colours = ["RD", "GNYE", "BU", "BK", "WH", "BN", "GY"]
    rows = []
    if count >= 5:
        header = words["header"] if shape != "none" else ["Wire", "From", "To", "Colour", "Note"]
        rows.append(header[:4] if shape in ("colour", "none") else header)
    for i in range(1, count + 1):
        wire = "W%03d" % i
        start = "X%d:%d" % (rng.randint(1, 9), rng.randint(1, 40))
        end = "K%d:A%d" % (rng.randint(1, 20), rng.randint(1, 2))
        colour = rng.choice(words["colours"])
        if shape == "colour":
            rows.append([wire, start, end, colour])
        elif shape == "device":
            rows.append([wire, start, rng.choice(words["devices"]) + " " + end.split(":")[0], colour])
        elif shape == "several":
            note = rng.choice(words["notes"]) if rng.random() < 0.3 else ""
            rows.append([wire, rng.choice(words["devices"]), rng.choice(words["devices"]), colour, note])
        else:
            rows.append([wire, start, end, rng.choice(ascii_colours)])
    if count < 5 and shape != "none":
        # A short list typed to reprint a few markers: the wire and one word.
        rows = [[r[0], r[2] if shape != "colour" else r[3]] for r in rows]
        if shape == "device":
            rows = [[r[0], rng.choice(words["devices"])] for r in rows]
    return rows


def list_bytes(rows, codec, delimiter, bom):
    text = "".join(delimiter.join(r) + "\r\n" for r in rows)
    return bom + text.encode(codec)


def write_corpus(folder):
    """Writes every list; returns (encoding, shape, size, path, rows) for each."""
    lists = []
    for name, (codec, language, delimiter, bom) in ENCODINGS.items():
        for shape in SHAPES:
            for size in SIZES:
                rng = random.Random("%s/%s/%d" % (language, shape, size))
                rows = rows_of(language, shape, size, rng)
                path = os.path.join(folder, "%s-%s-%d.csv" % (name.replace(" ", "-"), shape, size))
                with open(path, "wb") as out:
                    out.write(list_bytes(rows, codec, delimiter, bom))
                lists.append((name, shape, size, path, rows))
    return lists


def read_with(reader, path, encoding=None):
    """(encoding read, other reading offered, problem, rows, unprintable)."""
    args = [reader, path] + ([encoding] if encoding else [])
    out = subprocess.run(args, capture_output=True, check=True).stdout.decode("utf-8")
    head, _, body = out.partition("\x1d")
    fields = dict(line.split("=", 1) for line in head.split("\n") if "=" in line)
    rows = [r.split("\x1f") for r in body.split("\x1e")] if body else []
    return (fields.get("encoding", ""), fields.get("other", ""), fields.get("problem", ""), rows,
            fields.get("unprintable", ""))


def padded(rows):
    width = max((len(r) for r in rows), default=0)
    return [r + [""] * (width - len(r)) for r in rows]


def outcome(reader, path, rows):
    encoding, other, problem, read, unprintable = read_with(reader, path)
    if problem:
        return "refused", encoding, other
    if padded(read) == padded(rows):
        return "right", encoding, other
    if unprintable:
        return "refused", encoding, other
    if other:
        _, _, other_problem, other_read, _ = read_with(reader, path, other)
        if not other_problem and padded(other_read) == padded(rows):
            return "offered", encoding, other
    return "wrong", encoding, other


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("reader")
    parser.add_argument("--table", action="store_true", help="print the results as a Markdown table")
    parser.add_argument("--keep", help="write the lists into this folder and keep them")
    args = parser.parse_args()
    folder = args.keep or tempfile.mkdtemp(prefix="encoding-corpus-")
    os.makedirs(folder, exist_ok=True)
    results = {}
    failures = []
    for name, shape, size, path, rows in write_corpus(folder):
        result, encoding, other = outcome(args.reader, path, rows)
        results[(name, shape, size)] = (result, encoding, other)
        if result == "wrong" or (name in MUST_READ_RIGHT and result != "right"):
            failures.append("%s: %s (read as %s, offered %s)" % (os.path.basename(path), result, encoding,
                                                                 other or "nothing"))
    if not args.keep:
        for entry in os.listdir(folder):
            os.remove(os.path.join(folder, entry))
        os.rmdir(folder)
    if args.table:
        print("| encoding | text in | " + " | ".join(str(s) for s in SIZES) + " |")
        print("|---|---|" + "---|" * len(SIZES))
        for name in ENCODINGS:
            for shape in SHAPES:
                cells = []
                for size in SIZES:
                    result, encoding, other = results[(name, shape, size)]
                    cells.append(result if result != "offered" else "offered (%s, %s)" % (encoding, other))
                print("| %s | %s | %s |" % (name, shape, " | ".join(cells)))
    for failure in failures:
        print("FAIL " + failure, file=sys.stderr)
    total = len(results)
    print("%d lists, %d as they must be" % (total, total - len(failures)), file=sys.stderr)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())

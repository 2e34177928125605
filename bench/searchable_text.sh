#!/usr/bin/env bash
# Whether the text of a PDF reads back as the markers drawn: every one of the
# 6,763 ideographs of GB2312 (with --gbk the 20,923 of code page 936), twelve
# a marker, in the four Chinese faces upright, bold and vertical, written by
# a list job and read back with pdftotext -bbox label by label. Prints, per
# face and style, the ideographs that read otherwise; fails if any does.
# Usage: bench/searchable_text.sh [BUILD [--gbk]]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-${TAVRO_BUILD_DIR:-$top/build}}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data

styles=(宋体 宋体:bold @宋体 黑体 黑体:bold @黑体 楷体 楷体:bold @楷体 仿宋 仿宋:bold @仿宋)
python3 "$top/tests/tools/write_ideograph_list.py" "$work/list.csv" $([[ ${2:-} == --gbk ]] || echo --gb2312)
python3 "$top/tests/tools/write_face_sheet.py" "$work/sheet.tav" 14 "${styles[@]}"
start=$(date +%s.%N)
"$build/src/tavromark" --pdf "$work/out.pdf" --list "$work/list.csv" --copies "${#styles[@]}" --shrink \
  "$work/sheet.tav" 2>/dev/null
printf '%d markers x %d styles written in %.1f s\n' "$(wc -l <"$work/list.csv")" "${#styles[@]}" \
  "$(echo "$(date +%s.%N) - $start" | bc)"
pdftotext -bbox "$work/out.pdf" - | python3 -c '
import re, sys, unicodedata
styles = sys.argv[1].split()
markers = open(sys.argv[2], encoding="utf-8").read().split()
mm = lambda pt: float(pt) * 25.4 / 72
pages = sys.stdin.read().split("<page ")[1:]
labels = {}
for page_number, page in enumerate(pages):
    for x0, y0, x1, y1, text in re.findall(r"xMin=\"([\d.]+)\" yMin=\"([\d.]+)\" xMax=\"([\d.]+)\" yMax=\"([\d.]+)\">([^<]*)<", page):
        x, y = (mm(x0) + mm(x1)) / 2, (mm(y0) + mm(y1)) / 2
        labels.setdefault((page_number, int((y - 5) // 18), int((x - 5) // 34)), []).append((y, x, text))
wrong = {style: [] for style in styles}
for n, marker in enumerate(markers):
    page, row = divmod(n, 14)
    for c, style in enumerate(styles):
        pieces = sorted(labels.get((page, row, c), []), key=lambda p: (p[0], p[1]) if style.startswith("@") else (p[1], p[0]))
        got = "".join(text for _, _, text in pieces)
        if got != marker:
            # A compatibility ideograph shares the glyph of the one it stands for.
            if unicodedata.normalize("NFC", got) == unicodedata.normalize("NFC", marker) and len(got) == len(marker):
                continue
            wrong[style] += ["%s as %s" % (a, b) for a, b in zip(marker, got.ljust(len(marker), "?")) if a != b] or [marker + " as " + got]
total = 0
for style in styles:
    print("%-8s %4d wrong %s" % (style, len(wrong[style]), " ".join(wrong[style][:12])))
    total += len(wrong[style])
print("%d of %d ideographs read otherwise" % (total, len("".join(markers)) * len(styles)))
sys.exit(1 if total else 0)' "${styles[*]}" "$work/list.csv"

#!/usr/bin/env bash
# Turned and vertical label texts on paper: a sheet written by an independent
# script (tests/tools/write_direction_sheet.py) prints through the PDF
# export with every text searchable, and each column's words run its way.
# Usage: text_direction.sh TAVROMARK
set -uo pipefail
bin=${1:?usage: $0 path/to/tavromark}
command -v pdftotext >/dev/null || exit 77
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/pdf_check.bash" # every PDF the program writes passes qpdf --check
here=$(cd "$(dirname "$0")" && pwd)

python3 "$here/../tools/write_direction_sheet.py" "$work/sheet.tav" || exit 1
cmp -s "$work/sheet.tav" "$here/../data/direction-sheet.tav" || {
  echo "FAIL: the writer no longer writes tests/data/direction-sheet.tav"
  exit 1
}
env -u DISPLAY -u WAYLAND_DISPLAY XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config" \
  timeout 60 "$bin" --pdf "$work/sheet.pdf" "$work/sheet.tav" || {
  echo "FAIL: no PDF of the sheet"
  exit 1
}
pdftotext -bbox "$work/sheet.pdf" - >"$work/words.html" || exit 1

# Every word with its box, in points; the label it lies in from its centre:
# columns at 5 + 29 k mm, rows at 5 + 33.33 k mm, labels 24 x 30 mm.
python3 - "$work/words.html" <<'PY' || failures=1
import re, sys
from collections import defaultdict
MM = 72 / 25.4
words = defaultdict(list)
for m in re.finditer(r'<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>',
                     open(sys.argv[1], encoding='utf-8').read()):
    x0, y0, x1, y1 = (float(v) / MM for v in m.groups()[:4])
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    col, row = round((cx - 17) / 29), round((cy - 20) / (100 / 3))
    words[(row, col)].append((m.group(5), x1 - x0, y1 - y0))
bad = 0
firsts = ["横排", "向上", "向下", "倒置", "竖排文字"]
for row in range(4):
    second = "CABLE-0123456789" if row == 3 else "W-12"
    for col, first in enumerate(firsts):
        found = words.get((row, col), [])
        text = "".join(w for w, _, _ in found)
        if first not in text or second not in text:
            print(f"FAIL label {row},{col}: {text!r} lacks {first} or {second}")
            bad = 1
            continue
        # The Latin word runs across for 横排 and 倒置, down the label for
        # the others (in vertical writing it lies along the column).
        w, width, height = next(f for f in found if f[0] == second)
        along = height > width
        if along != (col in (1, 2, 4)):
            print(f"FAIL label {row},{col}: {second} is {width:.1f} x {height:.1f} mm")
            bad = 1
sys.exit(bad)
PY
if ((${failures:-0})); then
  exit 1
fi
echo "all text direction checks passed"

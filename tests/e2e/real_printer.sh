#!/usr/bin/env bash
# Prints a sheet through the program's own print path (/pt) to a real CUPS
# queue: a private scheduler with a cups-pdf printer, started in a temporary
# directory. The PDF that arrives must hold one page with ink inside the
# selected labels only. Opt-in, as it writes into /etc/cups (the cups-pdf
# backend reads its settings only there): runs with TAVRO_REAL_PRINTER_TESTS=1,
# as root; skips otherwise. Usage: real_printer.sh TAVROMARK
set -uo pipefail
bin=${1:?usage: $0 path/to/tavromark}
here=$(cd "$(dirname "$0")" && pwd)
queue=tavro_test_$$
source "$here/private_cups.bash" "$queue"
source "$(dirname "$0")/pdf_check.bash" # every PDF the program writes passes qpdf --check

sheet=$here/../data/preset-7x20-texts.tav
env -u DISPLAY XDG_CONFIG_HOME="$work/config" timeout 60 "$bin" /pt "$sheet" "$queue" ||
  fail "tavromark /pt exited with $?"

pdf=$(queue_pdf "$queue") || fail "no PDF arrived from the queue"
pages=$(pdfinfo "$pdf" | awk '/^Pages:/ {print $2}')
[[ $pages == 1 ]] || fail "the queue printed $pages pages, not 1"

# Ghostscript redistills the text, so positions are checked on pixels.
dpi=50
pdftoppm -gray -r $dpi -singlefile "$pdf" "$work/page" 2>/dev/null || fail "pdftoppm failed"
# The top-left corner of the queue's printable area on A4, in points.
area=$(sed -n 's/^\*ImageableArea A4\/[^:]*: *"\(.*\)"/\1/p' "$work/cups/ppd/$queue.ppd")
[[ -n $area ]] || fail "the queue's PPD has no printable area for A4"
PYTHONDONTWRITEBYTECODE=1 PYTHONPATH=$here python3 - "$work/page.pgm" $dpi $area <<'PY' || fail "ink outside the selected labels"
import sys
from pgm import read_pgm
path, dpi = sys.argv[1], int(sys.argv[2])
# ImageableArea: lower left x, y and upper right x, y in points from the
# bottom-left; the origin of printing is its top-left.
llx, lly, urx, ury = map(float, sys.argv[3:7])
origin_x, origin_y = llx * 25.4 / 72, (842 - ury) * 25.4 / 72
width, height, pixels = read_pgm(path)
# The sheet: A4, margins 12 mm, 7 x 20 labels of 19 x 8.65 mm, every label
# with text, selected where row + column is odd.
cols, rows, lw, lh = 7, 20, 19.0, 8.65
pitch_x = (210 - 24 - lw) / (cols - 1)
pitch_y = (297 - 24 - lh) / (rows - 1)
px = dpi / 25.4
def rect(r, c):
    x, y = origin_x + 12 + c * pitch_x, origin_y + 12 + r * pitch_y
    return (x * px - 1, y * px - 1, (x + lw) * px + 1, (y + lh) * px + 1)
selected = [rect(r, c) for r in range(rows) for c in range(cols) if (r + c) % 2]
inked = set()
stray = 0
for y in range(height):
    row = pixels[y * width:(y + 1) * width]
    for x in range(width):
        if row[x] < 230:  # any ink, light colours too
            hit = next((i for i, (l, t, rr, b) in enumerate(selected) if l <= x <= rr and t <= y <= b), None)
            if hit is None:
                stray += 1
            else:
                inked.add(hit)
print(f"{len(inked)} of {len(selected)} selected labels inked, {stray} stray dark pixels")
sys.exit(0 if stray == 0 and len(inked) == len(selected) else 1)
PY

# /p prints on the current printer: with no stored choice, the default queue.
rm -f "$work"/cups/out/*.pdf
env -u DISPLAY XDG_CONFIG_HOME="$work/config" timeout 60 "$bin" /p "$sheet" || fail "tavromark /p exited with $?"
queue_pdf "$queue" >/dev/null || fail "/p printed nothing on the default queue"
echo "printed through $queue with /pt and /p: one page, ink in the selected labels only"

#!/usr/bin/env bash
# Per-printer calibration through a real CUPS scheduler: three cups-pdf
# queues, two with calibrations of their own (offset and scale) and one
# without. The same sheet, printed with /pt on each, lands where the
# calibration predicts from an uncalibrated print; the queue without its own
# entry uses the machine-wide page offset. The calibration page prints its
# crosshairs at their nominal places. Opt-in (writes into /etc/cups): runs
# only with TAVRO_REAL_PRINTER_TESTS=1, as root. Usage: printer_calibration.sh TAVROMARK
set -uo pipefail
bin=${1:?usage: $0 path/to/tavromark}
here=$(cd "$(dirname "$0")" && pwd)
# Hyphens only: the settings keys of these names are the names themselves.
plain=tavro-plain-$$ own_a=tavro-own-a-$$ own_b=tavro-own-b-$$
source "$here/private_cups.bash" "$plain" "$own_a" "$own_b"
source "$(dirname "$0")/pdf_check.bash" # every PDF the program writes passes qpdf --check

export XDG_CONFIG_HOME=$work/config
settings=$XDG_CONFIG_HOME/TAVRO/tavro.ini
sheet=$here/../data/preset-7x20-texts.tav
dpi=100

# Runs tavromark with the arguments, waits for the one PDF the queue $1
# writes, renders it as $2.pgm.
print_and_render() {
  local queue=$1 name=$2 pdf
  shift 2
  rm -f "$(queue_out_dir "$queue")"/*.pdf
  env -u DISPLAY timeout 60 "$bin" "$@" || fail "tavromark $* exited with $?"
  pdf=$(queue_pdf "$queue") || fail "no PDF arrived from $queue"
  [[ $(pdfinfo "$pdf" | awk '/^Pages:/ {print $2}') == 1 ]] || fail "$queue did not print one page"
  pdftoppm -gray -r $dpi -singlefile "$pdf" "$work/$name" 2>/dev/null || fail "pdftoppm failed on $pdf"
}

# The uncalibrated print: no settings at all.
print_and_render "$plain" reference /pt "$sheet" "$plain"

# Now a machine-wide offset, and two queues with their own calibrations
# (offset in 0.01 mm, scale in ppm).
mkdir -p "$(dirname "$settings")"
cat > "$settings" <<INI
[General]
PageMoveX=150
PageMoveY=-250

[PrinterCalibration]
$own_a\\MoveX=300
$own_a\\MoveY=200
$own_a\\ScaleX=8000
$own_a\\ScaleY=-6000
$own_b\\MoveX=-200
$own_b\\MoveY=400
$own_b\\ScaleX=-12000
$own_b\\ScaleY=15000
INI
print_and_render "$plain" plain /pt "$sheet" "$plain"
print_and_render "$own_a" own_a /pt "$sheet" "$own_a"
print_and_render "$own_b" own_b /pt "$sheet" "$own_b"
print_and_render "$own_a" calibration_page --calibration-page "$own_a" "$sheet"

area=$(sed -n 's/^\*ImageableArea A4\/[^:]*: *"\(.*\)"/\1/p' "$work/cups/ppd/$plain.ppd")
[[ -n $area ]] || fail "the queue's PPD has no printable area for A4"
PYTHONDONTWRITEBYTECODE=1 PYTHONPATH=$here python3 - "$work" $dpi $area <<'PY' || fail "a queue printed where its calibration does not put the labels"
import sys
from pgm import read_pgm
work, dpi = sys.argv[1], int(sys.argv[2])
llx, lly, urx, ury = map(float, sys.argv[3:7])
px = dpi / 25.4
# The printable area's top-left corner, the origin of printing, in pixels.
ox, oy = llx / 72 * dpi, (842 - ury) / 72 * dpi

# The sheet: A4, margins 12 mm, 7 x 20 labels of 19 x 8.65 mm, selected
# where row + column is odd.
cols, rows, lw, lh = 7, 20, 19.0, 8.65
pitch_x, pitch_y = (210 - 24 - lw) / (cols - 1), (297 - 24 - lh) / (rows - 1)
selected = [(r, c) for r in range(rows) for c in range(cols) if (r + c) % 2]

def place(x, y, cal):
    """Pixel position of a point x, y (pixels from the printable corner, as
    printed without calibration) under (move x, move y in 0.01 mm, scale x,
    scale y in ppm)."""
    mx, my, sx, sy = cal
    return ox + (x + mx / 100 * px) * (1 + sx / 1e6), oy + (y + my / 100 * px) * (1 + sy / 1e6)

def ink_box(image, window):
    width, height, pixels = image
    l, t, r, b = (int(round(v)) for v in window)
    xs, ys = [], []
    for y in range(max(t, 0), min(b, height)):
        row = pixels[y * width:(y + 1) * width]
        for x in range(max(l, 0), min(r, width)):
            if row[x] < 200:
                xs.append(x)
                ys.append(y)
    return (min(xs), min(ys), max(xs) + 1, max(ys) + 1) if xs else None

def label_window(r, c, cal, slack_mm=1.5):
    x0, y0 = (12 + c * pitch_x - slack_mm) * px, (12 + r * pitch_y - slack_mm) * px
    x1, y1 = (12 + c * pitch_x + lw + slack_mm) * px, (12 + r * pitch_y + lh + slack_mm) * px
    return place(x0, y0, cal) + place(x1, y1, cal)

none = (0, 0, 0, 0)
reference = read_pgm(f"{work}/reference.pgm")
boxes = {}
for r, c in selected:
    box = ink_box(reference, label_window(r, c, none))
    if box is None:
        sys.exit(f"label {r},{c} printed nothing without calibration")
    boxes[r, c] = box

cases = {"plain": (150, -250, 0, 0), "own_a": (300, 200, 8000, -6000), "own_b": (-200, 400, -12000, 15000)}
tolerance = 2  # pixels at 100 dpi: half a millimetre
worst = {}
for name, cal in cases.items():
    image = read_pgm(f"{work}/{name}.pgm")
    worst[name] = 0
    for (r, c), (l, t, rr, b) in boxes.items():
        found = ink_box(image, label_window(r, c, cal))
        if found is None:
            sys.exit(f"{name}: label {r},{c} printed nothing where predicted")
        el, et = place(l - ox, t - oy, cal)
        er, eb = place(rr - ox, b - oy, cal)
        error = max(abs(found[0] - el), abs(found[1] - et), abs(found[2] - er), abs(found[3] - eb))
        worst[name] = max(worst[name], error)
        if error > tolerance:
            sys.exit(f"{name}: label {r},{c} inked {found}, predicted {(el, et, er, eb)}")
# The two calibrations put the last label far apart.
last = max(boxes)
a = place(boxes[last][0] - ox, boxes[last][1] - oy, cases["own_a"])
b = place(boxes[last][0] - ox, boxes[last][1] - oy, cases["own_b"])
if abs(a[0] - b[0]) < 10 or abs(a[1] - b[1]) < 10:
    sys.exit("the two calibrations are too alike to tell apart")
print("largest deviation from the prediction, pixels at %d dpi: %s" % (dpi, worst))

# The calibration page (A4 marks at 17/193 mm across, 17/280 mm down) is
# printed without calibration: ink at each crosshair's centre.
page = read_pgm(f"{work}/calibration_page.pgm")
for x in (17, 193):
    for y in (17, 280):
        cx, cy = ox + x * px, oy + y * px
        if ink_box(page, (cx - 1, cy - 1, cx + 2, cy + 2)) is None:
            sys.exit(f"no crosshair at {x}, {y} mm")
PY
echo "three queues: own calibrations and the machine-wide offset land as predicted; calibration page printed"

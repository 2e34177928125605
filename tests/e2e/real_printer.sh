#!/usr/bin/env bash
# Prints a sheet through the program's own print path (/pt) to a real CUPS
# queue: a private scheduler with a cups-pdf printer, started in a temporary
# directory. The PDF that arrives must hold one page with ink inside the
# selected labels only. The cups-pdf backend reads its settings only from
# /etc/cups, so the test writes a file there (and removes it): it runs only
# when TAVRO_REAL_PRINTER_TESTS=1 asks for it (CI does), and as root; it
# skips otherwise. Usage: real_printer.sh TAVROMARK
set -uo pipefail
bin=${1:?usage: $0 path/to/tavromark}
here=$(cd "$(dirname "$0")" && pwd)
skip() { echo "SKIP: $*"; exit 77; }
[[ ${TAVRO_REAL_PRINTER_TESTS:-} == 1 ]] ||
  skip "writes into /etc/cups; set TAVRO_REAL_PRINTER_TESTS=1 to print through a real CUPS queue"
[[ $(id -u) -eq 0 ]] || skip "printing to a private CUPS queue needs root"
for tool in /usr/sbin/cupsd lpadmin lpstat pdfinfo pdftoppm python3; do
  command -v "$tool" >/dev/null || skip "$tool is not installed (scripts/install-deps.sh)"
done
[[ -f /usr/share/ppd/cups-pdf/CUPS-PDF_noopt.ppd ]] || skip "printer-driver-cups-pdf is not installed"

work=$(mktemp -d)
chmod 755 "$work" # the filters run as the lp user
queue=tavro_test_$$
cleanup() {
  "$here/../../scripts/cups-test-server.sh" stop "$work/cups" >/dev/null 2>&1
  # Wait for the scheduler to go, or it writes into what is being removed.
  local pid
  pid=$(cat "$work/cups/cupsd.pid" 2>/dev/null)
  for _ in $(seq 50); do [[ -n $pid ]] && kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  rm -f "/etc/cups/cups-pdf-$queue.conf"
  [[ -n ${KEEP_WORK:-} ]] && echo "kept $work" || rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

# Into a file: the scheduler keeps the script's output open while it runs.
"$here/../../scripts/cups-test-server.sh" start "$work/cups" "$queue" >"$work/start.out" 2>&1 ||
  fail "the private CUPS server did not start: $(cat "$work/start.out")"
export CUPS_SERVER=$(sed -n 's/^CUPS_SERVER=//p' "$work/start.out")
lpstat -p "$queue" >/dev/null 2>&1 || fail "the private queue $queue did not come up"

sheet=$here/../data/preset-7x20-texts.tav
env -u DISPLAY XDG_CONFIG_HOME="$work/config" timeout 60 "$bin" /pt "$sheet" "$queue" ||
  fail "tavromark /pt exited with $?"

# The job leaves the queue, then cups-pdf's file appears.
for _ in $(seq 300); do
  [[ -z $(lpstat -o "$queue" 2>/dev/null) ]] && compgen -G "$work/cups/out/*.pdf" >/dev/null && break
  sleep 0.1
done
pdf=$(compgen -G "$work/cups/out/*.pdf" | head -n1)
[[ -n $pdf ]] || fail "no PDF arrived from the queue"
sleep 0.3 # cups-pdf may still be closing the file
pages=$(pdfinfo "$pdf" | awk '/^Pages:/ {print $2}')
[[ $pages == 1 ]] || fail "the queue printed $pages pages, not 1"

# Ghostscript redistills the text, so positions are checked on pixels.
dpi=50
pdftoppm -gray -r $dpi -singlefile "$pdf" "$work/page" 2>/dev/null || fail "pdftoppm failed"
# The top-left corner of the queue's printable area on A4, in points.
area=$(sed -n 's/^\*ImageableArea A4\/[^:]*: *"\(.*\)"/\1/p' "$work/cups/ppd/$queue.ppd")
[[ -n $area ]] || fail "the queue's PPD has no printable area for A4"
python3 - "$work/page.pgm" $dpi $area <<'PY' || fail "ink outside the selected labels"
import sys
path, dpi = sys.argv[1], int(sys.argv[2])
# ImageableArea: lower left x, y and upper right x, y in points from the
# bottom-left; the origin of printing is its top-left.
llx, lly, urx, ury = map(float, sys.argv[3:7])
origin_x, origin_y = llx * 25.4 / 72, (842 - ury) * 25.4 / 72
data = open(path, 'rb').read()
# binary PGM: P5, width, height, maxval, then the pixels
fields, pos = [], 0
while len(fields) < 4:
    while data[pos:pos + 1].isspace():
        pos += 1
    end = pos
    while not data[end:end + 1].isspace():
        end += 1
    fields.append(data[pos:end])
    pos = end
pixels = data[pos + 1:]
width, height = int(fields[1]), int(fields[2])
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
for _ in $(seq 300); do
  [[ -z $(lpstat -o "$queue" 2>/dev/null) && $(compgen -G "$work/cups/out/*.pdf" | wc -l) -ge 1 ]] && break
  sleep 0.1
done
[[ $(compgen -G "$work/cups/out/*.pdf" | wc -l) -ge 1 ]] || fail "/p printed nothing on the default queue"
echo "printed through $queue with /pt and /p: one page, ink in the selected labels only"

#!/usr/bin/env bash
# Wire lists printed to PDF from the command line: a page per sheet in order,
# each marker at its label (the first sheet's selected labels, then every
# label), copies, header rows, workbooks, and refusals that write nothing.
# Usage: wire_list.sh TAVROMARK
set -uo pipefail
bin=${1:?usage: $0 path/to/tavromark}
command -v pdftotext >/dev/null || exit 77
here=$(cd "$(dirname "$0")" && pwd)
data=$here/../data
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/pdf_check.bash" # every PDF the program writes passes qpdf --check
export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data QT_QPA_PLATFORM=offscreen
failures=0
fail() {
  echo "FAIL $*"
  failures=$((failures + 1))
}

# The sheet: A4, margins 10 mm, 3 columns × 4 rows of 60 × 60 mm labels
# (pitches 65 and 72.33 mm); only labels (0,1) and (2,2) are selected.
python3 - "$data/default.tav" "$work/sheet.tav" <<'PY'
import struct, sys
src = open(sys.argv[1], 'rb').read()
head = 1 + src[0]
record = src[head + 72:head + 72 + 125]
out = [src[:head], struct.pack('<8d2i', 210, 297, 10, 10, 10, 10, 60, 60, 3, 4)]
for r in range(4):
    for c in range(3):
        out.append(struct.pack('<i', 1 if (r, c) in ((0, 1), (2, 2)) else 0) + record[4:])
open(sys.argv[2], 'wb').write(b''.join(out))
PY

# layout PDF: one line per page, "row,col=TEXT" for each word, the label
# found from the word's centre; in label order, top to bottom within one.
layout() {
  pdftotext -bbox "$1" - | python3 -c '
import re, sys
pages = sys.stdin.read().split("<page ")[1:]
for page in pages:
    cells = []
    for x0, y0, x1, y1, text in re.findall(r"xMin=\"([\d.]+)\" yMin=\"([\d.]+)\" xMax=\"([\d.]+)\" yMax=\"([\d.]+)\">([^<]*)<", page):
        x = (float(x0) + float(x1)) / 2 * 25.4 / 72
        y = (float(y0) + float(y1)) / 2 * 25.4 / 72
        cells.append((round((y - 40) / (217 / 3)), round((x - 40) / 65), y, x, text))
    print(" ".join("%d,%d=%s" % (r, c, text) for r, c, y, x, text in sorted(cells)))
'
}

# check NAME PDF EXPECTED: the layout of every page, pages separated by "|".
check() {
  local got
  got=$(layout "$2" | paste -sd'|')
  [[ $got == "$3" ]] || fail "$1: got '$got', expected '$3'"
}

{
  echo "线号,说明,数量"
  for n in $(seq -w 1 16); do echo "W$n,end,1"; done
} >"$work/wires.csv"

"$bin" --pdf "$work/sheets.pdf" --list "$work/wires.csv" --header "$work/sheet.tav" 2>"$work/err" ||
  fail "16 markers: exit $?: $(cat "$work/err")"
check "first sheet selected, then every label" "$work/sheets.pdf" \
  "0,1=W01 2,2=W02|0,0=W03 0,1=W04 0,2=W05 1,0=W06 1,1=W07 1,2=W08 2,0=W09 2,1=W10 2,2=W11 3,0=W12 3,1=W13 3,2=W14|0,0=W15 0,1=W16"
size=$(pdfinfo "$work/sheets.pdf" | awk '/^Page size:/ {print $3 "x" $5}')
[[ $size == 595x842 ]] || fail "page size $size"

"$bin" --pdf "$work/selected.pdf" --list "$work/wires.csv" --header --selected-only --columns A "$work/sheet.tav" ||
  fail "selected only: exit $?"
check "selected positions on every sheet" "$work/selected.pdf" \
  "$(for n in $(seq -w 1 2 15); do printf '0,1=W%s 2,2=W%02d|' "$n" $((10#$n + 1)); done | sed 's/|$//')"

head -4 "$work/wires.csv" >"$work/three.csv"
"$bin" --pdf "$work/copies.pdf" --list "$work/three.csv" --columns 1,2 --copies 2 "$work/sheet.tav" ||
  fail "copies: exit $?"
# Without --header the header row is a marker too; two lines per marker.
check "copies, two lines" "$work/copies.pdf" \
  "0,1=线号 0,1=说明 2,2=线号 2,2=说明|0,0=W01 0,0=end 0,1=W01 0,1=end 0,2=W02 0,2=end 1,0=W02 1,0=end 1,1=W03 1,1=end 1,2=W03 1,2=end"

"$bin" --pdf "$work/joined.pdf" --list "$work/three.csv" --header --columns 1,2 --join - "$work/sheet.tav" ||
  fail "join: exit $?"
check "joined by a separator" "$work/joined.pdf" "0,1=W01-end 2,2=W02-end|0,0=W03-end"

# A workbook written by LibreOffice: the count of each row in column D.
"$bin" --pdf "$work/book.pdf" --list "$data/wirelists/libreoffice.xlsx" --header --quantity-column D \
  "$work/sheet.tav" || fail "xlsx: exit $?"
check "xlsx with a quantity column" "$work/book.pdf" "0,1=W001 2,2=W001|0,0=W002 0,1=W003 0,2=W003 1,0=W003 1,1=W005"

# Both ends of each wire, from a workbook with a title row above the column
# names: end A shows where the wire goes, end B where it comes from; the
# quantity counts pairs.
"$bin" --pdf "$work/ends.pdf" --list "$data/wirelists/handover.xlsx" --header 2 --ends 1,3/1,2 --join : \
  --quantity-column D "$work/sheet.tav" 2>"$work/err" || fail "ends: exit $?: $(cat "$work/err")"
check "two ends side by side" "$work/ends.pdf" \
  "0,1=W001:-K2:8 2,2=W001:-X2:2|0,0=W001:-K2:8 0,1=W001:-X2:2 0,2=W002 1,0=W002:-X2:3 1,1=W003:-K3:1 1,2=W003:-X2:4"

# Refusals: nothing is written, an earlier PDF of the same name survives.
{
  echo "W1"
  printf 'W%050d\n' 2
} >"$work/long.csv"
cp "$work/book.pdf" "$work/keep.pdf"
"$bin" --pdf "$work/keep.pdf" --list "$work/long.csv" "$work/sheet.tav" 2>"$work/err"
status=$?
[[ $status -eq 1 ]] || fail "over-long cell: exit $status"
grep -q "long.csv': row 2: the marker takes 51 bytes" "$work/err" || fail "over-long cell: $(cat "$work/err")"
cmp -s "$work/book.pdf" "$work/keep.pdf" || fail "over-long cell: the earlier PDF changed"
"$bin" --pdf "$work/none.pdf" --list "$work/long.csv" "$work/sheet.tav" 2>/dev/null
[[ -e $work/none.pdf ]] && fail "over-long cell: a PDF was written"

"$bin" --pdf "$work/none.pdf" --list "$data/wirelists/bomb.xlsx" "$work/sheet.tav" 2>"$work/err"
status=$?
[[ $status -eq 1 ]] && grep -q "bomb.xlsx': 'xl/worksheets/sheet1.xml' would unpack" "$work/err" ||
  fail "zip bomb: exit $status: $(cat "$work/err")"

for bad in "--columns 0" "--ends 1,2" "--ends 1/2 --columns 3" "--copies 0" "--quantity-column 1,2" "--encoding NO-SUCH-CODE" "--copies 2 --quantity-column 3"; do
  # shellcheck disable=SC2086
  "$bin" --pdf "$work/none.pdf" --list "$work/wires.csv" $bad "$work/sheet.tav" 2>"$work/err"
  status=$?
  [[ $status -eq 2 ]] || fail "bad option $bad: exit $status"
done
# A column past the list's last (wires.csv has 3) is a bad option, not blank
# markers or a column dropped.
for bad in "--columns 3,9" "--ends 3,2/9" "--quantity-column D"; do
  # shellcheck disable=SC2086
  "$bin" --pdf "$work/none.pdf" --list "$work/wires.csv" $bad "$work/sheet.tav" 2>"$work/err"
  status=$?
  [[ $status -eq 2 ]] && grep -q "wires.csv': .*past the list's last: the list has 3 columns" "$work/err" ||
    fail "column past the last, $bad: exit $status: $(cat "$work/err")"
done
"$bin" --list "$work/wires.csv" "$work/sheet.tav" 2>"$work/err"
[[ $? -eq 2 ]] && grep -q "goes with --pdf" "$work/err" || fail "--list without printing: $(cat "$work/err")"
"$bin" --pdf "$work/none.pdf" --header "$work/sheet.tav" 2>"$work/err"
[[ $? -eq 2 ]] || fail "a list option without --list"
[[ -e $work/none.pdf ]] && fail "a refused command wrote a PDF"

if ((failures)); then
  echo "$failures failure(s)"
  exit 1
fi
echo "all wire list checks passed"

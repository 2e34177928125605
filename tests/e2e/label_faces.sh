#!/usr/bin/env bash
# Label faces on paper, through the PDF export of tests/data/label-faces-2x8.tav
# (one row per face, all at a stored height of 8 mm): every face prints its
# lines 8 mm apart, the cell height the stored height asks for, a Latin face
# with its ascent plus descent that high (a Chinese one with its em), and a
# text too long for its box shrinks until all of it lies inside.
# Usage: label_faces.sh TAVROMARK
set -uo pipefail
bin=${1:?usage: $0 path/to/tavromark}
command -v pdftotext >/dev/null || exit 77
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/pdf_check.bash" # every PDF the program writes passes qpdf --check
data=$(cd "$(dirname "$0")/../data" && pwd)

env -u DISPLAY -u WAYLAND_DISPLAY XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config" \
  timeout 60 "$bin" --pdf "$work/faces.pdf" "$data/label-faces-2x8.tav" || {
  echo "FAIL: no PDF of the face sheet"
  exit 1
}
pdftotext -bbox "$work/faces.pdf" "$work/faces.html" || exit 1

# Every word as: text xMin yMin xMax yMax, in points.
sed -n 's/.*<word xMin="\([0-9.]*\)" yMin="\([0-9.]*\)" xMax="\([0-9.]*\)" yMax="\([0-9.]*\)">\(.*\)<\/word>/\5 \1 \2 \3 \4/p' \
  "$work/faces.html" >"$work/words"

# The pitch of the two lines of each row's left label: 8 mm = 22.68 pt.
awk '
  /^top[0-9]/ { top[substr($1, 4)] = $3 }
  /^low[0-9]/ { low[substr($1, 4)] = $3 }
  END {
    bad = 0
    for (r = 0; r < 8; ++r) {
      if (!(r in top) || !(r in low)) { print "FAIL row " r ": its lines are missing"; bad = 1; continue }
      pitch = low[r] - top[r]
      if (pitch < 22.4 || pitch > 22.95) { printf "FAIL row %d: lines %.2f pt apart, not 22.68\n", r, pitch; bad = 1 }
    }
    exit bad
  }' "$work/words" || failures=1

# A Latin face's word box is its ascent plus descent at the printed size:
# the cell height itself for DejaVu Sans (row 0), Nimbus Roman (row 2) and
# DejaVu Serif (row 7), not the larger box of an em as high as the cell.
awk '
  $1 ~ /^top[027]$/ {
    ++n
    height = $5 - $3
    if (height < 22.1 || height > 23.2) { printf "FAIL %s: a word box %.2f pt high, not 22.68\n", $1, height; bad = 1 }
  }
  END {
    if (n != 3) { print "FAIL: " n " Latin rows, not 3"; bad = 1 }
    exit bad
  }' "$work/words" || failures=1

# The long text of the right column: the labels span 110 to 200 mm and have
# inner margins of 1 mm, so the text box is 314.6 to 564.1 pt wide.
awk '
  $1 == "CABLE-0123456789-ABCDEFGH" {
    ++n
    if ($2 < 314.3 || $4 > 564.4) { printf "FAIL long text %d: %.1f to %.1f pt leaves its box\n", n, $2, $4; bad = 1 }
  }
  END {
    if (n != 8) { print "FAIL: " n " long texts, not 8"; bad = 1 }
    exit bad
  }' "$work/words" || failures=1

if ((${failures:-0})); then
  exit 1
fi
echo "all label face checks passed"

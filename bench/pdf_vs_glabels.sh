#!/usr/bin/env bash
# One full sheet to PDF, side by side: `tavromark --pdf` on a 15 × 25 sheet
# with text in every label, and gLabels' batch renderer (glabels-3-batch) on
# an equivalent A4 sheet of 15 × 25 labels with one text object each (the
# same text on every label, as a document without merge data prints it).
# Each program starts, lays out 375 texts and writes one PDF page per run;
# prints every run, the medians and the ratio.
# Usage: bench/pdf_vs_glabels.sh [TAVROMARK [RUNS]]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
bin=${1:-$top/build/src/tavromark}
runs=${2:-11}
if ! command -v glabels-3-batch >/dev/null; then
  apt-get install -y glabels >/dev/null
fi
work=$(mktemp -d)
trap '[[ -n ${KEEP_WORK:-} ]] && echo "kept $work" || rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config QT_QPA_PLATFORM=offscreen

# The sheet: A4, margins 5 mm, 15 × 25 labels of 12 × 10 mm, "W001" to
# "W375", all selected; every other field as a new document has it (the
# records of tests/data/default.tav).
python3 - "$top/tests/data/default.tav" "$work/full.tav" <<'PY'
import struct, sys
src = open(sys.argv[1], 'rb').read()
head = 1 + src[0]                      # the signature with its length byte
record = src[head + 72:head + 72 + 125]  # an empty label: 4 + 1 + 40 + 20 + 60 bytes
assert record[4] == 0, "the first label of the template is not empty"
fmt = struct.pack('<8d2i', 210, 297, 5, 5, 5, 5, 12, 10, 15, 25)
out = [src[:head], fmt]
for n in range(1, 376):
    text = b'W%03d' % n
    out.append(record[:4] + bytes([len(text)]) + text + record[5:])
open(sys.argv[2], 'wb').write(b''.join(out))
PY

cat >"$work/full.glabels" <<'XML'
<?xml version="1.0"?>
<Glabels-document xmlns="http://glabels.org/xmlns/3.0/">
  <Template brand="Tavro" part="B375" size="A4" description="15 x 25 labels">
    <Meta category="label"/>
    <Label-rectangle id="0" width="12mm" height="10mm" round="0mm" x_waste="0mm" y_waste="0mm">
      <Markup-margin size="0.5mm"/>
      <Layout nx="15" ny="25" x0="5mm" y0="5mm" dx="13.4286mm" dy="11.5417mm"/>
    </Label-rectangle>
  </Template>
  <Objects id="0" rotate="False">
    <Object-text x="0.5mm" y="0.5mm" w="11mm" h="9mm" justify="Center" valign="Middle" auto_shrink="False"
                 a0="1" a1="0" a2="0" a3="1" a4="0" a5="0">
      <Span color="0x000000ff" font_family="Noto Serif CJK SC" font_size="9" font_weight="Regular"
            font_italic="False" line_spacing="1">W123</Span>
    </Object-text>
  </Objects>
</Glabels-document>
XML

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
# seconds NAME COMMAND...: runs the command once unmeasured, then RUNS times;
# prints each run and leaves the median in $median.
seconds() {
  local name=$1
  shift
  "$@" >/dev/null 2>&1
  local times=()
  for _ in $(seq "$runs"); do
    local t0 t1
    t0=$(date +%s.%N)
    "$@" >/dev/null 2>&1
    t1=$(date +%s.%N)
    times+=("$(echo "$t1 - $t0" | bc)")
  done
  median=$(printf '%s\n' "${times[@]}" | median)
  printf '%-16s runs: %s\n' "$name" "${times[*]}"
}

seconds tavromark "$bin" --pdf "$work/ours.pdf" "$work/full.tav"
ours=$median
seconds glabels-3-batch glabels-3-batch -s 1 -o "$work/theirs.pdf" "$work/full.glabels"
theirs=$median

# Both pages must hold the 375 texts, or the race means nothing.
count_ours=$(pdftotext "$work/ours.pdf" - | grep -o 'W[0-9][0-9][0-9]' | wc -l)
count_theirs=$(pdftotext "$work/theirs.pdf" - | grep -o 'W123' | wc -l)
echo "texts on the page: tavromark $count_ours, glabels-3-batch $count_theirs"
printf 'median seconds per sheet: tavromark %.3f, glabels-3-batch %.3f, ratio %.1f\n' \
  "$ours" "$theirs" "$(echo "$theirs / $ours" | bc -l)"

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

# shellcheck source=full-sheet.sh
source "$top/bench/full-sheet.sh"
make_full_sheet "$top/tests/data/default.tav" "$work/full.tav" "$work/full.glabels" W123

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

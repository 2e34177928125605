#!/usr/bin/env bash
# A wire list to PDF, side by side: `tavromark --pdf --list` with a list of
# 15,000 rows on a 15 × 25 sheet (40 sheets), and gLabels' batch renderer
# (glabels-3-batch) merging the same 15,000 texts from CSV onto the
# equivalent A4 sheet. Prints every run, the medians and the ratio; then the
# peak memory (maximum resident set size) of tavromark for lists of 15,000
# and 150,000 rows (40 and 400 sheets).
# Usage: bench/wirelist_vs_glabels.sh [TAVROMARK [RUNS]]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
bin=${1:-$top/build/src/tavromark}
runs=${2:-3}
if ! command -v glabels-3-batch >/dev/null; then
  apt-get -o DPkg::Lock::Timeout=900 install -y --no-install-recommends glabels >/dev/null
fi
work=$(mktemp -d)
trap '[[ -n ${KEEP_WORK:-} ]] && echo "kept $work" || rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config QT_QPA_PLATFORM=offscreen

# shellcheck source=full-sheet.sh
source "$top/bench/full-sheet.sh"
seq -f 'W%05g' 1 15000 >"$work/wires.csv"
seq -f 'W%06g' 1 150000 >"$work/wires-150k.csv"
make_full_sheet "$top/tests/data/default.tav" "$work/full.tav" "$work/merge.glabels" '<Field name="1"/>' \
  "$work/wires.csv"

seconds tavromark "$bin" --pdf "$work/ours.pdf" --list "$work/wires.csv" --allow-clipping "$work/full.tav"
ours=$median
seconds glabels-3-batch glabels-3-batch -o "$work/theirs.pdf" "$work/merge.glabels"
theirs=$median

# Both files must hold the 15,000 texts on 40 pages, or the race means nothing.
for f in ours theirs; do
  pages=$(pdfinfo "$work/$f.pdf" | awk '/^Pages:/ {print $2}')
  texts=$(pdftotext "$work/$f.pdf" - | grep -o 'W[0-9]\{5\}' | sort -u | wc -l)
  echo "$f: $pages pages, $texts different texts"
done
printf 'median seconds for 15,000 markers: tavromark %.3f, glabels-3-batch %.3f, ratio %.1f\n' \
  "$ours" "$theirs" "$(echo "$theirs / $ours" | bc -l)"

peak() {
  /usr/bin/time -f "%M" -o "$work/rss" "$bin" --pdf "$work/peak.pdf" --list "$1" --allow-clipping "$work/full.tav" 2>/dev/null
  echo "$(($(cat "$work/rss") / 1024)) MB"
}
echo "tavromark peak memory: 15,000 rows (40 sheets) $(peak "$work/wires.csv"), 150,000 rows (400 sheets) $(peak "$work/wires-150k.csv")"

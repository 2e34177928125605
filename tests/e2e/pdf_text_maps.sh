#!/usr/bin/env bash
# The text maps of the fonts of a PDF the program writes (what search and
# copy give for each glyph), checked from outside with qpdf and pdftotext.
# A face that draws many ideographs gets a map of more than a hundred
# blocks, which Qt 6.4 pads with leftover memory: the maps are written anew
# and every object of the PDF stays where the cross-reference table says.
# Usage: pdf_text_maps.sh TAVROMARK
set -uo pipefail
bin=${1:?usage: $0 path/to/tavromark}
command -v pdftotext >/dev/null || exit 77
here=$(cd "$(dirname "$0")" && pwd)
tools=$here/../tools
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data QT_QPA_PLATFORM=offscreen
source "$(dirname "$0")/pdf_check.bash" # every PDF the program writes passes qpdf --check
failures=0
fail() {
  echo "FAIL $*"
  failures=$((failures + 1))
}

# Every text map of the PDF holds text only, each block as many entries
# (one a line) as it says it holds.
maps_are_clean() {
  python3 - "$1" <<'PY'
import re, sys
pdf = open(sys.argv[1], 'rb').read()
maps = [pdf[m.end() - 8:m.end() - 8 + int(m.group(1))]
        for m in re.finditer(rb'<< /Length (\d+) >>\nstream\n/CIDInit', pdf)]
bad = 0
for body in maps:
    blocks = re.findall(rb'(\d+) ?begin(bfrange|bfchar)\n(.*?)end\2', body, re.S)
    if re.search(rb'[^\x20-\x7e\n]', body) or any(
            int(n) != len([line for line in entries.split(b'\n') if line.strip()]) for n, _, entries in blocks):
        bad += 1
print('%d maps, %d not as they say' % (len(maps), bad))
sys.exit(1 if bad or not maps else 0)
PY
}

# 1,111 ideographs in runs of ten code points: each run one entry of the
# map, so 楷体's map has more than a hundred blocks.
python3 - "$work/runs.csv" <<'PY'
import sys
chars = [chr(0x4E00 + i) for i in range(1222) if i % 11 != 10]
with open(sys.argv[1], 'w', encoding='utf-8') as f:
    for i in range(0, len(chars), 11):
        f.write(''.join(chars[i:i + 11]) + '\n')
PY
python3 "$tools/write_face_sheet.py" "$work/kai.tav" 14 楷体 宋体
"$bin" --pdf "$work/runs.pdf" --list "$work/runs.csv" --copies 2 --shrink "$work/kai.tav" 2>"$work/err" ||
  fail "a map of many blocks: exit $?: $(cat "$work/err")"
maps_are_clean "$work/runs.pdf" >"$work/maps" || fail "a map of many blocks: $(cat "$work/maps")"
pdftotext "$work/runs.pdf" - | tr -d ' \n\f' >"$work/runs.txt"
python3 - "$work/runs.csv" "$work/runs.txt" <<'PY' || fail "a map of many blocks: text lost"
import collections, sys
want = collections.Counter(open(sys.argv[1], encoding='utf-8').read().replace('\n', '') * 2)
got = collections.Counter(open(sys.argv[2], encoding='utf-8').read())
missing = want - got
if missing:
    print('missing: ' + ''.join(sorted(missing)))
    sys.exit(1)
PY

if ((failures)); then
  exit 1
fi
echo "every text map reads, every object in place"

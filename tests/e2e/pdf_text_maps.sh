#!/usr/bin/env bash
# The text maps of the fonts of a PDF the program writes (what search and
# copy give for each glyph), checked from outside with qpdf and pdftotext:
# each glyph gives the character the marker drew with it.
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

# Words whose glyphs other code points reach first in some face (户 and 戶,
# 胶 and 㬵, 彐 and ⺕, 门 and ⻔, rarer GBK characters), in every face the
# program maps, upright, bold and vertical: each label reads back as its
# marker. The list's rows go across a sheet row, one label a style.
styles=(宋体 宋体:bold @宋体 黑体 黑体:bold @黑体 楷体 楷体:bold @楷体 仿宋 仿宋:bold @仿宋)
words=(户外箱 热缩胶管 彐 罒 肦 戸 大门 黄绿 电机 接触器 端子排 W001)
printf '%s\n' "${words[@]}" >"$work/words.csv"
python3 "$tools/write_face_sheet.py" "$work/styles.tav" "${#words[@]}" "${styles[@]}"
"$bin" --pdf "$work/words.pdf" --list "$work/words.csv" --copies "${#styles[@]}" --shrink "$work/styles.tav" \
  2>"$work/err" || fail "words in every face: exit $?: $(cat "$work/err")"
maps_are_clean "$work/words.pdf" >"$work/maps" || fail "words in every face: $(cat "$work/maps")"
pdftotext -bbox "$work/words.pdf" - | python3 -c '
import re, sys
styles, words = sys.argv[1].split(), sys.argv[2].split()
mm = lambda pt: float(pt) * 25.4 / 72
labels = {}
for x0, y0, x1, y1, text in re.findall(r"xMin=\"([\d.]+)\" yMin=\"([\d.]+)\" xMax=\"([\d.]+)\" yMax=\"([\d.]+)\">([^<]*)<", sys.stdin.read()):
    x, y = (mm(x0) + mm(x1)) / 2, (mm(y0) + mm(y1)) / 2
    labels.setdefault((int((y - 5) // 18), int((x - 5) // 34)), []).append((y, x, text))
bad = 0
for r, word in enumerate(words):
    for c, style in enumerate(styles):
        # Vertical writing reads down the column; the rest across.
        pieces = sorted(labels.get((r, c), []), key=lambda p: (p[0], p[1]) if style.startswith("@") else (p[1], p[0]))
        got = "".join(text for _, _, text in pieces)
        if got != word:
            print("FAIL %s in %s reads %s" % (word, style, got or "nothing"))
            bad = 1
sys.exit(bad)' "${styles[*]}" "${words[*]}" || fail "words in every face: a label reads otherwise"

if ((failures)); then
  exit 1
fi
echo "every text map reads, every object in place"

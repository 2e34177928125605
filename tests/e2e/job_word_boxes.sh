#!/usr/bin/env bash
# A 40-sheet wire-list job to PDF keeps every word where it was: the word
# boxes `pdftotext -bbox` finds agree within 0.01 pt with the recorded ones
# (tests/data/job-word-boxes.txt.gz). Latin and Chinese markers, one and two
# lines, on the 15 × 25 sheet of the benchmarks.
# Usage: job_word_boxes.sh TAVROMARK [--record]
set -uo pipefail
bin=${1:?usage: $0 path/to/tavromark [--record]}
command -v pdftotext >/dev/null || exit 77
here=$(cd "$(dirname "$0")" && pwd)
top=$here/../..
expected=$here/../data/job-word-boxes.txt.gz
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/pdf_check.bash" # every PDF the program writes passes qpdf --check
export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data QT_QPA_PLATFORM=offscreen

# shellcheck source=../../bench/full-sheet.sh
source "$top/bench/full-sheet.sh"
make_full_sheet "$here/../data/default.tav" "$work/full.tav" "$work/unused.glabels" ''
python3 - "$work/wires.csv" <<'PY'
import sys
words = ['电机', '水泵', '火警', '黄绿', '用电']
with open(sys.argv[1], 'w', encoding='utf-8') as out:
    for n in range(1, 15001):
        if n % 7 == 0:
            out.write('"W%05d\n%s"\n' % (n, words[n % 5]))
        elif n % 5 == 0:
            out.write('%s%d\n' % (words[n % 5], n))
        else:
            out.write('W%05d\n' % n)
PY
"$bin" --pdf "$work/job.pdf" --list "$work/wires.csv" --allow-clipping "$work/full.tav" || {
  echo "FAIL the job was not written"
  exit 1
}
pdftotext -bbox "$work/job.pdf" - | grep -o '<word [^>]*>[^<]*</word>' >"$work/boxes.txt"
if [[ ${2:-} == --record ]]; then
  gzip -9n <"$work/boxes.txt" >"$expected"
  exit 0
fi
python3 - "$work/boxes.txt" "$expected" <<'PY'
import gzip, re, sys
pattern = re.compile(r'xMin="([-0-9.]+)" yMin="([-0-9.]+)" xMax="([-0-9.]+)" yMax="([-0-9.]+)">([^<]*)<')
# In the order of their texts and places: the order in which pdftotext
# reads the words of a page is no part of the output.
def boxes(text):
    found = [m.groups() for m in pattern.finditer(text)]
    return sorted(found, key=lambda b: (b[4], round(float(b[1])), round(float(b[0]))))
got = boxes(open(sys.argv[1], encoding='utf-8').read())
want = boxes(gzip.open(sys.argv[2], 'rt', encoding='utf-8').read())
if len(got) != len(want):
    sys.exit('FAIL %d words, expected %d' % (len(got), len(want)))
worst = 0.0
for i, (g, w) in enumerate(zip(got, want)):
    if g[4] != w[4]:
        sys.exit('FAIL word %d is %r, expected %r' % (i, g[4], w[4]))
    worst = max(worst, *(abs(float(a) - float(b)) for a, b in zip(g[:4], w[:4])))
    if worst > 0.01:
        sys.exit('FAIL word %d (%s) moved: %s, expected %s' % (i, g[4], g[:4], w[:4]))
print('%d words, largest difference %.6f pt' % (len(got), worst))
PY

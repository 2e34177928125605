#!/usr/bin/env bash
# Sequence patterns printed to PDF from the command line: every marker in
# order at its label (the default sheet of 5 × 14 labels, all selected, so
# 72 markers take 70 labels and 2 of a second sheet), copies, and refusals
# with exit status 2 that write nothing.
# Usage: sequence_pattern.sh TAVROMARK
set -uo pipefail
bin=${1:?usage: $0 path/to/tavromark}
command -v pdftotext >/dev/null || exit 77
here=$(cd "$(dirname "$0")" && pwd)
sheet=$here/../data/default.tav
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/pdf_check.bash" # every PDF the program writes passes qpdf --check
export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data QT_QPA_PLATFORM=offscreen
failures=0
fail() {
  echo "FAIL $*"
  failures=$((failures + 1))
}

# labels PDF: "page:row,col=TEXT" for each word, the label found from the
# word's centre on the default sheet (140 × 200 mm, margins 12/12/3/3 mm,
# labels 19 × 8.65 mm), sorted by page and label.
labels() {
  pdftotext -bbox "$1" - | python3 -c '
import re, sys
pages = sys.stdin.read().split("<page ")[1:]
out = []
for p, page in enumerate(pages, 1):
    for x0, y0, x1, y1, text in re.findall(r"xMin=\"([\d.]+)\" yMin=\"([\d.]+)\" xMax=\"([\d.]+)\" yMax=\"([\d.]+)\">([^<]*)<", page):
        x = (float(x0) + float(x1)) / 2 * 25.4 / 72
        y = (float(y0) + float(y1)) / 2 * 25.4 / 72
        col = (x - 12 - 9.5) / ((140 - 24 - 19) / 4)
        row = (y - 3 - 4.325) / ((200 - 6 - 8.65) / 13)
        if abs(col - round(col)) > 0.2 or abs(row - round(row)) > 0.2:
            out.append((p, -1, -1, "%d:off-label=%s" % (p, text)))
        else:
            out.append((p, round(row), round(col), "%d:%d,%d=%s" % (p, round(row), round(col), text)))
print(" ".join(word for *_, word in sorted(out)))
'
}

expected=$(python3 -c '
out = []
for n, (a, b) in enumerate((a, b) for a in range(1, 4) for b in range(1, 25)):
    page, i = (1, n) if n < 70 else (2, n - 70)
    out.append("%d:%d,%d=X%d:%d" % (page, i // 5, i % 5, a, b))
print(" ".join(out))
')
"$bin" --pdf "$work/x.pdf" --pattern 'X{1-3}:{1-24}' "$sheet" || fail "the pattern job exited with $?"
got=$(labels "$work/x.pdf")
[[ $got == "$expected" ]] || fail "X{1-3}:{1-24}: got '$got'"

# Copies and repeats both double each marker.
"$bin" --pdf "$work/c.pdf" --pattern 'W{1-3}' --copies 2 "$sheet" || fail "--copies exited with $?"
"$bin" --pdf "$work/r.pdf" --pattern 'W{1-3}*2' "$sheet" || fail "*2 exited with $?"
want="1:0,0=W1 1:0,1=W1 1:0,2=W2 1:0,3=W2 1:0,4=W3 1:1,0=W3"
[[ $(labels "$work/c.pdf") == "$want" ]] || fail "--copies 2: got '$(labels "$work/c.pdf")'"
[[ $(labels "$work/r.pdf") == "$want" ]] || fail "*2: got '$(labels "$work/r.pdf")'"

# --pages prints only the sheets asked for, each exactly as the whole job
# prints it: W1-W350 take five sheets of 70.
"$bin" --pdf "$work/all.pdf" --pattern 'W{1-350}' "$sheet" || fail "the five-sheet job exited with $?"
"$bin" --pdf "$work/some.pdf" --pattern 'W{1-350}' --pages 2-3 "$sheet" || fail "--pages 2-3 exited with $?"
"$bin" --pdf "$work/one.pdf" --pattern 'W{1-350}' --pages 5,1 "$sheet" || fail "--pages 5,1 exited with $?"
pages() { pdfinfo "$1" | awk '/^Pages:/ {print $2}'; }
[[ $(pages "$work/some.pdf") == 2 ]] || fail "--pages 2-3 gave $(pages "$work/some.pdf") pages"
[[ $(pdftotext -f 2 -l 3 "$work/all.pdf" -) == $(pdftotext "$work/some.pdf" -) ]] ||
  fail "--pages 2-3 differs from the whole job's sheets 2 and 3"
[[ $(pdftotext -f 1 -l 1 "$work/all.pdf" -; pdftotext -f 5 -l 5 "$work/all.pdf" -) == $(pdftotext "$work/one.pdf" -) ]] ||
  fail "--pages 5,1 differs from the whole job's sheets 1 and 5"
err=$("$bin" --pdf "$work/no.pdf" --pattern 'W{1-350}' --pages 4-7 "$sheet" 2>&1 >/dev/null)
status=$?
[[ $status -eq 2 && $err == *"--pages 4-7: the job has 5 sheets"* ]] || fail "--pages beyond the job: $status, $err"
[[ ! -e $work/no.pdf ]] || fail "--pages beyond the job wrote a PDF"

# Refusals: exit 2, a reason, and no file.
refuse() {
  local name=$1 reason=$2
  shift 2
  local err status
  err=$("$bin" --pdf "$work/no.pdf" "$@" "$sheet" 2>&1 >/dev/null)
  status=$?
  [[ $status -eq 2 ]] || fail "$name: exit status $status, expected 2"
  [[ $err == *"$reason"* ]] || fail "$name: no '$reason' in: $err"
  [[ ! -e $work/no.pdf ]] || fail "$name: wrote a PDF"
}
refuse "list and pattern" "--list and --pattern cannot be combined" --pattern 'W{1-2}' --list "$sheet"
refuse "zero step" "--pattern: character 5: the step cannot be 0" --pattern '{1-9/0}'
refuse "too many" "more than 1000000 markers" --pattern '{1-1000}{1-1001}'
refuse "too long" "marker 1" --pattern "$(printf 'x%.0s' {1..51})"
refuse "list options" "go with --list, not --pattern" --pattern 'W{1-2}' --columns 2
refuse "bad pages" "--pages takes sheet numbers" --pattern 'W{1-2}' --pages 3-1

exit $((failures > 0))

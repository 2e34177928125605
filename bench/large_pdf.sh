#!/usr/bin/env bash
# The largest PDF a list job writes in practice: every one of the 20,923
# ideographs of code page 936, twelve a marker, six copies each on a sheet
# of six faces (宋体, 黑体, 楷体, 仿宋, and 宋体 and 黑体 bold), so that
# each face embeds every glyph. Prints the size, time and peak memory of the
# run; fails unless qpdf --check passes and pdftotext finds every ideograph.
# Usage: bench/large_pdf.sh [BUILD [LINES]]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-${TAVRO_BUILD_DIR:-$top/build}}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data

python3 "$top/tests/tools/write_ideograph_list.py" "$work/list.csv" ${2:+--lines "$2"}
python3 "$top/tests/tools/write_face_sheet.py" "$work/sheet.tav" 14 宋体 黑体 楷体 仿宋 宋体:bold 黑体:bold
/usr/bin/time -f '%e %M' -o "$work/time" \
  "$build/src/tavromark" --pdf "$work/out.pdf" --list "$work/list.csv" --copies 6 --shrink "$work/sheet.tav"
read -r seconds peak <"$work/time"
printf '%d lines: %.1f MB in %.1f s, peak %.0f MB\n' "$(wc -l <"$work/list.csv")" \
  "$(echo "$(stat -c %s "$work/out.pdf") / 1048576" | bc -l)" "$seconds" "$(echo "$peak / 1024" | bc -l)"
qpdf --check "$work/out.pdf" >"$work/check" 2>&1 || {
  echo "FAIL qpdf --check: $(grep -v '^checking' "$work/check" | head -5)"
  exit 1
}
# Each ideograph of the list found six times, once in every face. Where a
# face draws two ideographs of the list with one glyph (郎 and 郞 in the
# Chinese faces, 壿 and 墫), the text map can give only one, the first drawn:
# those pairs are listed and allowed, nothing else. A compatibility
# ideograph counts as the one it stands for (NFC).
pdftotext "$work/out.pdf" - | python3 -c '
import collections, sys, unicodedata
nfc = lambda text: unicodedata.normalize("NFC", text)
want = collections.Counter(nfc(open(sys.argv[1], encoding="utf-8").read().replace("\n", "")) * 6)
got = collections.Counter(ch for ch in nfc(sys.stdin.read()) if ch in want)
missing, extra = want - got, got - want
shared = " ".join("%s/%s" % (m, e) for m in missing for e in extra if missing[m] == extra[e])
lost = sum(missing.values()) - sum(extra.values())
print("qpdf --check passed; %d of %d ideographs found, one glyph for two in: %s" % (sum(want.values()) - sum(missing.values()), sum(want.values()), shared or "none"))
sys.exit(1 if lost or len(shared.split()) < len(missing) else 0)' "$work/list.csv"

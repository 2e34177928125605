#!/usr/bin/env bash
# Wire lists as other programs write them, printed from the command line and
# read back from the PDF: LibreOffice Calc saving CSV in GBK and GB18030
# (headless, filter options "44,34,ENCODING": 67 is GBK, 85 GB18030, 76
# UTF-8), and Python writing the short lists people type to reprint a few
# markers. Each PDF must pass qpdf --check and give the list's text back to
# pdftotext; standard error must name the encoding of a list whose encoding
# was weighed, and no encoding for UTF-8 and UTF-16.
# Usage: wire_list_encodings.sh TAVROMARK
set -uo pipefail
bin=${1:?usage: $0 path/to/tavromark}
command -v pdftotext >/dev/null && command -v qpdf >/dev/null || exit 77
here=$(cd "$(dirname "$0")" && pwd)
data=$here/../data
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data QT_QPA_PLATFORM=offscreen
failures=0
fail() {
  echo "FAIL $*"
  failures=$((failures + 1))
}

colours='线号,起点,终点,颜色/W001,X1:1,K1:A1,红/W002,X1:2,K1:A2,黄绿/W003,X1:3,K1:A3,蓝'
# writer (lo:TOKEN, or a Python codec with "+bom" for a byte order mark) |
# rows, "/" between them | options | the PDF's text | what standard error says
cases=(
  "lo:67|$colours|--header --columns 4|红 黄绿 蓝|read as GB18030"
  "lo:85|$colours|--header --columns 4|红 黄绿 蓝|read as GB18030"
  "lo:76|$colours|--header --columns 4|红 黄绿 蓝|"
  "gbk|$colours|--header --columns 4|红 黄绿 蓝|read as GB18030"
  "gbk|W001,X1:1,K1:A1,红|--columns 1,4 --join -|W001-红|read as GB18030"
  "gbk|W1,电机|--columns 1,2 --join -|W1-电机|read as GB18030"
  "gbk|W1,电机/W2,接触器|--columns 2|电机 接触器|read as GB18030"
  "gb18030|W1,电机|--columns 2|电机|read as GB18030"
  "gb18030|W1,黄绿/W2,蓝|--columns 2|黄绿 蓝|read as GB18030"
  "utf-8|W1,电机|--columns 2|电机|"
  "utf-8|W1,黄绿/W2,蓝|--columns 2|黄绿 蓝|"
  "utf-16+bom|W1,电机|--columns 2|电机|"
  "utf-16+bom|W1,黄绿/W2,蓝|--columns 2|黄绿 蓝|"
  "big5|T001,馬達|--columns 1,2 --join -|T001-馬達|read as BIG5"
  "shift_jis|J1,モーター|--columns 1,2 --join -|J1-モーター|read as SHIFT_JIS"
)

lo=(soffice "-env:UserInstallation=file://$work/profile" --headless)
n=0
for case in "${cases[@]}"; do
  IFS='|' read -r writer rows options expected said <<<"$case"
  n=$((n + 1))
  list=$work/list$n.csv
  if [[ $writer == lo:* ]]; then
    command -v soffice >/dev/null || { echo "skip $case: no soffice"; continue; }
    tr '/' '\n' <<<"$rows" >"$work/source$n.csv"
    "${lo[@]}" --infilter="CSV:44,34,76" --convert-to "csv:Text - txt - csv (StarCalc):44,34,${writer#lo:}" \
      --outdir "$work/lo$n" "$work/source$n.csv" >/dev/null 2>&1
    mv "$work/lo$n/source$n.csv" "$list" || { fail "$case: LibreOffice wrote nothing"; continue; }
  else
    python3 -c '
import sys
codec, rows, path = sys.argv[1:]
bom = codec.endswith("+bom")
codec = codec.replace("+bom", "")
data = "".join(row + "\r\n" for row in rows.split("/")).encode(codec.replace("utf-16", "utf-16-le"))
open(path, "wb").write((b"\xff\xfe" if bom else b"") + data)
' "$writer" "$rows" "$list"
  fi
  # shellcheck disable=SC2086
  "$bin" --pdf "$work/out$n.pdf" --list "$list" $options "$data/default.tav" 2>"$work/err$n" ||
    { fail "$case: exit $?: $(cat "$work/err$n")"; continue; }
  qpdf --check "$work/out$n.pdf" >/dev/null 2>&1 || fail "$case: qpdf --check"
  got=$(pdftotext "$work/out$n.pdf" - | tr -s '[:space:]' ' ' | sed 's/^ //; s/ $//')
  [[ $got == "$expected" ]] || fail "$case: the PDF says '$got'"
  if [[ -n $said ]]; then
    grep -q "list$n.csv': $said" "$work/err$n" || fail "$case: standard error: '$(cat "$work/err$n")'"
  else
    grep -q "read as" "$work/err$n" && fail "$case: standard error: '$(cat "$work/err$n")'"
  fi
done

if ((failures)); then
  echo "$failures failure(s)"
  exit 1
fi
echo "all ${#cases[@]} lists printed as written"

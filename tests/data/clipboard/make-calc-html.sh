#!/usr/bin/env bash
# Makes calc-cells.html, a range of cells as LibreOffice Calc writes it in
# HTML (the form it also puts on the clipboard): a cell of two lines, markup
# characters, an empty cell, text that looks like a formula or a number.
# The result is committed; run this only to remake it.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
printf '"电机\nM1",W2,=+S1-K1:13\n"a&b <c>",,007\n' >cells.csv
# Every column as text, as a list of markers is kept.
soffice "-env:UserInstallation=file://$work/profile" --headless \
  --infilter="CSV:44,34,76,1,1/2/2/2/3/2,2052" --convert-to 'html:HTML (StarCalc)' cells.csv >/dev/null
cp cells.html "$here/calc-cells.html"

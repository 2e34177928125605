#!/usr/bin/env bash
# Makes the wire list fixtures from source.csv the way users make them: with
# LibreOffice Calc (soffice) saving .xlsx, .ods, CSV in UTF-8, CSV in GB18030
# with semicolons (what a Chinese spreadsheet program writes) and TSV; then
# the hostile files (make-hostile.py) and the .xlsx in containers as other
# zip writers make them (make-containers.py). The results are committed; run
# this only to remake them.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
lo=(soffice "-env:UserInstallation=file://$work/profile" --headless)
cd "$work"
cp "$here/source.csv" wires.csv
# 44 comma, 59 semicolon, 9 tab; 34 quote; 76 UTF-8, 85 GB18030.
"${lo[@]}" --infilter="CSV:44,34,76" --convert-to xlsx wires.csv >/dev/null
"${lo[@]}" --infilter="CSV:44,34,76" --convert-to ods wires.csv >/dev/null
"${lo[@]}" --convert-to 'csv:Text - txt - csv (StarCalc):44,34,76' --outdir utf8 wires.xlsx >/dev/null
"${lo[@]}" --convert-to 'csv:Text - txt - csv (StarCalc):59,34,85' --outdir gb18030 wires.xlsx >/dev/null
"${lo[@]}" --convert-to 'csv:Text - txt - csv (StarCalc):9,34,76' --outdir tsv wires.xlsx >/dev/null
cp wires.xlsx "$here/libreoffice.xlsx"
cp wires.ods "$here/libreoffice.ods"
cp utf8/wires.csv "$here/libreoffice-utf8.csv"
cp gb18030/wires.csv "$here/libreoffice-gb18030.csv"
cp tsv/wires.csv "$here/libreoffice.tsv"
{ printf '\xEF\xBB\xBF'; cat "$here/libreoffice-utf8.csv"; } >"$here/utf8-bom.csv"
iconv -f UTF-8 -t UTF-16 "$here/libreoffice-utf8.csv" >"$here/utf16-bom.csv"
python3 "$here/make-hostile.py" "$here"
python3 "$here/make-containers.py" "$here"
"$here/make-handover.sh"

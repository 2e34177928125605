#!/usr/bin/env bash
# Makes the fixtures of lists as shops hand them over, with LibreOffice Calc
# (soffice) in a Chinese locale and openpyxl:
# - handover.xlsx/.ods from handover.csv: a title row above the column
#   names, the two ends of each wire, a quantity, dates and decimals;
# - formats-openpyxl.xlsx (make-formats.py): numbers in many formats, and
#   formats-libreoffice.xlsx, the same saved by Calc, and formats-shown.csv,
#   the text Calc shows for each (its CSV export saves cells as shown);
# - formula-openpyxl.xlsx: formulas without saved results;
# - windows-1252.csv: a semicolon list in Windows-1252, as European Excel
#   writes it, from handover-1252.txt.
# The results are committed; run this only to remake them.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
lo=(soffice "-env:UserInstallation=file://$work/profile" --headless)
cd "$work"
# 44 comma, 59 semicolon; 34 quote; 76 UTF-8, 1 Windows-1252; then the
# first line, column types, language, quoted as text, detect special numbers.
cp "$here/handover.csv" handover.csv
"${lo[@]}" --infilter="CSV:44,34,76,1,,2052,false,true" --convert-to xlsx handover.csv >/dev/null
"${lo[@]}" --infilter="CSV:44,34,76,1,,2052,false,true" --convert-to ods handover.csv >/dev/null
cp handover.xlsx handover.ods "$here/"
/usr/bin/python3 "$here/make-formats.py" formats-openpyxl.xlsx formula-openpyxl.xlsx
"${lo[@]}" --convert-to xlsx --outdir calc formats-openpyxl.xlsx >/dev/null
"${lo[@]}" --convert-to 'csv:Text - txt - csv (StarCalc):44,34,76' formats-openpyxl.xlsx >/dev/null
cp formats-openpyxl.xlsx formula-openpyxl.xlsx "$here/"
cp calc/formats-openpyxl.xlsx "$here/formats-libreoffice.xlsx"
cp formats-openpyxl.csv "$here/formats-shown.csv"
cp "$here/handover-1252.txt" european.csv
"${lo[@]}" --infilter="CSV:59,34,76" --convert-to xlsx european.csv >/dev/null
"${lo[@]}" --convert-to 'csv:Text - txt - csv (StarCalc):59,34,1' --outdir 1252 european.xlsx >/dev/null
cp 1252/european.csv "$here/windows-1252.csv"

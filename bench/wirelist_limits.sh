#!/usr/bin/env bash
# Reads hostile and near-limit wire lists, and hostile clipboard HTML tables,
# one process each and prints the time and peak memory of every read.
# Usage: bench/wirelist_limits.sh [BUILD]
# Bounds: every file (each at most 64 MB) is read or refused within 2 s of
# processor time and 300 MB; a read beyond them fails the run. Files named
# *.ENCODING.csv are read in that encoding, as when it is remembered for the
# list or named with --encoding.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-${TAVRO_BUILD_DIR:-$top/build}}
reader=$build/bench/tavro_read_list
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

python3 - "$work" <<'PY'
import os, sys, zipfile
out = sys.argv[1]
MB = 1 << 20
near = 63 * MB

def write(name, data):
    open(os.path.join(out, name), 'wb').write(data)

def book(name, parts):
    with zipfile.ZipFile(os.path.join(out, name), 'w', zipfile.ZIP_DEFLATED, compresslevel=9) as z:
        for part, content in parts.items():
            z.writestr(part, content)

def xlsx(name, sheet, shared=None, prolog=''):
    parts = {
        'xl/workbook.xml': '<workbook xmlns:r="r"><sheets><sheet name="S" r:id="rId1"/></sheets></workbook>',
        'xl/_rels/workbook.xml.rels': '<Relationships><Relationship Id="rId1" Target="worksheets/sheet1.xml"/></Relationships>',
        'xl/worksheets/sheet1.xml': prolog + '<worksheet><sheetData>' + sheet + '</sheetData></worksheet>',
    }
    if shared is not None:
        parts['xl/sharedStrings.xml'] = '<sst>' + shared + '</sst>'
    book(name, parts)

def ods(name, rows):
    book(name, {'content.xml': '<office:document-content xmlns:office="o" xmlns:table="t" xmlns:text="x">'
                '<office:body><office:spreadsheet><table:table table:name="S">' + rows +
                '</table:table></office:spreadsheet></office:body></office:document-content>'})

# Near the 64 MB limit.
write('near-one-line.csv', b'W' * near + b'\n')
write('near-only-quotes.csv', b'"' * near)
write('near-open-quote.csv', b'a,b\n"' + b'x' * near)
write('near-gb18030.csv', ('线号,起点,终点\n'.encode('gb18030') + 'W0001,端子排X1:1,接触器K1:A1\n'.encode('gb18030') * 2_400_000)[:near])
write('near-rows.csv', b'W0001,X1:1,K1:A1\n' * (near // 17))
# Encodings whose UTF-8 is many times longer: TSCII's 0x87 is three Tamil
# characters (9 bytes), a Thai letter three bytes.
write('near-tamil.TSCII.csv', (b'W0001,' + b'\x87' * 40 + b'\n') * (near // 47))
write('near-thai.TIS-620.csv', (b'W0001,' + bytes(range(0xA1, 0xC9)) + b'\n') * (near // 47))
# Small and hostile.
ods('hostile-repeated-cell.ods', '<table:table-row><table:table-cell table:number-columns-repeated="16384"><text:p>'
    + '<text:s text:c="1000"/>' * 1000 + '</text:p></table:table-cell></table:table-row>')
xlsx('hostile-shared-cell.xlsx', '<row r="1">' + '<c t="s"><v>0</v></c>' * 16384 + '</row>', '<si><t>' + 'w' * MB + '</t></si>')
xlsx('hostile-empty-strings.xlsx', '', '<si/>' * 50_000_000)
xlsx('hostile-huge-string.xlsx', '', '<si><t>' + 's' * (200 * MB) + '</t></si>')
xlsx('hostile-attribute.xlsx', '<row r="1"><c r="A1" s="' + '1' * (200 * MB) + '"><v>1</v></c></row>')
# Markup holding ">" in its text, which ends no tag, and tags just within
# the 1 MB bound: expat reads such a token anew with every block it is given.
xlsx('hostile-comment.xlsx', '<!-->' + 'c' * (40 * MB) + '-->')
xlsx('hostile-comment-200mb.xlsx', '<!-->' + 'c' * (200 * MB) + '-->')
xlsx('hostile-quoted-attribute.xlsx', '<row r="1" x=">' + 'a' * (40 * MB) + '"/>')
xlsx('hostile-instruction.xlsx', '<?pi >' + 'p' * (40 * MB) + '?>')
xlsx('hostile-entity-value.xlsx', '', prolog='<!DOCTYPE worksheet [<!ENTITY e ">' + 'e' * (40 * MB) + '">]>')
xlsx('hostile-reference.xlsx', '<row r="1"><c><v>&' + 'r' * (40 * MB) + ';</v></c></row>')
tags = ('<row x="' + 't' * (MB - 64) + '"/>') * 255
xlsx('hostile-tags-under-1mb.xlsx', tags)
book('hostile-five-parts.xlsx', {
    'xl/workbook.xml': '<workbook xmlns:r="r"><sheets><sheet name="S" r:id="rId1"/></sheets>' + tags + '</workbook>',
    'xl/_rels/workbook.xml.rels': '<Relationships><Relationship Id="rId1" Target="worksheets/sheet1.xml"/>' + tags + '</Relationships>',
    'xl/sharedStrings.xml': '<sst>' + tags + '</sst>',
    'xl/styles.xml': '<styleSheet>' + tags + '</styleSheet>',
    'xl/worksheets/sheet1.xml': '<worksheet><sheetData>' + tags + '</sheetData></worksheet>',
})
xlsx('cdata-40mb.xlsx', '<row r="1"><c t="inlineStr"><is><t><![CDATA[>' + 'd' * (40 * MB) + ']]></t></is></c></row>')
ods('hostile-nesting.ods', '<table:table-row><table:table-cell><text:p>' + '<text:span>' * 5_000_000 + '</text:p></table:table-cell></table:table-row>')

# Clipboard HTML a paste reads.
write('hostile-colspan.html', ('<table><tr>' + '<td colspan=1000>x</td>' * 60000 + '</tr></table>').encode())
write('hostile-ampersands.html', ('<table><tr><td>' + '&' * 1_000_000 + '</td></tr></table>').encode())
PY

printf '%-28s %9s %10s  %s\n' file size "peak MB" result
# A read that fails or runs past 30 s fails the run, and so does one beyond
# its bound (processor time, which other work on the machine leaves as it is).
status=0
for file in "$work"/*; do
    size=$(stat -c %s "$file")
    name=$(basename "$file")
    args=("$file")
    [[ $file == *.html ]] && args=(--html "$file")
    encoding=$(sed -n 's/^[^.]*\.\(.*\)\.csv$/\1/p' <<<"$name")
    [[ -n $encoding ]] && args+=("$encoding")
    if ! result=$( { /usr/bin/time -f '%M' timeout 30 "$reader" "${args[@]}" >"$work/.out"; } 2>&1 ); then
        printf '%-28s %9s %10s  failed or ran past 30 s\n' "$name" "$size" -
        status=1
        continue
    fi
    megabytes=$(echo "$result / 1024" | bc -l)
    printf '%-28s %9s %10.1f  %s\n' "$name" "$size" "$megabytes" "$(cat "$work/.out")"
    cpu=$(sed -n 's/.*(cpu \([0-9.]*\) s).*/\1/p' "$work/.out")
    if (($(echo "$cpu > 2 || $megabytes > 300" | bc -l))); then
        echo "  beyond the bound of 2 s and 300 MB"
        status=1
    fi
done
exit $status

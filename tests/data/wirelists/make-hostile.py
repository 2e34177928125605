#!/usr/bin/env python3
"""Hostile wire lists for the reader's tests: a zip bomb (a workbook whose
sheet unpacks to 300 MB), the same bomb with a directory that claims the
sheet unpacks to 1 KB, a truncated workbook, binary junk, a worksheet
changed after its checksum was taken, markup holding ">" (read, and
beyond 1 MB refused), and a workbook of three parts of 200 MB each, every
part within the limit of one (kept gzipped: its zip is repetitive)."""
import gzip
import io
import os
import random
import struct
import sys
import zipfile

here = sys.argv[1]

with zipfile.ZipFile(os.path.join(here, 'bomb.xlsx'), 'w', zipfile.ZIP_DEFLATED, compresslevel=9) as bomb:
    bomb.writestr('xl/workbook.xml', '<workbook><sheets><sheet name="S" r:id="rId1" '
                  'xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships"/></sheets></workbook>')
    bomb.writestr('xl/_rels/workbook.xml.rels', '<Relationships><Relationship Id="rId1" '
                  'Target="worksheets/sheet1.xml"/></Relationships>')
    with bomb.open('xl/worksheets/sheet1.xml', 'w', force_zip64=True) as sheet:
        block = b' ' * (1 << 20)
        for _ in range(300):
            sheet.write(block)

# The sheet's unpacked size, in its local header and in the central
# directory, says 1 KB: only counting the bytes as they unpack finds the bomb.
with zipfile.ZipFile(os.path.join(here, 'lying-bomb.xlsx'), 'w', zipfile.ZIP_DEFLATED, compresslevel=9) as bomb:
    bomb.writestr('xl/workbook.xml', '<workbook><sheets><sheet name="S" r:id="rId1" '
                  'xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships"/></sheets></workbook>')
    bomb.writestr('xl/_rels/workbook.xml.rels', '<Relationships><Relationship Id="rId1" '
                  'Target="worksheets/sheet1.xml"/></Relationships>')
    with bomb.open('xl/worksheets/sheet1.xml', 'w') as sheet:
        block = b' ' * (1 << 20)
        for _ in range(300):
            sheet.write(block)
    sheet_info = bomb.getinfo('xl/worksheets/sheet1.xml')
lying = bytearray(open(os.path.join(here, 'lying-bomb.xlsx'), 'rb').read())
local = sheet_info.header_offset
lying[local + 22:local + 26] = struct.pack('<I', 1024)
central = lying.rindex(b'xl/worksheets/sheet1.xml') - 46  # the name ends the entry's fixed fields
lying[central + 24:central + 28] = struct.pack('<I', 1024)
open(os.path.join(here, 'lying-bomb.xlsx'), 'wb').write(lying)

whole = open(os.path.join(here, 'libreoffice.xlsx'), 'rb').read()
open(os.path.join(here, 'truncated.xlsx'), 'wb').write(whole[:len(whole) // 2])

rng = random.Random(20261210)
open(os.path.join(here, 'junk.bin'), 'wb').write(bytes(rng.randrange(256) for _ in range(4096)))


def sheet_book(name, sheet, method=zipfile.ZIP_DEFLATED):
    with zipfile.ZipFile(os.path.join(here, name), 'w', method) as book:
        book.writestr('xl/workbook.xml', '<workbook><sheets><sheet name="S" r:id="rId1" '
                      'xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships"/></sheets></workbook>')
        book.writestr('xl/_rels/workbook.xml.rels', '<Relationships><Relationship Id="rId1" '
                      'Target="worksheets/sheet1.xml"/></Relationships>')
        book.writestr('xl/worksheets/sheet1.xml', sheet)


def cells(*texts):
    return ''.join(f'<row r="{r}"><c t="inlineStr"><is><t>{text}</t></is></c></row>'
                   for r, text in enumerate(texts, 1))


# Stored, so that the sheet's bytes can be changed in place: they say W9
# where the checksum was taken over W2.
sheet_book('crc-changed.xlsx', '<worksheet><sheetData>' + cells('W1', 'W2', 'W3') + '</sheetData></worksheet>',
           zipfile.ZIP_STORED)
changed = open(os.path.join(here, 'crc-changed.xlsx'), 'rb').read().replace(b'<t>W2</t>', b'<t>W9</t>')
open(os.path.join(here, 'crc-changed.xlsx'), 'wb').write(changed)

sheet_book('markup-with-gt.xlsx',
           '<?xml version="1.0"?><!DOCTYPE worksheet [<!-- ] \' --><!ENTITY w "W1>">]><!-- > " -->'
           '<worksheet><sheetData><?pi > ?><row r="1" x="a>b"><c t="inlineStr"><is><t>&w;<![CDATA[<x>]]></t>'
           '</is></c></row></sheetData></worksheet>')
sheet_book('markup-too-long.xlsx',
           '<worksheet><sheetData><!-->' + 'c' * (2 << 20) + '-->' + cells('W1') + '</sheetData></worksheet>')

# Spaces after each part's root element are well-formed: only the parts
# together pass what a workbook may unpack to.
spaces = b' ' * (200 << 20)
spread = io.BytesIO()
with zipfile.ZipFile(spread, 'w', zipfile.ZIP_DEFLATED, compresslevel=9) as book:
    book.writestr('xl/workbook.xml', b'<workbook><sheets><sheet name="S" r:id="rId1" '
                  b'xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships"/></sheets>'
                  b'</workbook>' + spaces)
    book.writestr('xl/_rels/workbook.xml.rels', b'<Relationships><Relationship Id="rId1" '
                  b'Target="worksheets/sheet1.xml"/></Relationships>' + spaces)
    book.writestr('xl/sharedStrings.xml', b'<sst/>' + spaces)
    book.writestr('xl/worksheets/sheet1.xml', '<worksheet><sheetData>' + cells('W1') + '</sheetData></worksheet>')
with gzip.GzipFile(os.path.join(here, 'parts-bomb.xlsx.gz'), 'wb', mtime=0) as out:
    out.write(spread.getvalue())

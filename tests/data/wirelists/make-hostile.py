#!/usr/bin/env python3
"""Hostile wire lists for the reader's tests: a zip bomb (a workbook whose
sheet unpacks to 300 MB), a truncated workbook, and binary junk."""
import os
import random
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

whole = open(os.path.join(here, 'libreoffice.xlsx'), 'rb').read()
open(os.path.join(here, 'truncated.xlsx'), 'wb').write(whole[:len(whole) // 2])

rng = random.Random(20261210)
open(os.path.join(here, 'junk.bin'), 'wb').write(bytes(rng.randrange(256) for _ in range(4096)))

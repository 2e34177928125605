#!/usr/bin/env python3
"""Valid containers as other zip writers make them, each holding the parts of
libreoffice.xlsx: zip64 extra fields in every local header (Python's
force_zip64), once written to a file and once streamed (sizes and checksum
in data descriptors, the local header's fields zero), and an archive comment
of the greatest length, 65,535 bytes (kept gzipped: the comment is most of
the file)."""
import gzip
import io
import os
import sys
import zipfile

here = sys.argv[1]
source = zipfile.ZipFile(os.path.join(here, 'libreoffice.xlsx'))
parts = [(info, source.read(info)) for info in source.infolist()]


class Stream(io.RawIOBase):
    """An output that cannot seek, as a pipe: zipfile then streams."""

    def __init__(self):
        self.bytes = bytearray()

    def writable(self):
        return True

    def write(self, data):
        self.bytes += data
        return len(data)


def repack(out, comment=b''):
    with zipfile.ZipFile(out, 'w', zipfile.ZIP_DEFLATED) as book:
        for info, data in parts:
            with book.open(zipfile.ZipInfo(info.filename, info.date_time), 'w', force_zip64=not comment) as part:
                part.write(data)
        book.comment = comment


repack(os.path.join(here, 'zip64.xlsx'))
stream = Stream()
repack(stream)
open(os.path.join(here, 'zip64-streamed.xlsx'), 'wb').write(stream.bytes)
commented = io.BytesIO()
repack(commented, b'c' * 65535)
with gzip.GzipFile(os.path.join(here, 'long-comment.xlsx.gz'), 'wb', mtime=0) as out:
    out.write(commented.getvalue())

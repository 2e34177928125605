"""Reading the binary PGM pages that pdftoppm -gray writes, for the printing
tests: width, height and the pixel bytes row by row."""


def read_pgm(path):
    data = open(path, 'rb').read()
    # P5, width, height, maxval, one white-space byte, then the pixels
    fields, pos = [], 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        end = pos
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[pos:end])
        pos = end
    return int(fields[1]), int(fields[2]), data[pos + 1:]

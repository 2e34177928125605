// Reads a wire list as the program reads it and writes what it read, for the
// encoding corpus (encoding_corpus.py): "encoding=", "other=" (the other
// reading offered, if any), "problem=" (why it was not read) and
// "unprintable=" (the first cell a label cannot hold) lines, a group
// separator, then the rows separated by record separators and their cells
// by unit separators, in UTF-8.
// Usage: tavro_wire_list_cells LIST [ENCODING]
#include "model/Gbk.h"
#include "wirelist/WireListReader.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: %s LIST [ENCODING]\n", argv[0]);
        return 2;
    }
    CWireListOptions options;
    if (argc == 3)
        options.m_strEncoding = argv[2];
    CWireList list;
    const CWireListProblem problem = ReadWireListFile(argv[1], options, list);
    std::string out = "encoding=" + list.m_strEncoding + "\nother=" + list.m_strOtherEncoding + "\n";
    if (problem)
        out += "problem=" + EnglishText(problem) + "\n";
    std::string rows;
    std::string unprintable;
    const CWireTable& table = list.m_table;
    for (std::size_t r = 0; r < table.RowCount(); ++r) {
        if (r > 0)
            rows += '\x1e';
        for (std::size_t c = 0; c < table.CellCount(r); ++c) {
            if (c > 0)
                rows += '\x1f';
            rows += table.Cell(r, c);
            if (unprintable.empty() && !Utf8ToGbk(table.Cell(r, c)))
                unprintable = table.Cell(r, c);
        }
    }
    if (!unprintable.empty())
        out += "unprintable=" + unprintable + "\n";
    out += '\x1d' + rows;
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}

// Reads one wire list as the program does and prints what came of it and
// how long the reading took (in the encoding named, else as detected); bench/wirelist_limits.sh runs it under
// /usr/bin/time for the peak memory of each file.
#include "wirelist/WireListReader.h"

#include <chrono>
#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: tavro_read_list FILE [ENCODING]\n");
        return 2;
    }
    const auto start = std::chrono::steady_clock::now();
    CWireListOptions options;
    if (argc == 3)
        options.m_strEncoding = argv[2];
    CWireList list;
    const std::string error = EnglishText(ReadWireListFile(argv[1], options, list));
    const double dSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (error.empty())
        std::printf("%.3f s  read: %zu rows, %zu columns\n", dSeconds, list.m_table.RowCount(),
                    list.m_table.ColumnCount());
    else
        std::printf("%.3f s  refused: %.120s\n", dSeconds, error.c_str());
    return 0;
}

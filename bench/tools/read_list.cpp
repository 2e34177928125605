// Reads one wire list as the program does and prints what came of it and
// how long the reading took; bench/wirelist_limits.sh runs it under
// /usr/bin/time for the peak memory of each file.
#include "wirelist/WireListReader.h"

#include <chrono>
#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: tavro_read_list FILE\n");
        return 2;
    }
    const auto start = std::chrono::steady_clock::now();
    CWireList list;
    const std::string error = EnglishText(ReadWireListFile(argv[1], {}, list));
    const double dSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (error.empty())
        std::printf("%.3f s  read: %zu rows, %zu columns\n", dSeconds, list.m_table.RowCount(),
                    list.m_table.ColumnCount());
    else
        std::printf("%.3f s  refused: %.120s\n", dSeconds, error.c_str());
    return 0;
}

// Reads one wire list as the program does (in the encoding named, else as
// detected), or with --html one clipboard HTML table as 粘贴 does, and prints what came of it and how long
// the reading took (wall clock, and processor time, which other work on the machine leaves as it is);
// bench/wirelist_limits.sh runs it under /usr/bin/time for the peak memory of each file.
#include "clipboard/LabelClipboard.h"
#include "wirelist/WireListReader.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <iterator>
#include <string_view>

namespace {

struct CTimer
{
    std::chrono::steady_clock::time_point m_start = std::chrono::steady_clock::now();
    std::clock_t m_cpuStart = std::clock();
    void Print() const
    {
        std::printf("%.3f s (cpu %.3f s)  ",
                    std::chrono::duration<double>(std::chrono::steady_clock::now() - m_start).count(),
                    static_cast<double>(std::clock() - m_cpuStart) / CLOCKS_PER_SEC);
    }
};

void ReadHtml(const char* path)
{
    std::ifstream in(path, std::ios::binary);
    const std::string html(std::istreambuf_iterator<char>(in), {});
    const CTimer timer;
    const CClipboardTexts texts = ReadClipboardHtml(html);
    timer.Print();
    if (texts.m_refusal)
        std::printf("refused (kind %d, row %zu, column %zu)\n", static_cast<int>(texts.m_refusal->m_kind),
                    texts.m_refusal->m_nRow, texts.m_refusal->m_nColumn);
    else
        std::printf("read: %zu cells\n", texts.m_texts.size());
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::string_view(argv[1]) == "--html") {
        ReadHtml(argv[2]);
        return 0;
    }
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: tavro_read_list FILE [ENCODING] | --html FILE\n");
        return 2;
    }
    CWireListOptions options;
    if (argc == 3)
        options.m_strEncoding = argv[2];
    const CTimer timer;
    CWireList list;
    const std::string error = EnglishText(ReadWireListFile(argv[1], options, list));
    timer.Print();
    if (error.empty())
        std::printf("read: %zu rows, %zu columns\n", list.m_table.RowCount(), list.m_table.ColumnCount());
    else
        std::printf("refused: %.120s\n", error.c_str());
    return 0;
}

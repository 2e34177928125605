// Inputs no dialog makes but a file may hold: a sheet type library of many
// entries in descending order, and label texts of megabytes laid out for
// drawing. Both must stay far from the seconds they once took.
#include "sheets/SheetTypeList.h"
#include "view/LabelTextLayout.h"

#include <benchmark/benchmark.h>

#include <sstream>
#include <string>

namespace {

void BM_ReadTypeListDescending(benchmark::State& state)
{
    CSheetTypeList list;
    for (int i = static_cast<int>(state.range(0)); i > 0; --i)
        list.push_back({"type " + std::to_string(1000000 + i), CPageFormat()});
    const std::string bytes = TypeListBytes(list);
    for (auto _ : state) {
        CSheetTypeList read;
        std::istringstream in(bytes, std::ios::binary);
        ReadTypeList(in, read);
        benchmark::DoNotOptimize(read.data());
    }
}
BENCHMARK(BM_ReadTypeListDescending)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_LayoutHugeText(benchmark::State& state)
{
    std::string text;
    while (text.size() < static_cast<std::size_t>(state.range(0)))
        text += "0123456789012345678901234567890123456789\r\n";
    CLabelTextStyle style;
    style.m_bAutoShrink = true;
    for (auto _ : state) {
        const CLabelTextLayout layout = LayoutLabelText(text, {0, 0, 450, 200}, style, {70, 30});
        benchmark::DoNotOptimize(layout.m_lines.data());
    }
}
BENCHMARK(BM_LayoutHugeText)->Arg(50)->Arg(16 << 20)->Unit(benchmark::kMicrosecond);

} // namespace

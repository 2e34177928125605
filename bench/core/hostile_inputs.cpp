// Inputs no dialog makes but a file may hold: a sheet type library of many
// entries in descending order, a file of many sheet types imported into a
// library, and label texts of megabytes laid out for drawing. All must stay
// far from the seconds (or minutes) they once took.
#include "sheets/SheetTypeExchange.h"
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

// A file of n sheet types, in descending order, imported into a library of
// n others; every tenth name is already there with another format and is
// kept beside it.
void BM_ImportTypes(benchmark::State& state)
{
    const int nCount = static_cast<int>(state.range(0));
    CSheetTypeList library;
    CSheetTypeList incoming;
    CPageFormat other;
    other.m_dPageWidth = 200;
    for (int i = 0; i < nCount; ++i)
        library.push_back({"type " + std::to_string(1000000 + 2 * i), CPageFormat()});
    for (int i = nCount; i > 0; --i)
        incoming.push_back({"type " + std::to_string(1000000 + (i % 10 == 0 ? 2 * i : 2 * i + 1)), other});
    for (auto _ : state) {
        CSheetTypeList merged = library;
        const CTypeMerge merge = MergeTypes(merged, incoming, [](const CSheetType&, const CSheetType&) {
            return std::optional<ClashAnswer>(ClashAnswer::KeepBoth);
        });
        if (merged.size() != library.size() + incoming.size())
            state.SkipWithError("entries were lost");
        benchmark::DoNotOptimize(merge.m_nAdded);
    }
}
BENCHMARK(BM_ImportTypes)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

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

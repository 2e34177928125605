// Reading and writing a full 15 × 25 sheet with text in every label, in
// memory and through a real file (atomic save, then open).
#include "model/CSheet.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {

CSheet FullSheet()
{
    CSheet sheet;
    sheet.m_format.m_nColumns = CPageFormat::kMaxColumns;
    sheet.m_format.m_nRows = CPageFormat::kMaxRows;
    sheet.m_format.Recalc();
    for (int r = 0; r < CPageFormat::kMaxRows; ++r)
        for (int c = 0; c < CPageFormat::kMaxColumns; ++c)
            // "电缆" W-rrcc, then a second line "标签".
            sheet.m_labels[r][c].m_strText =
                "\xB5\xE7\xC0\xC2 W-" + std::to_string(r * 100 + c) + "\r\n\xB1\xEA\xC7\xA9";
    return sheet;
}

void BM_WriteFullSheet(benchmark::State& state)
{
    const CSheet sheet = FullSheet();
    std::size_t nBytes = 0;
    for (auto _ : state) {
        std::string bytes = SheetBytes(sheet);
        nBytes = bytes.size();
        benchmark::DoNotOptimize(bytes);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * nBytes));
}
BENCHMARK(BM_WriteFullSheet);

void BM_ReadFullSheet(benchmark::State& state)
{
    const std::string bytes = SheetBytes(FullSheet());
    CSheet sheet;
    for (auto _ : state) {
        std::istringstream in(bytes, std::ios::binary);
        if (!ReadSheet(in, sheet))
            state.SkipWithError("the sheet did not read");
        benchmark::DoNotOptimize(sheet);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_ReadFullSheet);

void BM_SaveAndOpenFullSheetFile(benchmark::State& state)
{
    const CSheet sheet = FullSheet();
    const std::string path = "/tmp/tavro-bench-" + std::to_string(getpid()) + ".tav";
    CSheet read;
    for (auto _ : state) {
        if (SaveSheetFile(path, sheet) != 0 || ReadSheetFile(path, read) != SheetReadResult::Ok)
            state.SkipWithError("save or open failed");
    }
    std::remove(path.c_str());
}
BENCHMARK(BM_SaveAndOpenFullSheetFile)->Unit(benchmark::kMicrosecond);

} // namespace

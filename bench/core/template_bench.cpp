// The gLabels template collection as Debian installs it: reading all of it,
// and searching it as the sheet type dialog does with each key typed; and a
// user folder of a million templates, read up to the limit.
#include "sheets/TemplateCollection.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

const CTemplateSources kInstalled{{"/usr/share/libglabels-3.0/templates"}, {}};

void BM_ReadTemplateCollection(benchmark::State& state)
{
    for (auto _ : state) {
        const CTemplateCollection collection = ReadTemplateCollection(kInstalled);
        if (collection.m_templates.empty())
            state.SkipWithError("no template collection (apt install glabels-data)");
        benchmark::DoNotOptimize(collection.m_templates.data());
    }
}
BENCHMARK(BM_ReadTemplateCollection)->Unit(benchmark::kMillisecond);

// A user folder of 1,014,837 templates in 100 files: read up to the limit,
// never whole.
void BM_ReadMillionTemplateFolder(benchmark::State& state)
{
    char pattern[] = "/tmp/tavro-bench-XXXXXX";
    if (!mkdtemp(pattern)) {
        state.SkipWithError("no temporary folder");
        return;
    }
    const std::filesystem::path folder(pattern);
    constexpr int kFiles = 100;
    constexpr int kTotal = 1'014'837;
    for (int f = 0, n = 0; f < kFiles; ++f) {
        std::ofstream out(folder / ("many" + std::to_string(1000 + f) + ".template"), std::ios::binary);
        out << "<Glabels-templates>";
        for (const int nEnd = kTotal * (f + 1) / kFiles; n < nEnd; ++n)
            out << "<Template brand='B' part='" << n << "'/>";
        out << "</Glabels-templates>";
    }
    for (auto _ : state) {
        const CTemplateCollection collection = ReadTemplateCollection({{}, folder.string()});
        if (!collection.m_bTemplatesCut)
            state.SkipWithError("the folder was read whole");
        benchmark::DoNotOptimize(collection.m_leftOut.size());
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_ReadMillionTemplateFolder)->Unit(benchmark::kMillisecond);

// One query over 1,759 templates, as many as the whole upstream collection
// holds: the offered ones of the installed collection, repeated.
void BM_SearchTemplates(benchmark::State& state, const char* query)
{
    const CTemplateCollection collection = ReadTemplateCollection(kInstalled);
    if (collection.m_templates.empty()) {
        state.SkipWithError("no template collection (apt install glabels-data)");
        return;
    }
    std::vector<CLabelTemplate> templates;
    for (std::size_t i = 0; templates.size() < 1759; ++i)
        templates.push_back(collection.m_templates[i % collection.m_templates.size()]);
    std::size_t nFound = 0;
    for (auto _ : state) {
        nFound = SearchTemplates(templates, query).size();
        benchmark::DoNotOptimize(nFound);
    }
    state.counters["found"] = static_cast<double>(nFound);
}
BENCHMARK_CAPTURE(BM_SearchTemplates, brand, "avery")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_SearchTemplates, three_words, "avery address 5160")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_SearchTemplates, size, "45.7x21.2")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_SearchTemplates, nothing_found, "zzzz")->Unit(benchmark::kMicrosecond);

} // namespace

// A sequence pattern of a million markers: parsed, checked and turned into
// the marker list a job prints.
#include "wirelist/SequencePattern.h"

#include <benchmark/benchmark.h>

namespace {

void BM_PatternMillionMarkers(benchmark::State& state)
{
    for (auto _ : state) {
        CSequencePattern pattern;
        if (CSequencePattern::Parse("-X{1-1000}:{001-1000}", pattern))
            state.SkipWithError("the pattern was refused");
        const CMarkerList markers = pattern.Markers();
        benchmark::DoNotOptimize(markers.Total());
    }
}
BENCHMARK(BM_PatternMillionMarkers)->Unit(benchmark::kMillisecond);

} // namespace

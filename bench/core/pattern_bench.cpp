// Sequence patterns: a million markers parsed, checked and turned into the
// marker list a job prints, and the patterns that once took seconds to
// minutes to answer. A parse is also what the 序列编号 dialog does for each
// key typed. Each run fails when the pattern is not answered as expected.
#include "wirelist/SequencePattern.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

std::string Repeated(const std::string& text, std::size_t nTimes)
{
    std::string repeated;
    for (std::size_t i = 0; i < nTimes; ++i)
        repeated += text;
    return repeated;
}

void MarkersOf(benchmark::State& state, const std::string& text)
{
    for (auto _ : state) {
        CSequencePattern pattern;
        if (CSequencePattern::Parse(text, pattern))
            state.SkipWithError("the pattern was refused");
        const CMarkerList markers = pattern.Markers();
        benchmark::DoNotOptimize(markers.Total());
    }
}
BENCHMARK_CAPTURE(MarkersOf, MillionMarkers, "-X{1-1000}:{001-1000}")->Unit(benchmark::kMillisecond);
// The most counters allowed, 48 of them adding nothing.
BENCHMARK_CAPTURE(MarkersOf, MillionMarkersFiftyCounters, "{1-1000}{1-1000}" + Repeated("{,}*500=", 48))
    ->Unit(benchmark::kMillisecond);

// The parse alone of a pattern, which must be accepted or refused as the
// case says.
void ParseOnly(benchmark::State& state, const std::string& text, bool bAccepted)
{
    for (auto _ : state) {
        CSequencePattern pattern;
        if (CSequencePattern::Parse(text, pattern).has_value() == bAccepted)
            state.SkipWithError(bAccepted ? "the pattern was refused" : "the pattern was accepted");
        benchmark::DoNotOptimize(pattern.Count());
    }
}

// A million markers and 1,000 counters of empty values turning with them.
BENCHMARK_CAPTURE(ParseOnly, MillionMarkersThousandEmptyCounters,
                  "{1-1000}{1-1000}" + Repeated("{,}*500=", 1000), false)
    ->Unit(benchmark::kMillisecond);
// The most counters allowed, all turning together over a million values:
// the longest check there is (the markers are too long).
BENCHMARK_CAPTURE(ParseOnly, FiftyCountersTogetherMillionValues, "{1-1000000}" + Repeated("{1-1000000}=", 49),
                  false)
    ->Unit(benchmark::kMillisecond);
// A million markers of the most counters allowed, accepted.
BENCHMARK_CAPTURE(ParseOnly, MillionMarkersFiftyCounters, "{1-1000}{1-1000}" + Repeated("{,}*500=", 48), true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ParseOnly, Counters25000, Repeated("{1-1}", 25'000), false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ParseOnly, Counters200000, Repeated("{1-1}", 200'000), false)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ParseOnly, ListOfTenMillionCommas, "{" + std::string(10'000'000, ',') + "}", false)
    ->Unit(benchmark::kMillisecond);
// Nearly the longest pattern allowed: one list of 49,999 values.
BENCHMARK_CAPTURE(ParseOnly, LongestList, "{" + Repeated("a,", 49'998) + "a}", true)
    ->Unit(benchmark::kMillisecond);

} // namespace

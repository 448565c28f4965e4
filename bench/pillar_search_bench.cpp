// 八字反查 over the default 300 years, for four and for two pillars; 時辰不確定
// over one and over thirty days, each distinct chart charted; the edges of a
// birth, what they add to charting it; the stretches on a birth clock.
#include <benchmark/benchmark.h>

#include "bench_support.h"
#include "birth_candidates.h"
#include "engine/analysis/birth_edges.h"
#include "engine/clock/clock_zone.h"
#include "engine/analysis/pillar_search.h"
#include "engine/analysis/pillar_spans.h"

namespace qv {
namespace {

void FindPillars(benchmark::State& state, PillarQuery q) {
    const SolarTermTable& table = bench::Table();
    if (table.FirstYear == 0) return state.SkipWithError("no AInfo.tbl");
    PillarRange ranges[64];
    for (auto _ : state) benchmark::DoNotOptimize(FindPillarRanges(table, q, ranges));
}
BENCHMARK_CAPTURE(FindPillars, FourPillars1801To2100, PillarQuery{{15, 12, 54, 54}, 4, 1})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(FindPillars, YearAndMonth1801To2100, PillarQuery{{15, 12, 0, 0}, 2, 1})
    ->Unit(benchmark::kMicrosecond);

// The candidates of `days` days from 1990-02-01: the stretches, and the
// chart of each one's middle minute as quorvane-cli candidates computes it.
void Candidates(benchmark::State& state) {
    auto rec = bench::ChartingRecord(state);
    if (!rec) return;
    const ClockMinute first = ClockMinuteOf({1990, 2, 1, 0, 0});
    const ClockMinute last = first + state.range(0) * 1440 - 1;
    std::vector<PillarSpan> spans(1024);
    PillarQuad pillars{};
    for (auto _ : state) {
        const PillarSpanResult r = SplitByPillars(bench::Table(), CommonRatHour, first, last, spans);
        for (size_t i = 0; i < r.Found; ++i) {
            const Moment m = MomentOfClockMinute((spans[i].First + spans[i].Last) / 2);
            benchmark::DoNotOptimize(ChartPerson(*rec, bench::PersonAt(m, 0), pillars));
        }
    }
}
BENCHMARK(Candidates)->Arg(1)->Arg(30)->Unit(benchmark::kMicrosecond);

// The stretches alone, read through a birth clock as the windows and
// quorvane-cli list them: Taipei's zone and true solar time at 121.5°E.
void CandidatesOnABirthClock(benchmark::State& state) {
    if (bench::Table().FirstYear == 0) return state.SkipWithError("no AInfo.tbl");
    BirthClock clock;
    ClockZone zone;
    std::string problem;
    if (!FindClockZone("Asia/Taipei", zone, problem)) return state.SkipWithError(problem.c_str());
    clock.Zone = zone;
    clock.SolarLongitude = 121.5;
    const Moment first{1990, 2, 1, 0, 0};
    const Moment last = MomentOfClockMinute(ClockMinuteOf(first) + state.range(0) * 1440 - 1);
    for (auto _ : state) benchmark::DoNotOptimize(ListBirthCandidates(bench::Table(), clock, CommonRatHour, first, last));
}
BENCHMARK(CandidatesOnABirthClock)->Arg(1)->Arg(30)->Unit(benchmark::kMicrosecond);

void BirthEdgesOfRandomBirths(benchmark::State& state) {
    const SolarTermTable& table = bench::Table();
    if (table.FirstYear == 0) return state.SkipWithError("no AInfo.tbl");
    const std::vector<Moment> moments = bench::RandomMoments(4096);
    BirthEdge edges[2];
    size_t i = 0;
    for (auto _ : state) benchmark::DoNotOptimize(FindBirthEdges(table, CommonRatHour, moments[i++ & 4095], EdgeMargins{}, edges));
}
BENCHMARK(BirthEdgesOfRandomBirths);

}  // namespace
}  // namespace qv

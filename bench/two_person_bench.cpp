// Two people at once: their charts compared, and the best days of a year for both.
#include <benchmark/benchmark.h>

#include "bench_support.h"
#include "engine/fortune/best_days.h"
#include "engine/analysis/chart_comparison.h"
#include "engine/fortune/fortune.h"
#include "engine/chart/chart_compute.h"

namespace qv {
namespace {

// Charts 64 random people into recs; false (with the benchmark skipped) when it cannot.
template <typename State>
bool ChartPeople(State& state, std::vector<std::unique_ptr<ChartRecord>>& recs, int count) {
    const auto moments = bench::RandomMoments(count);
    for (int i = 0; i < count; ++i) {
        auto rec = bench::ChartingRecord(state);
        PillarQuad pillars{};
        if (!rec || !ChartPerson(*rec, bench::PersonAt(moments[i], i & 1), pillars)) {
            state.SkipWithError("cannot chart the people");
            return false;
        }
        recs.push_back(std::move(rec));
    }
    return true;
}

void BM_CompareCharts(benchmark::State& state) {
    std::vector<std::unique_ptr<ChartRecord>> recs;
    if (!ChartPeople(state, recs, 64)) return;
    ChartComparison c{};
    size_t i = 0;
    for (auto _ : state) {
        const size_t k = i++;
        CompareCharts(recs[k & 63]->Natal, recs[(k * 7 + 1) & 63]->Natal, c);
        benchmark::DoNotOptimize(c);
    }
}
BENCHMARK(BM_CompareCharts);

// A year of days for two persons, each with the fortune tables of a charted chart.
void BM_BestDaysOfAYearForTwo(benchmark::State& state) {
    std::vector<std::unique_ptr<ChartRecord>> recs;
    if (!ChartPeople(state, recs, 2)) return;
    for (auto& rec : recs) ComputeFortuneTables(*rec);
    auto days = std::make_unique<BestDays>();
    for (auto _ : state) {
        if (!FindBestDays(*recs[0], recs[1].get(), WealthCategory, {2030, 1, 1}, {2030, 12, 31}, *days)) {
            state.SkipWithError("no days");
            return;
        }
        benchmark::DoNotOptimize(days->Days[0]);
    }
}
BENCHMARK(BM_BestDaysOfAYearForTwo)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qv

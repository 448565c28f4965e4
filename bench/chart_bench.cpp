// Charting people: the engine alone, and the command-line batch end to end.
#include <benchmark/benchmark.h>

#include "bench_support.h"
#include "engine/chart/chart_compute.h"

namespace qv {
namespace {

using bench::PersonAt;

// Pillars, birth summary and the whole chart of one person.
void BM_ChartPerson(benchmark::State& state) {
    auto rec = bench::ChartingRecord(state);
    if (!rec) return;
    const auto moments = bench::RandomMoments(4096);
    size_t i = 0;
    PillarQuad pillars{};
    for (auto _ : state) {
        const size_t k = i++ & 4095;
        benchmark::DoNotOptimize(ChartPerson(*rec, PersonAt(moments[k], static_cast<int>(k & 1)), pillars));
    }
}
BENCHMARK(BM_ChartPerson);

// ComputeChart alone, from pillars already converted.
void BM_ComputeChart(benchmark::State& state) {
    auto rec = bench::ChartingRecord(state);
    if (!rec) return;
    PillarQuad pillars{};
    const Moment m{1990, 5, 17, 14, 30};
    if (!ChartPerson(*rec, PersonAt(m, 0), pillars)) {
        state.SkipWithError("no chart");
        return;
    }
    for (auto _ : state) {
        ComputeChart(*rec, pillars);
        benchmark::DoNotOptimize(rec->Transformed);
    }
}
BENCHMARK(BM_ComputeChart);

// quorvane-cli chart --batch over 100 000 people, JSON out, timed as a whole.
void BM_CliBatch100k(benchmark::State& state) {
    bench::TimeCliOverMoments(state, "chart --batch", true, "/tmp/quorvane-bench-batch.txt");
}
BENCHMARK(BM_CliBatch100k)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace
}  // namespace qv

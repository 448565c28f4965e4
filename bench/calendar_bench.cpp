// Pillars of a birth moment, the lunar conversion, and quorvane-cli pillars end to end.
#include <benchmark/benchmark.h>

#include "bench_support.h"

namespace qv {
namespace {

using bench::RandomMoments;

void BM_DateToPillars(benchmark::State& state) {
    auto rec = bench::ChartingRecord(state);
    if (!rec) return;
    const std::vector<Moment> moments = RandomMoments(4096);
    size_t i = 0;
    PillarQuad p{};
    for (auto _ : state) {
        benchmark::DoNotOptimize(DateToPillars(*rec, p, moments[i++ & 4095]));
        benchmark::DoNotOptimize(p);
    }
}
BENCHMARK(BM_DateToPillars);

void BM_SolarToLunar(benchmark::State& state) {
    const std::vector<Moment> moments = RandomMoments(4096);
    size_t i = 0;
    LunarDate l{};
    for (auto _ : state) {
        const Moment& m = moments[i++ & 4095];
        benchmark::DoNotOptimize(SolarToLunar(CivilDate{m.Year, m.Month, m.Day}, l));
    }
}
BENCHMARK(BM_SolarToLunar);

// quorvane-cli pillars over 100 000 moments from stdin to stdout, timed as a whole.
void BM_CliPillars100k(benchmark::State& state) {
    bench::TimeCliOverMoments(state, "pillars", false, "/tmp/quorvane-bench-pillars.txt");
}
BENCHMARK(BM_CliPillars100k)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

}  // namespace
}  // namespace qv

// Pillars of a birth moment, and the lunar conversion.
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

}  // namespace
}  // namespace qv

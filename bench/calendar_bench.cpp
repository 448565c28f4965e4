// Pillars of a birth moment, and the lunar conversion.
#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <vector>

#include "calendar.h"

namespace qv {
namespace {

const SolarTermTable& Table() {
    static const std::unique_ptr<SolarTermTable> table = [] {
        auto t = std::make_unique<SolarTermTable>();
        LoadSolarTermTable(std::string(QUORVANE_BIN_DIR) + "/AInfo.tbl", *t);
        return t;
    }();
    return *table;
}

std::vector<Moment> RandomMoments(int count) {
    std::mt19937 rng(7);
    std::vector<Moment> out;
    for (int i = 0; i < count; ++i) {
        const int y = 1802 + static_cast<int>(rng() % 298);
        const int m = 1 + static_cast<int>(rng() % 12);
        out.push_back(Moment{y, m, 1 + static_cast<int>(rng() % MonthLength(y, m)), static_cast<int>(rng() % 24),
                             static_cast<int>(rng() % 60)});
    }
    return out;
}

void BM_DateToPillars(benchmark::State& state) {
    auto rec = std::make_unique<ChartRecord>();
    rec->SolarTerms = &Table();
    rec->Options = DefaultEngineOptions;
    if (rec->SolarTerms->FirstYear == 0) {
        state.SkipWithError("AInfo.tbl not built");
        return;
    }
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

// Fortune tables: everything the fortune charts of one person show, and the
// natal chart plus all of it for a batch of people.
#include <benchmark/benchmark.h>

#include "bench_support.h"
#include "engine/fortune/fortune.h"

namespace qv {
namespace {

// Luck pillars, 120 years, the months of the year on show and the days of
// the month on show, in every category.
void AllTables(ChartRecord& rec, int year, int month) {
    ComputeFortuneTables(rec);
    for (int category : FortuneCategories) {
        ComputeTenYearValues(rec, category, 0);
        ComputeMonthValues(rec, category, year);
        ComputeDayValues(rec, category, year, month);
    }
}

void BM_AllFortuneTablesOfOnePerson(benchmark::State& state) {
    auto rec = bench::ChartingRecord(state);
    if (!rec) return;
    PillarQuad pillars{};
    if (!ChartPerson(*rec, bench::PersonAt(Moment{1988, 6, 15, 9, 40}, 1), pillars)) {
        state.SkipWithError("no chart");
        return;
    }
    for (auto _ : state) {
        AllTables(*rec, 2026, 12);
        benchmark::DoNotOptimize(rec->Fortunes[0].DayValue[0]);
    }
}
BENCHMARK(BM_AllFortuneTablesOfOnePerson)->Unit(benchmark::kMicrosecond);

void BM_TenThousandPeopleChartAndFortunes(benchmark::State& state) {
    auto rec = bench::ChartingRecord(state);
    if (!rec) return;
    const auto moments = bench::RandomMoments(10000);
    PillarQuad pillars{};
    for (auto _ : state) {
        for (size_t k = 0; k < moments.size(); ++k) {
            if (ChartPerson(*rec, bench::PersonAt(moments[k], static_cast<int>(k & 1)), pillars)) {
                AllTables(*rec, 2026, 12);
            }
        }
        benchmark::DoNotOptimize(rec->Fortunes[0].YearValue[0]);
    }
}
BENCHMARK(BM_TenThousandPeopleChartAndFortunes)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace qv

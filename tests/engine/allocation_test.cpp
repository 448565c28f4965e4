// The engine allocates nothing while it computes: a chart, its fortune
// tables, a period evaluation, the potential values and a birth clock
// conversion are run with every allocation of the program counted.
#include <cstdlib>
#include <memory>
#include <new>
#include <string>

#include <gtest/gtest.h>

#include "engine/fortune/best_days.h"
#include "engine/clock/birth_clock.h"
#include "engine/analysis/chart_comparison.h"
#include "engine/chart/chart_compute.h"
#include "engine/fortune/fortune.h"
#include "engine/calendar/month_calendar.h"
#include "engine/fortune/potential.h"
#include "reference_data.h"

namespace {
bool counting = false;
long allocations = 0;
volatile int resultSink = 0;  // keeps results the compiler could drop
}  // namespace

void* operator new(std::size_t size) {
    if (counting) ++allocations;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return ::operator new(size); }
// Out of line, so that the compiler does not pair an inlined new with free.
[[gnu::noinline]] void operator delete(void* p) noexcept { std::free(p); }
[[gnu::noinline]] void operator delete[](void* p) noexcept { std::free(p); }
[[gnu::noinline]] void operator delete(void* p, std::size_t) noexcept { std::free(p); }
[[gnu::noinline]] void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace qv {
namespace {

// Allocations made by f.
template <typename F>
long AllocationsOf(F f) {
    allocations = 0;
    counting = true;
    f();
    counting = false;
    return allocations;
}

TEST(EngineAllocations, TheCountSeesAnAllocation) {
    EXPECT_EQ(AllocationsOf([] { volatile char c = std::string(100, 'x')[50]; (void)c; }), 1);
}

TEST(EngineAllocations, NoneWhileCharting) {
    const SolarTermTable* table = test::BuiltTable();
    ASSERT_NE(table, nullptr);
    auto potentials = std::make_unique<PotentialTable>();
    ResetPotentialTable(*potentials);
    AddPotentialCategory(*potentials, 60, 32);
    for (int i = 0; i < 32; ++i) potentials->Items[i].ElementMask = ElementBit(i % 5);
    potentials->TableReady = true;

    auto rec = std::make_unique<ChartRecord>();
    rec->Options = DefaultEngineOptions;
    rec->Scoring = DefaultScoringParameters;
    rec->SolarTerms = table;
    rec->Potentials = potentials.get();
    ReadCurrentDateTime(*rec);
    PersonRecord person{};
    StoreBirthMoment(person, CivilDate{1974, 7, 15}, 11, 0);
    PillarQuad pillars{};

    EXPECT_EQ(AllocationsOf([&] { ASSERT_TRUE(ChartPerson(*rec, person, pillars)); }), 0);
    EXPECT_EQ(AllocationsOf([&] { ComputeFortuneTables(*rec); }), 0);
    EXPECT_EQ(AllocationsOf([&] {
                  ComputeMonthValues(*rec, 9, 2030);
                  ComputeDayValues(*rec, 9, 2030, 5);
                  EvaluateStem(*rec, 2, 6, false);
              }),
              0);
    auto compared = std::make_unique<ChartComparison>();
    auto days = std::make_unique<BestDays>();
    EXPECT_EQ(AllocationsOf([&] {
                  CompareCharts(rec->Natal, rec->Transformed, *compared);
                  ASSERT_TRUE(FindBestDays(*rec, rec.get(), 9, {2030, 1, 1}, {2030, 12, 31}, *days));
              }),
              0);
}

TEST(EngineAllocations, NoneFillingACalendarMonth) {
    const SolarTermTable* table = test::BuiltTable();
    ASSERT_NE(table, nullptr);
    auto month = std::make_unique<MonthCalendar>();
    EXPECT_EQ(AllocationsOf([&] {
                  ASSERT_TRUE(FillMonthCalendar(*table, 2025, 7, *month));
                  resultSink = TermInForceOn(*table, CivilDate{2025, 7, 25}).Days +
                                   HourPillarsOfDay(CivilDate{2025, 7, 25}, CommonRatHour).HourPillar[0];
              }),
              0);
}

TEST(EngineAllocations, NoneConvertingABirthClockOnceTheZoneIsLoaded) {
    BirthClock clock;
    ClockZone zone;
    std::string problem;
    ASSERT_TRUE(FindClockZone("America/Los_Angeles", zone, problem)) << problem;
    clock.Zone = zone;
    clock.SolarLongitude = -118.25;
    ChartMomentOf(clock, {2024, 11, 3, 1, 30});  // the zone's rules are read on first use
    EXPECT_EQ(AllocationsOf([&] {
                  for (int year = 1900; year < 2100; year += 7) ChartMomentOf(clock, {year, 11, 3, 1, 30});
              }),
              0);
}

}  // namespace
}  // namespace qv

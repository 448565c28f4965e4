// A birth clock time of another zone turned into the chart's moment, with and
// without true solar time; the zone is loaded once, before the timing.
#include <benchmark/benchmark.h>

#include <string>

#include "bench_support.h"
#include "engine/clock/birth_clock.h"
#include "engine/clock/solar_time.h"

namespace qv {
namespace {

BirthClock ZoneClock(benchmark::State& state, const char* name) {
    BirthClock clock;
    ClockZone zone;
    std::string problem;
    if (!FindClockZone(name, zone, problem)) state.SkipWithError(problem.c_str());
    clock.Zone = zone;
    return clock;
}

void RunConversions(benchmark::State& state, const BirthClock& clock) {
    const std::vector<Moment> moments = bench::RandomMoments(4096);
    size_t i = 0;
    for (auto _ : state) benchmark::DoNotOptimize(ChartMomentOf(clock, moments[i++ & 4095]));
}

void BM_ZoneConversion(benchmark::State& state) { RunConversions(state, ZoneClock(state, "Asia/Taipei")); }
BENCHMARK(BM_ZoneConversion);

void BM_ZoneConversionWithTrueSolarTime(benchmark::State& state) {
    BirthClock clock = ZoneClock(state, "America/Los_Angeles");
    clock.SolarLongitude = -118.25;
    RunConversions(state, clock);
}
BENCHMARK(BM_ZoneConversionWithTrueSolarTime);

void BM_EquationOfTime(benchmark::State& state) {
    int64_t utc = 0;
    for (auto _ : state) benchmark::DoNotOptimize(EquationOfTimeMinutes(utc += 86400 * 7 + 11));
}
BENCHMARK(BM_EquationOfTime);

}  // namespace
}  // namespace qv

// Computing the whole solar-term table, as the build does.
#include <benchmark/benchmark.h>

#include <memory>

#include "solar_longitude.h"

namespace {

void BM_SolarTermTable1801To2100(benchmark::State& state) {
    auto table = std::make_unique<qv::SolarTermTable>();
    for (auto _ : state) {
        qv::termgen::ComputeSolarTermTable(1801, 2100, *table);
        benchmark::DoNotOptimize(table->Rows[299][23]);
    }
}
BENCHMARK(BM_SolarTermTable1801To2100)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

// Potential values of a full table (255 abilities) for one chart block, and
// loading and checking the full table file.
#include <benchmark/benchmark.h>

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <random>

#include "potential.h"
#include "potential_file.h"

namespace qv {
namespace {

// Seven categories of 32 abilities and one of 31, each ability three
// elements and four ten gods, the most the dialogs allow.
std::unique_ptr<PotentialTable> FullTable() {
    auto t = std::make_unique<PotentialTable>();
    ResetPotentialTable(*t);
    std::mt19937 rng(3);
    for (int c = 0; c < 8; ++c) AddPotentialCategory(*t, static_cast<int>(rng() % 101), c == 7 ? 31 : 32);
    for (int i = 0; i < MaxPotentialItems; ++i) {
        PotentialItem& item = t->Items[i];
        for (int k = 0; k < 3; ++k) item.ElementMask |= ElementBit(static_cast<int>(rng() % 5));
        for (int k = 0; k < 4; ++k) item.TenGodMask |= TenGodBit(static_cast<int>(rng() % 10));
    }
    return t;
}

ChartBlock IndexedBlock() {
    ChartBlock b{};
    std::mt19937 rng(9);
    for (int16_t& v : b.ElementIndex) v = static_cast<int16_t>(20 + rng() % 90);
    for (int16_t& v : b.TenGodIndex) v = static_cast<int16_t>(20 + rng() % 90);
    return b;
}

void BM_ComputePotentials255(benchmark::State& state) {
    const auto table = FullTable();
    const ChartBlock block = IndexedBlock();
    int16_t out[PotentialIndexSize];
    for (auto _ : state) {
        ComputePotentials(out, block, table.get());
        benchmark::DoNotOptimize(out);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ComputePotentials255);

void BM_LoadPotentialTableFile(benchmark::State& state) {
    char dir[] = "/tmp/quorvane-bench-XXXXXX";
    const std::string folder = mkdtemp(dir) ? dir : "/tmp";
    const std::string path = folder + "/EngyInfo.tbl";
    std::ofstream(path, std::ios::binary) << EncodePotentialTable(*FullTable());
    auto table = std::make_unique<PotentialTable>();
    for (auto _ : state) {
        const PotentialLoadResult r = LoadPotentialTable(path, *table);
        if (r.Refused) state.SkipWithError(r.Problem.c_str());
        benchmark::DoNotOptimize(table->ItemTotal);
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_LoadPotentialTableFile)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace qv

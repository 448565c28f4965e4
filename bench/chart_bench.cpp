// Charting people: the engine alone, and the command-line batch end to end.
#include <benchmark/benchmark.h>

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench_support.h"
#include "chart_compute.h"

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
    const std::string input = "/tmp/quorvane-bench-batch.txt";
    {
        std::FILE* f = std::fopen(input.c_str(), "w");
        if (!f) {
            state.SkipWithError("cannot write the input");
            return;
        }
        const auto moments = bench::RandomMoments(100000);
        for (size_t k = 0; k < moments.size(); ++k) {
            const Moment& m = moments[k];
            std::fprintf(f, "%04d-%02d-%02d %02d:%02d %c\n", m.Year, m.Month, m.Day, m.Hour, m.Minute, k & 1 ? 'f' : 'm');
        }
        std::fclose(f);
    }
    const std::string command = std::string(QUORVANE_BIN_DIR) + "/quorvane-cli chart --batch <" + input + " >/dev/null";
    for (auto _ : state) {
        // Status 1 only says some births lay beyond the table; 2 and up is a failure.
        const int status = std::system(command.c_str());
        if (!WIFEXITED(status) || WEXITSTATUS(status) > 1) state.SkipWithError("quorvane-cli failed");
    }
    std::remove(input.c_str());
}
BENCHMARK(BM_CliBatch100k)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace
}  // namespace qv

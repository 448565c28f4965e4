// Pillars of a birth moment, the lunar conversion, and quorvane-cli pillars end to end.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

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

// One whole quorvane-cli process answering one moment: the start-up a script
// pays on every call (no shell between, output to /dev/null).
void BM_CliPillarsOneLine(benchmark::State& state) {
    const std::string program = std::string(QUORVANE_BIN_DIR "/quorvane-cli");
    std::string words[] = {program, "pillars", "1999-12-07 23:30"};
    char* argv[] = {words[0].data(), words[1].data(), words[2].data(), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    double childSeconds = 0;  // the process's own processor time, apart from a busy machine's waits
    for (auto _ : state) {
        pid_t pid = 0;
        int status = 0;
        rusage usage{};
        if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, environ) != 0 ||
            wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("quorvane-cli failed");
            break;
        }
        childSeconds += usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    }
    state.counters["child_cpu_ms"] = benchmark::Counter(childSeconds * 1000, benchmark::Counter::kAvgIterations);
    posix_spawn_file_actions_destroy(&actions);
}
BENCHMARK(BM_CliPillarsOneLine)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(10)->ReportAggregatesOnly();

}  // namespace
}  // namespace qv

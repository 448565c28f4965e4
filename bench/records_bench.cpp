// The records file at the size the new-person command allows: a crash-safe
// append (whole rewrite, flushed to disk) and the name searches.
#include <benchmark/benchmark.h>

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "atomic_file.h"
#include "records_file.h"

namespace qv {
namespace {

PersonRecord BenchPerson(int i) {
    PersonRecord r{};
    // Names of two Big5 characters from a few surnames, so that names repeat.
    static const char* const surnames[] = {"\xA4\xFD", "\xA7\xF5", "\xB3\xAF", "\xAA\x4C"};  // 王 李 陳 林
    std::snprintf(r.name, sizeof r.name, "%s%03d", surnames[i % 4], i % 700);
    r.year = static_cast<int16_t>(1900 + i % 200);
    r.month = 1;
    r.day = 1;
    r.hour = 8;
    return r;
}

// A folder holding a records file of `count` records, removed at the end.
class BenchFile {
public:
    explicit BenchFile(int count) {
        char dir[] = "/tmp/quorvane-bench-XXXXXX";
        dir_ = mkdtemp(dir) ? dir : "/tmp";
        path_ = dir_ + "/VNX5MAIN.AID";
        std::vector<PersonRecord> records;
        for (int i = 0; i < count; ++i) records.push_back(BenchPerson(i));
        AppendRecords(path_, records);
        ReadWholeFile(path_, bytes_);
    }
    ~BenchFile() {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    const std::string& Path() const { return path_; }
    void Restore() const { std::ofstream(path_, std::ios::binary) << bytes_; }

private:
    std::string dir_, path_, bytes_;
};

void BM_AppendTo999Records(benchmark::State& state) {
    BenchFile file(999);
    const PersonRecord person = BenchPerson(999);
    for (auto _ : state) {
        state.PauseTiming();
        file.Restore();
        state.ResumeTiming();
        const RecordsResult r = StoreRecord(file.Path(), person, -1);
        if (!r.Ok) state.SkipWithError(r.Detail.c_str());
    }
}
BENCHMARK(BM_AppendTo999Records)->Unit(benchmark::kMillisecond);

void BM_ListNames1000(benchmark::State& state) {
    BenchFile file(1000);
    for (auto _ : state) benchmark::DoNotOptimize(ListNames(file.Path()));
}
BENCHMARK(BM_ListNames1000)->Unit(benchmark::kMillisecond);

void BM_ListNamesByPrefix1000(benchmark::State& state) {
    BenchFile file(1000);
    for (auto _ : state) benchmark::DoNotOptimize(ListNamesByPrefix(file.Path(), "\xA4\xFD"));
}
BENCHMARK(BM_ListNamesByPrefix1000)->Unit(benchmark::kMillisecond);

void BM_FindByName1000(benchmark::State& state) {
    BenchFile file(1000);
    PersonRecord out{};
    std::vector<int> numbers;
    for (auto _ : state) benchmark::DoNotOptimize(FindByName(file.Path(), "\xA4\xFD" "004", out, numbers));
}
BENCHMARK(BM_FindByName1000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qv

// Shared inputs of the benchmarks: the built solar-term table and random
// births; whole runs of quorvane-cli over a file of them.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "engine/calendar/calendar.h"
#include "engine/chart/chart_compute.h"

namespace qv::bench {

// AInfo.tbl as the build writes it; FirstYear is 0 when it is missing.
inline const SolarTermTable& Table() {
    static const std::unique_ptr<SolarTermTable> table = [] {
        auto t = std::make_unique<SolarTermTable>();
        LoadSolarTermTable(std::string(QUORVANE_BIN_DIR "/AInfo.tbl"), *t);
        return t;
    }();
    return *table;
}

// Moments spread over the table's years (1802-2099), every minute of the day.
inline std::vector<Moment> RandomMoments(int count) {
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

inline PersonRecord PersonAt(const Moment& m, int sex) {
    PersonRecord p{};
    StoreBirthMoment(p, CivilDate{m.Year, m.Month, m.Day}, m.Hour, m.Minute);
    p.sex = sex;
    return p;
}

// A record ready to chart people; null (with the benchmark skipped) without a table.
template <typename State>
std::unique_ptr<ChartRecord> ChartingRecord(State& state) {
    if (Table().FirstYear == 0) {
        state.SkipWithError("AInfo.tbl not built");
        return nullptr;
    }
    auto rec = std::make_unique<ChartRecord>();
    rec->SolarTerms = &Table();
    rec->Options = DefaultEngineOptions;
    rec->Scoring = DefaultScoringParameters;
    return rec;
}

// The record with the person the window benchmarks draw (born 1990-02-04 09:05,
// male) charted; null (with the benchmark skipped) when that cannot be done.
template <typename State>
std::unique_ptr<ChartRecord> ChartedSamplePerson(State& state) {
    auto rec = ChartingRecord(state);
    PillarQuad pillars{};
    if (rec && !ChartPerson(*rec, PersonAt(Moment{1990, 2, 4, 9, 5}, 0), pillars)) {
        state.SkipWithError("the sample person cannot be charted");
        return nullptr;
    }
    return rec;
}

// Writes count random moments to path, one "YYYY-MM-DD HH:MM" a line, with
// " m" and " f" in turn after them when withSex; false if it cannot.
inline bool WriteMomentLines(const std::string& path, int count, bool withSex) {
    std::FILE* f = std::fopen(path.c_str(), "w");
    if (!f) return false;
    const auto moments = RandomMoments(count);
    for (size_t k = 0; k < moments.size(); ++k) {
        const Moment& m = moments[k];
        std::fprintf(f, "%04d-%02d-%02d %02d:%02d", m.Year, m.Month, m.Day, m.Hour, m.Minute);
        std::fputs(!withSex ? "\n" : k & 1 ? " f\n" : " m\n", f);
    }
    return std::fclose(f) == 0;
}

// Times `quorvane-cli ARGUMENTS <input >/dev/null` as a whole, once an
// iteration, on 100 000 random moments written to the input file first.
template <typename State>
void TimeCliOverMoments(State& state, const std::string& arguments, bool withSex, const std::string& input) {
    if (!WriteMomentLines(input, 100000, withSex)) {
        state.SkipWithError("cannot write the input");
        return;
    }
    const std::string command = std::string(QUORVANE_BIN_DIR "/quorvane-cli ") + arguments + " <" + input + " >/dev/null";
    for (auto _ : state) {
        // Status 1 only says some inputs lay beyond the table; 2 and up is a failure.
        const int status = std::system(command.c_str());
        if (!WIFEXITED(status) || WEXITSTATUS(status) > 1) state.SkipWithError("quorvane-cli failed");
    }
    std::remove(input.c_str());
}

}  // namespace qv::bench

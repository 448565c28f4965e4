// Shared inputs of the benchmarks: the built solar-term table and random births.
#pragma once

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "calendar.h"
#include "chart_compute.h"

namespace qv::bench {

// AInfo.tbl as the build writes it; FirstYear is 0 when it is missing.
inline const SolarTermTable& Table() {
    static const std::unique_ptr<SolarTermTable> table = [] {
        auto t = std::make_unique<SolarTermTable>();
        LoadSolarTermTable(std::string(QUORVANE_BIN_DIR) + "/AInfo.tbl", *t);
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

}  // namespace qv::bench

// Test helpers: the independent reference tables and the solar-term table the build generated.
#pragma once

#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/calendar/calendar.h"
#include "engine/calendar/solar_terms.h"

namespace qv::test {

// Rows of a tab-separated reference file, header line dropped. A missing file
// fails the test that asked for it rather than letting it pass on no rows.
inline std::vector<std::vector<std::string>> ReadReferenceTsv(const std::string& name) {
    std::vector<std::vector<std::string>> rows;
    std::string path = QUORVANE_REFERENCE_DIR;
    path += '/';
    path += name;
    std::ifstream in(path);
    if (!in) ADD_FAILURE() << "reference data missing: " << path;
    std::string line;
    bool header = true;
    while (std::getline(in, line)) {
        if (header) {
            header = false;
            continue;
        }
        std::vector<std::string> fields;
        std::stringstream ss(line);
        std::string field;
        while (std::getline(ss, field, '\t')) fields.push_back(field);
        if (!line.empty() && line.back() == '\t') fields.emplace_back();
        rows.push_back(fields);
    }
    return rows;
}

// How far, in minutes, a term of the table may lie from the reference's: the
// minute either side of its second, and beyond 2060 one more, where the
// published forecasts of ΔT (87 s to 200 s by 2100) part by over a minute and
// the reference followed a higher one than the table.
// A date of the reference files, YYYY-MM-DD.
inline CivilDate ParseDate(const std::string& s) {
    return CivilDate{std::stoi(s.substr(0, 4)), std::stoi(s.substr(5, 2)), std::stoi(s.substr(8, 2))};
}

inline int TermToleranceMinutes(int year) { return year <= 2060 ? 1 : 2; }

// The table the build wrote beside the programs; null when it cannot be read.
inline const SolarTermTable* BuiltTable() {
    static std::unique_ptr<SolarTermTable> table = [] {
        auto t = std::make_unique<SolarTermTable>();
        if (!LoadSolarTermTable(QUORVANE_BIN_DIR "/AInfo.tbl", *t).Ok) t.reset();
        return t;
    }();
    return table.get();
}

}  // namespace qv::test

// The solar-term table: the local moment (UTC+8, to the minute) at which each
// of the 24 terms begins, for every Gregorian year the table covers. Rows are
// contiguous, so the entry after a year's 冬至 is the next year's 小寒.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/texts/result.h"

namespace qv {

struct TermMoment {
    uint8_t Month;   // 1-12
    uint8_t Day;     // 1-31
    uint8_t Hour;    // 0-23
    uint8_t Minute;  // 0-59
};

inline constexpr int TermsPerYear = 24;
inline constexpr int SolarTermMaxRows = 300;
inline constexpr int SolarTermFirstYear = 1801;

struct SolarTermTable {
    uint16_t FirstYear = 0;  // 0 while no table is loaded
    uint16_t LastYear = 0;
    std::array<std::array<TermMoment, TermsPerYear>, SolarTermMaxRows> Rows{};

    bool Covers(int year) const { return FirstYear != 0 && year >= FirstYear && year <= LastYear; }
    // Row index of a year's first entry, counted in entries as the row layout does.
    int FirstEntryIndex(int year) const { return (year - FirstYear) * TermsPerYear; }
    const TermMoment& At(int year, int term) const { return Rows[year - FirstYear][term]; }
};

// Reads and checks a solar-term table file (see solar_term_file.cpp for the layout).
// On failure the detail says why and the table is left empty.
Result LoadSolarTermTable(const std::string& path, SolarTermTable& table);
// The length of a full table: a reader needs no more than this plus one byte
// to tell a sound file from a longer one.
size_t LongestSolarTermFile();

// The same check of a table's bytes; messages name `path`.
Result ReadSolarTermTable(std::string_view bytes, const std::string& path, SolarTermTable& table);

// Writes the table in the file layout that LoadSolarTermTable reads.
Result SaveSolarTermTable(const std::string& path, const SolarTermTable& table);

}  // namespace qv

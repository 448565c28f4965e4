// 八字反查: every stretch of time in which given pillars hold. Counted in
// minutes of the UTC+8 clock, as the solar-term table is.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "engine/calendar/calendar.h"
#include "engine/calendar/solar_terms.h"

namespace qv {

// Minutes from 1 January 1801 00:00 (UTC+8 clock).
using ClockMinute = int64_t;
ClockMinute ClockMinuteOf(const Moment& m);
Moment MomentOfClockMinute(ClockMinute minute);

inline constexpr int DefaultSearchFirstYear = 1801;
inline constexpr int DefaultSearchLastYear = 2100;

struct PillarQuery {
    int Pillar[4] = {0, 0, 0, 0};  // year, month, day, hour as sexagenary numbers
    int Count = 4;                 // 2 (year, month), 3 (and day) or 4 (and hour)
    int RatHourRule = 1;
    int FirstYear = DefaultSearchFirstYear, LastYear = DefaultSearchLastYear;  // Gregorian, inclusive
};

enum class PillarQueryProblem {
    None,
    BadCount,          // not 2, 3 or 4 pillars
    BadPillar,         // not a sexagenary number, or a rule out of range
    BadYearRange,      // empty, or beyond what the table places
    MonthStemNotOfYear,  // 年上起月: the month stem cannot follow the year stem
    HourStemNotOfDay,    // 日上起時: under this rat-hour rule the hour stem cannot follow the day stem
};

// A stretch in which the pillars hold: First and Last are the first and last
// minutes that carry them.
struct PillarRange {
    ClockMinute First, Last;
};

struct PillarSearchResult {
    PillarQueryProblem Problem = PillarQueryProblem::None;
    size_t Found = 0;  // every range found; only the first out.size() are stored
};

// Checks the query and fills `out` with the ranges in time order.
PillarSearchResult FindPillarRanges(const SolarTermTable& table, const PillarQuery& query,
                                    std::span<PillarRange> out);

// The check alone.
PillarQueryProblem CheckPillarQuery(const SolarTermTable& table, const PillarQuery& query);
// The text that explains the problem; 0 for None.
int PillarQueryProblemText(PillarQueryProblem problem);

// The lunar date of a moment as a birth at it counts it (a 23:00 birth moves
// on to the next day under the rat-hour rules that say so); false outside the
// lunar table.
bool LunarDateAt(const Moment& m, int ratHourRule, LunarDate& out);

// "甲子" → 0 ... "癸亥" → 59; -1 for anything else (a stem and branch of
// different polarity, such as 甲丑, is no pillar).
int PillarFromText(std::string_view text);

}  // namespace qv

// 時辰不確定: the stretches of a span of time in which the pillars stay the
// same, each with what changed at its start. Minutes of the UTC+8 clock.
#pragma once

#include <cstddef>
#include <span>

#include "engine/analysis/pillar_search.h"

namespace qv {

// What changed at the start of a stretch (bits); the first stretch has none.
enum PillarChange : unsigned {
    HourChanged = 1,
    DayChanged = 2,    // at midnight, or at 23:00 under the rat-hour rule
    MonthChanged = 4,  // at a 節
    YearChanged = 8,   // at 立春
};

struct PillarSpan {
    ClockMinute First, Last;
    PillarQuad Pillars;
    unsigned Changes;
};

struct PillarSpanResult {
    bool Ok = false;   // false: the table cannot place some minute of the span
    size_t Found = 0;  // every stretch; only the first out.size() are stored
};

// Splits [first, last] where a pillar changes, in time order.
PillarSpanResult SplitByPillars(const SolarTermTable& table, int ratHourRule, ClockMinute first, ClockMinute last,
                                std::span<PillarSpan> out);

// What differs between two sets of pillars, as PillarChange bits.
unsigned PillarChanges(const PillarQuad& before, const PillarQuad& after);

}  // namespace qv

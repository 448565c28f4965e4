// The bars of the luck-pillar chart, as the window, a print and the command
// line all show them: an entry for the years before the first luck pillar when
// luck starts after the first year, then the twelve pillars, each with its
// change against the bar before.
#pragma once

#include "engine/chart/chart_record.h"

namespace qv {

inline constexpr int MaxLuckBars = LuckPillarCount + 1;

struct LuckBar {
    int Value;
    int Change;  // against the bar before, the first against 0
    int Pillar;  // luck pillar index 0-11, -1 for the years before the first
};

// Fills bars with the chart of `set` (a FortuneSet of `category`); returns
// the count, 12 or 13.
int LuckChartBars(const ChartRecord& rec, const FortuneSet& set, int category, LuckBar (&bars)[MaxLuckBars]);


}  // namespace qv

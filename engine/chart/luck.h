// The ten-year luck pillars (大運) and the moment they begin.
#pragma once

#include <string_view>

#include "engine/chart/chart_record.h"

namespace qv {

// Span from birth to the luck start for a distance to the month-opening term:
// one hour of distance is five days of life.
struct LuckSpan {
    int OffsetDays;  // f
    int Years, Months, Days;
};
LuckSpan LuckSpanOf(int days, int hours, int minutes);

// Nominal age (虛歲) at which the first luck pillar begins.
int LuckStartAgeOf(const LuckSpan& span);

// Fills LuckStartSpan, LuckStartTerm, LuckChangeStem, LuckStartAge and
// LuckStartAgeMid of Natal from the birth moment and the luck direction.
void ComputeLuckStart(ChartRecord& rec, const PillarQuad& pillars);

// Twelve luck pillars from stem s and branch b, stepped by the direction;
// ten gods always from the natal day stem.
void BuildLuckPillars(ChartBlock& block, int natalDayStem, bool forward, int stem, int branch, bool stepFirst);

// One line of the luck-start texts, composed in place.
struct LuckLine {
    char Text[64];
    std::string_view View() const { return Text; }
};

// The chart view's lines: "每逢甲或己年", "立春後 12天交大運", "出生後3年4月5日交大運".
// The term line is empty when the luck start lies beyond the solar-term table.
LuckLine LuckChangeText(const ChartBlock& block);
LuckLine LuckStartTermText(const ChartBlock& block);
LuckLine LuckSpanText(const ChartBlock& block);

}  // namespace qv

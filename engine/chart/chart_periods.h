#pragma once
// The walk through the periods of a life: the chart kind and the period chosen
// (a luck pillar, a year of the year row), the Flow block rebuilt for them, and
// the ages and years of a life that the choice counts in. The chart view's
// clicks, its keys and the command line's period options all end here.
#include "engine/calendar/calendar.h"
#include "engine/chart/chart_record.h"
#include "engine/fortune/fortune.h"  // YearPillarOf

namespace qv {

// The year row pages no further than this first age.
inline constexpr int LastFirstAge = 110;

// The button of chart kind NatalKind, LuckKind or YearKind: the natal chart,
// the luck pillar of the current age, or the year row around the selected (at
// first today's) year.
void ChooseKind(ChartRecord& rec, int kind);
// Period-row column 0-11 (0 rightmost): a luck pillar, or a year of the row,
// paging the row at its ends.
void ChooseCell(ChartRecord& rec, int column, bool upperHalf);
// The 流年盤 of a lunar year, as if the upper (stem) or lower (branch) half of
// that year's cell had been clicked.
void ChooseYear(ChartRecord& rec, int lunarYear, bool upperHalf = true);

// The keyboard's walk: the selected cell one column to the left (+1) or to the
// right (-1), paging the year row at its ends as a click there does; and the
// upper or lower half of the selected cell, without paging. False, nothing
// changed, when no cell is selected or the row ends.
bool StepCell(ChartRecord& rec, int leftward);
bool ChooseHalf(ChartRecord& rec, bool upperHalf);

// Flow for the selection: the period analysis of its stem (upper half) or its
// branch (lower half), and for the year row its twelve year pillars.
void RebuildFlow(ChartRecord& rec);

// No period chosen: what a new chart starts with.
void ClearPeriod(ChartRecord& rec);

// Nominal ages and lunar years of a life, with the birth-year boundary value.
int AgeInYear(const ChartRecord& rec, int lunarYear);
int YearOfAge(const ChartRecord& rec, int age);

// Nominal age (虛歲) on that day: lunar years since the birth year, plus one,
// corrected by the birth-year boundary value and by the year pillar turning at
// 立春 rather than at the new moon.
int CurrentNominalAge(const ChartRecord& rec, const CivilDate& today);

}  // namespace qv

#pragma once
// The chart view's walk through the periods of a life: which part of the view a
// point hits, what a click on a chart-kind button or on a period-row cell
// selects, and the Flow block rebuilt for that selection. No widgets: the view
// hands in page coordinates, a test or the command-line tool calls it directly.
#include "chart_draw.h"
#include "chart_record.h"

namespace qv::ui {

inline constexpr int NatalKind = 0, LuckKind = 1, YearKind = 2;
// 十年盤 … 流時盤: the kinds whose chart is the Flow block's.
constexpr bool IsPeriodKind(int kind) { return kind >= LuckKind && kind <= 5; }

// The chart-kind buttons at the view's left edge, outside the chart square.
inline constexpr int KindButtonLeft = 8;
inline constexpr int KindButtonWidth = 75;
inline constexpr int KindButtonHeight = 50;
inline constexpr int KindButtonStep = 54;
inline constexpr int KindButtonCount = 3;

// The year row pages no further than this first age.
inline constexpr int LastFirstAge = 110;

enum class ChartSpot { Nothing, KindButton, PeriodCell, WebStrip };

struct ChartHit {
    ChartSpot Spot = ChartSpot::Nothing;
    int Index = -1;          // button kind, or period column (0 rightmost)
    bool UpperHalf = false;  // of a period cell
};

// What the page point (x, y) hits; the buttons take only the left button.
ChartHit HitTest(const ChartLayout& layout, int x, int y, bool leftButton);

// Whether the hand cursor belongs over the point: everything a click acts on.
bool IsClickable(const ChartRecord& rec, const ChartLayout& layout, int x, int y);

enum class ClickResult { Nothing, OpenHelp, Repaint };

// A click at the page point: selects a kind or a period and rebuilds Flow.
ClickResult Click(ChartRecord& rec, const ChartLayout& layout, int x, int y, bool leftButton);

// The button of chart kind 0, 1 or 2: the natal chart, the luck pillar of the
// current age, or the year row around the selected (at first today's) year.
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
// Sexagenary number of a lunar year's pillar (1984 甲子 = 0).
int YearPillarOf(int lunarYear);

}  // namespace qv::ui

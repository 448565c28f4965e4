#pragma once
// Which part of the chart view a point hits and what a click on a chart-kind
// button or a period-row cell chooses (the choice itself is the engine's period
// walk). No widgets: the view hands in page coordinates, a test calls it directly.
#include "chart_draw.h"
#include "engine/chart/chart_periods.h"
#include "engine/chart/chart_record.h"

namespace qv::ui {

// The chart-kind buttons at the view's left edge, outside the chart square.
inline constexpr int KindButtonLeft = 8;
inline constexpr int KindButtonWidth = 75;
inline constexpr int KindButtonHeight = 50;
inline constexpr int KindButtonStep = 54;
inline constexpr int KindButtonCount = 3;

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

}  // namespace qv::ui

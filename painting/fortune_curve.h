#pragma once
// The state of a fortune-curve window and everything computed from it, in
// plain C++: the bar values of each mode from the engine's tables, the scale,
// the title, the layout and the paging limits. The painting only reads it.
#include <cstdint>
#include <string>

#include "engine/chart/chart_record.h"
#include "engine/fortune/levels.h"

namespace qv::ui {

enum CurveMode : int { LuckCurve = 0, TenYearCurve = 1, MonthCurve = 2, DayCurve = 3 };
inline constexpr int MaxBars = 120;
inline constexpr int NoPillar = -1;

// How far Page Down goes in the month and day charts. The flow-year chart
// program keeps a year of the table in hand: its month chart steps ahead only
// when the year after next is covered, and its day chart runs on from month 12
// to month 1 of the next year on the same condition (and back from month 1 to
// month 12 of the year before, down to the year of birth).
enum class ForwardPaging { MainProgram, ChartProgram };

// The period a window opens on and pages through.
struct FortunePeriod {
    int Luck = -1;         // luck pillar of the ten-year chart, -1 from birth
    int Year = 0;          // Gregorian year of the ten-year, month and day charts
    int Month = 1;         // month of the day chart, 1-12
    bool LuckView = true;  // the ten-year chart follows the luck pillars
    ForwardPaging Paging = ForwardPaging::MainProgram;
};

// The period in force in a Gregorian year and month: its luck pillar by the
// nominal age of that year (at most the last the ten-year chart pages to).
FortunePeriod PeriodInForce(const ChartRecord& rec, int year, int month);

struct CurveBar {
    int Value = 0;             // UnbornValue before birth
    int Change = 0;            // against the bar before
    int Pillar = NoPillar;     // sexagenary number of the period
    int Age = 0;               // 歲 row: nominal age; 0 none
    int Month = 0, Day = 0;    // month chart: the month's first day; day chart: the day
    int LunarMonth = 0, LunarDay = 0;  // day chart; 0 when the date has none
    bool LunarLeap = false;            // a day of a leap month
    bool OutOfTable = false;   // a year the solar-term table cannot convert: no bar, no value
    bool Drawn() const { return Value != UnbornValue && !OutOfTable; }
};

struct FortuneCurve {
    int Category = 1;
    int Mode = LuckCurve;
    bool Lifetime = false;
    FortunePeriod Period;
    int Count = 0;
    CurveBar Bars[MaxBars];
    int Baseline = 0;
    int Band = 10;
    int Step = 10;
    int Axis = 70;
    int Minimum = 0, Maximum = 0, Mean = 0;
};

// Fills the window state for (category, mode, lifetime) on the period; false,
// leaving `curve` as it was, when the period cannot be turned into pillars or
// the category has no chart.
bool OpenCurve(FortuneCurve& curve, ChartRecord& rec, int category, int mode, bool lifetime,
               const FortunePeriod& period);

// Page Up is -1 (the previous period), Page Down +1 (the next).
bool CanPage(const FortuneCurve& curve, const ChartRecord& rec, int direction);
// Moves, recomputes and rescales; false (nothing changed) at a limit.
bool PageCurve(FortuneCurve& curve, ChartRecord& rec, int direction);

// The axis half-range on opening and after paging.
int OpeningAxis(int category, int minimum, int maximum);
int PagedAxis(int minimum, int maximum);

// Pixel length of a bar of value v (negative downwards) and the distance of the
// band lines from the base line, for a plot of half span h.
int BarLength(int value, int axis, int halfSpan);
int BandOffset(int band, int axis, int halfSpan);

// UTF-8 title: "終身運勢圖", "農曆 1990年 - 1999年事業運勢圖", "農曆 2024年3月財運圖" …
std::string CurveTitle(const FortuneCurve& curve, const ChartRecord& rec);
// The category's part of the title; empty for a category without one.
std::string CategoryTitle(int category);

// Texts of the rows under bar i (UTF-8, empty where the row says nothing).
std::string FeelingRowText(const FortuneCurve& curve, const ChartRecord& rec, int i);
std::string PillarRowText(const FortuneCurve& curve, int i);
// The day chart's lunar date, "6/7", or "閏6/7" in a leap month.
std::string LunarRowText(const FortuneCurve& curve, int i);
std::string AgeRowText(const FortuneCurve& curve, int i);
// The label of bar i: baseline + value, empty before birth.
std::string ValueText(const FortuneCurve& curve, int i);
bool HasLunarRow(const FortuneCurve& curve);
// Heading of the bottom row: "歲", or "月" / "日" in the month and day charts.
std::string BottomRowHeading(const FortuneCurve& curve);

// Layout from the screen size (clamped to 1024 x 768, except for the lifetime
// chart, which spans the whole screen and is wider than a small one): the bar
// unit, the chart's width and depth, and where the title, the plot and the
// rows lie in it.
inline constexpr int LifetimeMinimumUnit = 16;
struct CurveLayout {
    int Unit = 0;
    int Width = 0, Depth = 0;
    int BarsLeft = 0;       // left edge of the first bar's slot; the headings lie left of it
    int TitleHeight = 0;
    int PlotTop = 0, PlotHeight = 0;
    int BaseY = 0;          // the base line
    int HalfSpan = 0;       // H of the bar formula
    int TextSize = 0;       // base size of the chart's fonts
    int RowFontSize = 0;    // pixel size of the row and value texts
    int ValueFontSize = 0;  // pixel size of the values; larger where they read upwards
    int LineHeight = 0;
    int FeelingLines = 1, PillarLines = 1, ValueLines = 1;  // vertical text where a slot is narrow
    bool ValueTurned = false;  // values read upwards, ValueLines lines long
    int RowsTop = 0;
    int RowUnit = 0;        // the printed page adds two of these under the chart
};
CurveLayout LayoutCurve(const FortuneCurve& curve, int screenWidth, int screenHeight);

// A rectangle in chart pixels.
struct CurveBox {
    int X = 0, Y = 0, Width = 0, Height = 0;
    bool Contains(int x, int y) const { return x >= X && x < X + Width && y >= Y && y < Y + Height; }
};
// Height of a row under the bars that holds `lines` lines of text.
int RowHeight(const CurveLayout& layout, int lines);
// The cell of bar i's feeling label, the first row under the bars.
CurveBox FeelingCell(const CurveLayout& layout, int i);

}  // namespace qv::ui

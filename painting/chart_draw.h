#pragma once
// The destiny chart (命盤) drawn on any painter: the screen view, an image, a printer page.
#include <QImage>
#include <QPainter>
#include <array>
#include <span>
#include <string>

#include "engine/calendar/calendar.h"
#include "engine/chart/chart_record.h"

namespace qv::ui {

// What the drawing needs beside the record (which holds the period selection): the base
// text size and "today", passed in so the same chart can be drawn reproducibly.
struct ChartDrawContext {
    int textSize = 0;          // base size s of the chart fonts in logical pixels; 0: from the chart unit
    int todayYear = 0, todayMonth = 0, todayDay = 0;  // 0: the record's current date (rec.Now)
    bool forPrinter = false;   // the chart square alone at the origin: no buttons, no side panel
    std::string clockNote;     // how the birth time shown was corrected (UTF-8); empty: as given
    std::string edgeNote;      // the edges the birth minute decides a pillar at, a line each (UTF-8); empty: none
};

// Where the chart square lies on the page; the view's click handling reads it too.
struct ChartLayout {
    int x0 = 0, y0 = 0;  // top-left corner of the chart square
    int side = 0;        // side passed to DrawChart
    int unit = 0;        // u = side / 34; the square is 34u + 1 pixels
};

inline constexpr int ChartLeft = 91;      // right of the chart-kind buttons
inline constexpr int SidePanelWidth = 224;  // the 104-year table: 8 cells of 28 pixels

// The view's layout for a page of width x height: the chart beside the buttons, leaving
// room for the side panel on its right.
ChartLayout ViewChartLayout(int width, int height);
// The layout DrawChart uses: the view's, or the square at the origin when printing.
ChartLayout LayoutFor(const ChartDrawContext& context, int width, int height, int side);

// Where the edge note goes: below the chart square when two lines fit there,
// else beside it; empty when neither has room.
QRect EdgeNoteArea(const ChartLayout& layout, const ChartDrawContext& context, int width, int height);

// Draws the chart square of side `side` (with the buttons and the side panel of the view
// unless context.forPrinter) and the edge note clear of it, filling width x height with white first.
// The record is read only.
void DrawChart(QPainter& painter, const ChartRecord& record, const ChartDrawContext& context,
               int width, int height, int side);

// The date DrawChart takes as today.
CivilDate TodayFor(const ChartRecord& record, const ChartDrawContext& context);

// The texts of single chart cells (UTF-8).
std::string HourText(int hour, int minute);              // "AM 9:05", "PM 1:30"
std::string HeaderYearText(int year, int yearDisplay);   // 1990, or 79 with the ROC display
std::string TenthsText(int tenths);                      // -15 -> "-1.5"
std::string StrengthText(const ChartBlock& block);       // "A12 > 8B"
std::string MainStarText(const ChartBlock& block, int pillar);  // ten god, "命主" for the day
std::string SpiritsText(const ChartBlock& block, int pillar);   // names joined by "、"

// The spirits of a cell laid out as whole names: lines of names joined by
// "、", none broken, in the largest font up to `font`'s size at which they
// fit `room`, a little apart.
struct SpiritLayout {
    QFont Font;
    QStringList Lines;
    int LineHeight = 0;
};
SpiritLayout LayOutSpirits(const QString& spirits, QFont font, QSize room);

// The 流年盤 side panel's terms of a lunar year's leap month: those whose days
// fall within it (usually one), each with its date; empty without a leap month.
std::array<QString, 2> LeapMonthTerms(const ChartRecord& record, int lunarYear);

// The picture of chart-kind button 0-2 (本命盤, 十年盤, 流年盤), 75 x 50, pressed when selected.
const QImage& KindButtonPicture(int kind, bool selected);

// Every fixed text the chart draws besides the string table (for the glyph check).
std::span<const char* const> ChartLabelTexts();

}  // namespace qv::ui

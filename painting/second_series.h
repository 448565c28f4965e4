#pragma once
// A second person on the lifetime and ten-year fortune charts: that person's
// values of the same category for the calendar years of the bars (so that
// both are read by year, whatever their ages), and the years good for both.
#include <string>

#include "fortune_curve.h"

class QPainter;
class QRect;

namespace qv::ui {

struct SecondSeries {
    bool Present = false;
    int Values[MaxBars] = {};
    bool Drawn[MaxBars] = {};     // the second person was born and the tables hold the year
    bool BothGood[MaxBars] = {};  // both values above 平穩
    std::string NameA, NameB;     // who the bars and the line are, for the legend (UTF-8; empty: 甲方, 乙方)
};

// The calendar year of bar i of the lifetime and ten-year charts; 0 for the other charts.
int BarYear(const FortuneCurve& curve, const ChartRecord& rec, int i);

// The second person's series for the curve of the first, the legend naming
// both; false for a chart that is not by years. The second record holds its
// fortune tables.
bool FillSecondSeries(const FortuneCurve& curve, const ChartRecord& first, const ChartRecord& second,
                      SecondSeries& out);

// Draws the series over a chart painted with PaintFortuneCurve into the same
// area: a line through the second person's values, a mark over each year good
// for both, and a legend naming both.
void PaintSecondSeries(QPainter& painter, const FortuneCurve& curve, const SecondSeries& series,
                       const CurveLayout& layout, const QRect& area);

}  // namespace qv::ui

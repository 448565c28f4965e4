#pragma once
// Two charts side by side (命盤對照) on any painter: the window, a printed
// page, a PNG or PDF. Both charts' main columns, the relations between them
// drawn from pillar to pillar with a legend, and the same listed in words.
#include <QPainter>
#include <QRectF>
#include <string>

#include "engine/analysis/chart_comparison.h"
#include "engine/chart/chart_record.h"

namespace qv::ui {

struct ComparisonSheet {
    const ChartRecord* A = nullptr;
    const ChartRecord* B = nullptr;
    std::string CaptionA, CaptionB;  // who each is: name or birth (UTF-8)
    ChartComparison Found{};
};

// Width and height of the drawing in its own units; it is scaled to fit the area.
inline constexpr int ComparisonWidth = 1000;
int ComparisonHeight(const ComparisonSheet& sheet);

void PaintComparison(QPainter& painter, const ComparisonSheet& sheet, const QRectF& area);

}  // namespace qv::ui

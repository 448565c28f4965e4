#pragma once
// The flow-year strip: the sixty years of one sexagenary cycle from the birth
// year on, each with its age, its pillar and the Na Yin element of that
// pillar, painted for the flow-year window and the picture program alike.
#include <QPainter>
#include <QRect>

#include "engine/chart/chart_record.h"

namespace qv::ui {

// The table's two rows of thirty cells, four units high each.
inline constexpr int FlowYearCellsPerRow = 30;

// The sixty cells right to left in two rows of thirty, unit u, from the origin.
void DrawFlowYears(QPainter& painter, const ChartRecord& record, int unit);
// Cell i (1-60) of the table.
QRect FlowYearCell(int i, int unit);
// Whether cell i carries the chequer shading.
bool FlowYearCellShaded(int i);
// The element (0 水 … 4 金) the Na Yin of a stem and branch belongs to.
int NaYinElement(int stem, int branch);

}  // namespace qv::ui

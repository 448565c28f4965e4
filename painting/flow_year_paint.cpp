#include "flow_year_paint.h"

#include "paint_helpers.h"
#include "engine/texts/string_table.h"
#include "engine/chart/symbols.h"

namespace qv::ui {
namespace {

constexpr int CellsPerRow = FlowYearCellsPerRow;
constexpr int Years = 60;
const QColor ChequerFill(230, 230, 230);


}  // namespace

QRect FlowYearCell(int i, int unit) {
    const int row = (i - 1) / CellsPerRow, place = (i - 1) % CellsPerRow;
    return QRect((CellsPerRow - 1 - place) * unit, row * 4 * unit, unit, 4 * unit);
}

bool FlowYearCellShaded(int i) { return i <= CellsPerRow ? i % 2 == 0 : i % 2 == 1; }

int NaYinElement(int stem, int branch) { return NaYinElementOf(SexagenaryOf(stem, branch) / 2); }

void DrawFlowYears(QPainter& painter, const ChartRecord& record, int unit) {
    painter.save();
    painter.setFont(MakeChartFont(9, unit, 700));
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.setPen(Qt::black);
    int stem = record.Natal.Stem[YearPillar] % 10, branch = record.Natal.Branch[YearPillar] % 12;
    for (int i = 1; i <= Years; ++i) {
        const QRect cell = FlowYearCell(i, unit);
        if (FlowYearCellShaded(i)) painter.fillRect(cell, ChequerFill);
        painter.drawText(QRect(cell.left(), cell.top(), unit, unit), Qt::AlignCenter | Qt::TextSingleLine, QString::number(i));
        const QString text = Text(text_base::Stem + stem) + Text(text_base::Branch + branch) +
                             Text(text_base::Element + NaYinElement(stem, branch));
        DrawVerticalText(painter, text, cell.adjusted(0, unit, 0, 0), unit);
        stem = (stem + 1) % 10;
        branch = (branch + 1) % 12;
    }
    painter.restore();
}

}  // namespace qv::ui

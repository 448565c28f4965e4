#include "second_series.h"

#include <algorithm>

#include <QPainter>
#include <QPainterPath>

#include "engine/analysis/chart_comparison.h"
#include "client_line.h"
#include "engine/fortune/fortune.h"
#include "paint_helpers.h"
#include "engine/texts/string_table.h"

namespace qv::ui {
namespace {

const QColor SecondLine(120, 0, 160);
const QColor BothGoodMark(0, 140, 60);

constexpr int CalmLevel = 5;  // 平穩
QString Word(int id) { return QString::fromUtf8(StringText(id).data(), static_cast<qsizetype>(StringText(id).size())); }
QString NameOr(const std::string& name, int id) { return name.empty() ? Word(id) : QString::fromStdString(name); }

bool AboveCalm(int value, int step) {
    const int level = LevelOf(value, step);
    return level != NoLevel && level < CalmLevel;
}

}  // namespace

int BarYear(const FortuneCurve& curve, const ChartRecord& rec, int i) {
    if (curve.Lifetime) return BirthSolarYear(rec) + i;
    if (curve.Mode == TenYearCurve) return BirthSolarYear(rec) + curve.Bars[i].Age - 1;
    return 0;
}

bool FillSecondSeries(const FortuneCurve& curve, const ChartRecord& first, const ChartRecord& second,
                      SecondSeries& out) {
    out = SecondSeries{};
    const FortuneSet* set = FortuneSetOf(second, curve.Category);
    if (set == nullptr || (!curve.Lifetime && curve.Mode != TenYearCurve)) return false;
    for (int i = 0; i < curve.Count; ++i) {
        const int index = BarYear(curve, first, i) - BirthSolarYear(second);
        const bool held = index >= 0 && index < YearsOfLife && set->YearValue[index] != UnbornValue;
        out.Values[i] = held ? set->YearValue[index] : 0;
        out.Drawn[i] = held && !curve.Bars[i].OutOfTable;
        out.BothGood[i] = out.Drawn[i] && curve.Bars[i].Drawn() && AboveCalm(out.Values[i], curve.Step) &&
                          AboveCalm(curve.Bars[i].Value, curve.Step);
    }
    out.NameA = PersonNameText(first), out.NameB = PersonNameText(second);
    out.Present = true;
    return true;
}

void PaintSecondSeries(QPainter& painter, const FortuneCurve& curve, const SecondSeries& series,
                       const CurveLayout& layout, const QRect& area) {
    if (!series.Present) return;
    painter.save();
    painter.translate(area.topLeft());
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath line;
    bool open = false;
    const int mark = std::max(3, layout.Unit / 3);
    for (int i = 0; i < curve.Count; ++i) {
        const double x = layout.BarsLeft + (i + 0.5) * layout.Unit;
        if (series.BothGood[i]) {
            painter.fillRect(QRectF(x - mark / 2.0, layout.PlotTop + 2, mark, mark), BothGoodMark);
        }
        if (!series.Drawn[i]) {
            open = false;
            continue;
        }
        const double y = layout.BaseY - BarLength(series.Values[i], curve.Axis, layout.HalfSpan);
        open ? line.lineTo(x, y) : line.moveTo(x, y);
        open = true;
    }
    painter.setPen(QPen(SecondLine, std::clamp(layout.Unit / 12, 2, 4)));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(line);
    // Legend in the plot's top left corner: the bars' person, the line's, the mark.
    painter.setFont(MakeChartFont(0, layout.TextSize + layout.TextSize / 4, 400));
    const int h = layout.LineHeight;
    const int x = layout.BarsLeft + 4, y = layout.PlotTop + mark + 6;
    painter.setPen(QColor(128, 128, 128));
    painter.setBrush(QColor(230, 230, 230));
    painter.drawRect(QRectF(x + 0.5 * h, y + 0.15 * h, h, 0.7 * h));
    painter.setPen(QPen(SecondLine, std::clamp(layout.Unit / 12, 2, 4)));
    painter.drawLine(x, y + h + 2 + h / 2, x + 2 * h, y + h + 2 + h / 2);
    painter.fillRect(QRect(x + 3 * h / 4, y + 2 * (h + 2) + h / 4, h / 2, h / 2), BothGoodMark);
    painter.setPen(QColor(32, 32, 32));
    const QString lines[] = {NameOr(series.NameA, PersonAText), NameOr(series.NameB, PersonBText), Word(BothGoodText)};
    for (int i = 0; i < 3; ++i)
        painter.drawText(QRect(x + 2 * h + 4, y + i * (h + 2), 20 * h, h), Qt::AlignLeft | Qt::AlignVCenter, lines[i]);
    painter.restore();
}

}  // namespace qv::ui

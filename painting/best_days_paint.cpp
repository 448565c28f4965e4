#include "best_days_paint.h"

#include <QDate>
#include <algorithm>
#include <cmath>
#include <vector>

#include "client_line.h"
#include "engine/analysis/chart_comparison.h"
#include "engine/texts/string_table.h"
#include "engine/texts/text_ids.h"
#include "paint_helpers.h"

namespace qv::ui {
namespace {

const QColor Ink(32, 32, 32);
const QColor GridLine(150, 150, 150);
const QColor HeadFill(225, 225, 245);

constexpr int Margin = 20, TitleHeight = 34, LineHeight = 22, HeadHeight = 26, RowHeight = 22, FootHeight = 30;
constexpr int TableWidth = BestDaysWidth - 2 * Margin;

int PersonCount(const BestDaysSheet& s) { return s.B ? 2 : 1; }
int Rows(const BestDaysSheet& s) { return s.Days ? s.Days->Count : 0; }
int HeadTop(const BestDaysSheet& s) { return Margin + TitleHeight + (PersonCount(s) + 1) * LineHeight + 8; }
int RowsTop(const BestDaysSheet& s) { return HeadTop(s) + HeadHeight; }

bool Shown(const BestDaysSheet& s, int column) { return s.B || (column != ValueB && column != RelationB); }

// The date twice as wide as a number, the rank narrower.
double ColumnWeight(int column) { return column == DateColumn ? 2.4 : column == RankColumn ? 0.8 : 1.2; }

// The left edges of the columns shown, and the table's right edge last.
std::vector<double> ColumnEdges(const BestDaysSheet& s) {
    double total = 0;
    for (int c = 0; c < BestDaysColumnCount; ++c)
        if (Shown(s, c)) total += ColumnWeight(c);
    std::vector<double> edges{double(Margin)};
    for (int c = 0; c < BestDaysColumnCount; ++c)
        if (Shown(s, c)) edges.push_back(edges.back() + TableWidth * ColumnWeight(c) / total);
    return edges;
}

QString DateText(const CivilDate& d) { return QDate(d.Year, d.Month, d.Day).toString(QStringLiteral("yyyy-MM-dd")); }

void DrawTitle(QPainter& p, const BestDaysSheet& s) {
    p.setPen(Ink);
    p.setFont(MakeChartFont(0, 20, 700));
    p.drawText(QRect(Margin, Margin, TableWidth, TitleHeight), Qt::AlignCenter, Text(BestDaysTitleText));
    p.setFont(MakeChartFont(0, 14, 400));
    int top = Margin + TitleHeight;
    for (int side = 0; side < PersonCount(s); ++side, top += LineHeight)
        p.drawText(QRect(Margin, top, TableWidth, LineHeight), Qt::AlignLeft | Qt::AlignVCenter,
                   Text(side ? PersonBText : PersonAText) + QStringLiteral("　") + Utf8(ClientLine(side ? *s.B : *s.A)));
    const QString range = Text(CategoryWordText) + QStringLiteral("：") + Utf8(s.Category) + QStringLiteral("　") +
                          DateText(s.From) + u' ' + Text(UntilWordText) + u' ' + DateText(s.To) +
                          QStringLiteral("　") + Text(DayCountText).arg(Rows(s));
    p.drawText(QRect(Margin, top, TableWidth, LineHeight), Qt::AlignLeft | Qt::AlignVCenter, range);
}

// One row of cells between the edges: the headings (rank < 0) or a day.
void DrawRow(QPainter& p, const BestDaysSheet& s, const std::vector<double>& edges, double top, double height,
             int rank) {
    const BestDay* day = rank >= 0 ? &s.Days->Days[rank] : nullptr;
    size_t k = 0;
    for (int c = 0; c < BestDaysColumnCount; ++c) {
        if (!Shown(s, c)) continue;
        const QRectF cell(edges[k], top, edges[k + 1] - edges[k], height);
        ++k;
        if (!day) p.fillRect(cell, HeadFill);
        p.setPen(GridLine);
        p.drawRect(cell);
        p.setPen(day && day->Clash ? ClashColor : Ink);
        p.drawText(cell, Qt::AlignCenter, day ? BestDaysCell(*day, rank, c) : BestDaysHeading(c));
    }
}

}  // namespace

QString BestDaysHeading(int column) {
    switch (column) {
        case RankColumn: return Text(RankWordText);
        case DateColumn: return Text(DateWordText);
        case PillarColumn: return Text(DayPillarWordText);
        case ValueColumn: return Text(ValueWordText);
        case ValueA: return Text(PersonAText);
        case RelationA: return Text(PersonAText) + Text(DayBranchWordText);
        case ValueB: return Text(PersonBText);
        default: return Text(PersonBText) + Text(DayBranchWordText);
    }
}

QString BestDaysCell(const BestDay& day, int rank, int column) {
    static const char* const Weekdays[] = {"一", "二", "三", "四", "五", "六", "日"};
    const auto relation = [](BranchRelationKind kind) {
        return kind == NoRelation ? QString() : Text(RelationKindText(kind));
    };
    switch (column) {
        case RankColumn: return QString::number(rank + 1);
        case DateColumn:
            return DateText(day.Date) + QStringLiteral(" (") +
                   QString::fromUtf8(Weekdays[QDate(day.Date.Year, day.Date.Month, day.Date.Day).dayOfWeek() - 1]) + u')';
        case PillarColumn: return Utf8(PillarText(day.Pillar));
        case ValueColumn: return QString::number(day.Value);
        case ValueA: return QString::number(day.Values[0]);
        case RelationA: return relation(day.Relation[0]);
        case ValueB: return QString::number(day.Values[1]);
        default: return relation(day.Relation[1]);
    }
}

int BestDaysRowsPerPage(const BestDaysSheet& sheet, QSizeF page) {
    const double height = page.width() > 0 ? BestDaysWidth * page.height() / page.width() : 0;
    return std::max(1, int(std::floor((height - RowsTop(sheet) - FootHeight) / RowHeight)));
}

int BestDaysPageCount(const BestDaysSheet& sheet, QSizeF page) {
    const int perPage = BestDaysRowsPerPage(sheet, page);
    return std::max(1, (Rows(sheet) + perPage - 1) / perPage);
}

QSize BestDaysListSize(const BestDaysSheet& sheet) {
    return QSize(BestDaysWidth, RowsTop(sheet) + Rows(sheet) * RowHeight + FootHeight);
}

void PaintBestDaysPage(QPainter& painter, const BestDaysSheet& sheet, const QRectF& area, int page) {
    if (!sheet.A || !sheet.Days || area.width() <= 0) return;
    const int perPage = BestDaysRowsPerPage(sheet, area.size());
    const int pages = BestDaysPageCount(sheet, area.size());
    const double scale = area.width() / BestDaysWidth;
    painter.save();
    painter.fillRect(area, Qt::white);
    painter.translate(area.topLeft());
    painter.scale(scale, scale);
    DrawTitle(painter, sheet);
    const std::vector<double> edges = ColumnEdges(sheet);
    painter.setFont(MakeChartFont(0, 14, 700));
    DrawRow(painter, sheet, edges, HeadTop(sheet), HeadHeight, -1);
    painter.setFont(MakeChartFont(0, 14, 400));
    const int first = page * perPage, last = std::min(Rows(sheet), first + perPage);
    for (int rank = first; rank < last; ++rank)
        DrawRow(painter, sheet, edges, RowsTop(sheet) + (rank - first) * RowHeight, RowHeight, rank);
    if (pages > 1) {
        painter.setPen(Ink);
        const double bottom = area.height() / scale;
        painter.drawText(QRectF(Margin, bottom - FootHeight, TableWidth, FootHeight), Qt::AlignCenter,
                         Text(PageOfPagesText).arg(page + 1).arg(pages));
    }
    painter.restore();
}

}  // namespace qv::ui

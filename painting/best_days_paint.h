#pragma once
// The days of 擇日 as a list on any painter: the window's printout, page by
// page, and its picture file, the whole list on one page. The title names
// the persons, the category and the range; days of 沖 come last, in red.
#include <QPainter>
#include <QRectF>
#include <QSize>
#include <QString>
#include <string>

#include "engine/fortune/best_days.h"

namespace qv::ui {

struct BestDaysSheet {
    const BestDays* Days = nullptr;
    const ChartRecord* A = nullptr;
    const ChartRecord* B = nullptr;  // null: the first person alone
    std::string Category;            // its name (UTF-8)
    CivilDate From{}, To{};
};

// The columns of the list, as the window shows them; the second person's
// two only with a second person.
enum BestDaysColumn { RankColumn, DateColumn, PillarColumn, ValueColumn, ValueA, RelationA, ValueB, RelationB,
                      BestDaysColumnCount };
QString BestDaysHeading(int column);
// The text of a column for the day at `rank` (from 0).
QString BestDaysCell(const BestDay& day, int rank, int column);
inline const QColor ClashColor(190, 0, 0);

// The drawing is BestDaysWidth units wide; its pages are scaled to the area's width.
inline constexpr int BestDaysWidth = 720;
// The rows a page of that shape holds (one at least), and the pages of the list.
int BestDaysRowsPerPage(const BestDaysSheet& sheet, QSizeF page);
int BestDaysPageCount(const BestDaysSheet& sheet, QSizeF page);
// The one page that holds the whole list, in the drawing's units.
QSize BestDaysListSize(const BestDaysSheet& sheet);

// Page `page` (from 0) of the list on `area`.
void PaintBestDaysPage(QPainter& painter, const BestDaysSheet& sheet, const QRectF& area, int page);

}  // namespace qv::ui

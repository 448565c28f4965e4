#include "flow_year_window.h"

#include <QCloseEvent>
#include <QPainter>

#include "paint_helpers.h"
#include "tool_window_place.h"
#include "string_table.h"
#include "symbols.h"

namespace qv::ui {
namespace {

constexpr int CellsPerRow = 30;
constexpr int Years = 60;
const QColor ChequerFill(230, 230, 230);

QString Text(int id) {
    const std::string_view t = StringText(id);
    return QString::fromUtf8(t.data(), static_cast<qsizetype>(t.size()));
}

}  // namespace

FlowYearLayout LayoutFlowYears(QSize screen, int captionHeight, int frameWidth) {
    const QSize clamped = ScreenMetrics(screen);
    FlowYearLayout layout;
    layout.Unit = clamped.width() / 40;
    const int width = CellsPerRow * layout.Unit, height = 8 * layout.Unit;
    const int bottom = clamped.height() - captionHeight - frameWidth;
    layout.Client = QRect((clamped.width() - width) >> 1, bottom - height, width, height);
    return layout;
}

QRect FlowYearCell(int i, int unit) {
    const int row = (i - 1) / CellsPerRow, place = (i - 1) % CellsPerRow;
    return QRect((CellsPerRow - 1 - place) * unit, row * 4 * unit, unit, 4 * unit);
}

bool FlowYearCellShaded(int i) { return i <= CellsPerRow ? i % 2 == 0 : i % 2 == 1; }

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

CFlowYearWnd::CFlowYearWnd(const ChartRecord& record, std::function<void()> onClosed, QWidget* owner,
                           const std::vector<QRect>& keepClear)
    : QWidget(owner, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint),
      record_(record),
      onClosed_(std::move(onClosed)) {
    setObjectName(QStringLiteral("flowYearWindow"));
    setWindowTitle(QStringLiteral("流年視窗"));
    setAttribute(Qt::WA_DeleteOnClose);
    setAutoFillBackground(true);  // every repaint starts from the bare background
    const QRect area = ToolScreenArea(owner);
    unit_ = LayoutFlowYears(area.size(), 0, 0).Unit;
    const ToolPlacement place = PlaceToolWindow(QSize(CellsPerRow * unit_, 8 * unit_), 0, ToolWindowFrame(*this), area,
                                                keepClear, ToolAnchor::BottomCentre);
    scale_ = place.Scale;
    setFixedSize(place.Client.size());
    setGeometry(place.Client);
}

void CFlowYearWnd::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.scale(scale_, scale_);  // the table's vectors at the screen's size: sharp at any scale
    DrawFlowYears(painter, record_, unit_);
}

void CFlowYearWnd::closeEvent(QCloseEvent* event) {
    if (onClosed_) onClosed_();
    event->accept();
}

}  // namespace qv::ui

#include "flow_year_window.h"

#include <QCloseEvent>
#include <QPainter>

#include "paint_helpers.h"
#include "tool_window_place.h"

namespace qv::ui {

FlowYearLayout LayoutFlowYears(QSize screen, int captionHeight, int frameWidth) {
    const QSize clamped = ScreenMetrics(screen);
    FlowYearLayout layout;
    layout.Unit = clamped.width() / 40;
    const int width = FlowYearCellsPerRow * layout.Unit, height = 8 * layout.Unit;
    const int bottom = clamped.height() - captionHeight - frameWidth;
    layout.Client = QRect((clamped.width() - width) >> 1, bottom - height, width, height);
    return layout;
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
    const ToolPlacement place = PlaceToolWindow(QSize(FlowYearCellsPerRow * unit_, 8 * unit_), 0, ToolWindowFrame(*this), area,
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

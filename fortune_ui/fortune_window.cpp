#include "fortune_window.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "fortune_paint.h"
#include "fortune_printer.h"
#include "index_explanation.h"
#include "paint_helpers.h"
#include "picture_export.h"
#include "tool_window_place.h"

namespace qv::ui {

QSize CurveScreenSize() {
    return ScreenMetrics(ToolScreenArea(nullptr).size());
}

CFortuneCurveWindow::CFortuneCurveWindow(ChartRecord& rec, const FortuneCurve& curve, QWidget* parent,
                                         const std::vector<QRect>& keepClear)
    : QDialog(parent), rec_(rec), curve_(curve) {
    setObjectName(QStringLiteral("fortuneCurveWindow"));
    setWindowTitle(QStringLiteral("流年運勢圖"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    Relayout();
    // Centred across the screen, standing on its bottom edge, unless that covers what is kept clear.
    const ToolPlacement place = PlaceToolWindow(QSize(layout_.Width, layout_.Depth), 0, ToolWindowFrame(*this),
                                                ToolScreenArea(parent), keepClear, ToolAnchor::BottomCentre);
    setGeometry(place.Client);
}

void CFortuneCurveWindow::Relayout() {
    const QSize screen = CurveScreenSize();
    layout_ = LayoutCurve(curve_, screen.width(), screen.height());
}

QTransform CFortuneCurveWindow::ChartToWindow() const {
    return LogicalPageTransform(QSize(layout_.Width, layout_.Depth), size());
}

bool CFortuneCurveWindow::Page(int direction) {
    if (!PageCurve(curve_, rec_, direction)) return false;
    Relayout();
    update();
    return true;
}

void CFortuneCurveWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.fillRect(rect(), CurveBackground);
    painter.setTransform(ChartToWindow());  // the chart's vectors at the window's size: sharp at any scale
    PaintFortuneCurve(painter, curve_, rec_, layout_, QRect(0, 0, layout_.Width, layout_.Depth));
    if (explains_) hotAreas_ = CurveHotAreas(curve_, rec_, layout_);
}

void CFortuneCurveWindow::EnableExplanations() {
    explains_ = true;
    setMouseTracking(true);
}

void CFortuneCurveWindow::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = ChartToWindow().inverted().map(event->position()).toPoint();
    if (explains_ && OverExplanation(hotAreas_, at.x(), at.y())) {
        setCursor(Qt::PointingHandCursor);
    } else {
        unsetCursor();
    }
    QDialog::mouseMoveEvent(event);
}

void CFortuneCurveWindow::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint at = ChartToWindow().inverted().map(event->position()).toPoint();
    HotArea chosen;
    if (explains_ && event->button() == Qt::LeftButton && ExplanationAt(hotAreas_, at.x(), at.y(), chosen))
        explainer_ ? explainer_(*this, chosen) : RunIndexExplanation(*this, chosen);
    QDialog::mouseReleaseEvent(event);
}

void CFortuneCurveWindow::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_PageUp: Page(-1); return;
        case Qt::Key_PageDown: Page(1); return;
        case Qt::Key_P:
        case Qt::Key_F1: Print(); return;
        case Qt::Key_S: ExportChart(); return;
        default: QDialog::keyPressEvent(event);
    }
}

void CFortuneCurveWindow::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    connect(menu.addAction(QStringLiteral("匯出圖片...\tS")), &QAction::triggered, this, &CFortuneCurveWindow::ExportChart);
    connect(menu.addAction(QStringLiteral("列印...\tP")), &QAction::triggered, this, &CFortuneCurveWindow::Print);
    menu.exec(event->globalPos());
}

void CFortuneCurveWindow::Print() {
    printer_ ? printer_(*this) : PrintChart(*this);
    update();
}

void CFortuneCurveWindow::ExportChart() {
    const QSize page(layout_.Width, layout_.Depth);
    ExportPictureTelling(this, page, QString::fromStdString(CurveTitle(curve_, rec_)), [this, page](QPainter& painter) {
        PaintFortuneCurve(painter, curve_, rec_, layout_, QRect(QPoint(0, 0), page));
    });
}

bool RunFortuneCurve(QWidget* parent, ChartRecord& rec, int category, int mode, bool lifetime,
                     const FortunePeriod& period, const std::vector<QRect>& keepClear) {
    FortuneCurve curve;
    if (!OpenCurve(curve, rec, category, mode, lifetime, period)) return false;
    CFortuneCurveWindow window(rec, curve, parent, keepClear);
    window.exec();
    return true;
}

}  // namespace qv::ui

#include "fortune_window.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include "fortune_paint.h"
#include "fortune_print.h"
#include "index_explanation.h"
#include "paint_helpers.h"

namespace qv::ui {

QSize CurveScreenSize() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return ScreenMetrics(screen ? screen->size() : QSize(kLogicalPageWidth, kLogicalPageHeight));
}

CFortuneCurveWindow::CFortuneCurveWindow(ChartRecord& rec, const FortuneCurve& curve, QWidget* parent)
    : QDialog(parent), rec_(rec), curve_(curve) {
    setObjectName(QStringLiteral("fortuneCurveWindow"));
    setWindowTitle(QStringLiteral("流年運勢圖"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    Relayout();
    // Centred across the screen, standing on its bottom edge.
    const QSize screen = CurveScreenSize();
    move((screen.width() - layout_.Width) / 2, screen.height() - layout_.Depth);
}

void CFortuneCurveWindow::Relayout() {
    const QSize screen = CurveScreenSize();
    layout_ = LayoutCurve(curve_, screen.width(), screen.height());
    setFixedSize(layout_.Width, layout_.Depth);
}

bool CFortuneCurveWindow::Page(int direction) {
    if (!PageCurve(curve_, rec_, direction)) return false;
    Relayout();
    update();
    return true;
}

QImage CFortuneCurveWindow::PrintPicture() const { return CurvePicture(curve_, rec_, layout_); }

void CFortuneCurveWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing);
    PaintFortuneCurve(painter, curve_, rec_, layout_, rect());
    if (explains_) hotAreas_ = CurveHotAreas(curve_, rec_, layout_);
}

void CFortuneCurveWindow::EnableExplanations() {
    explains_ = true;
    setMouseTracking(true);
}

void CFortuneCurveWindow::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (explains_ && OverExplanation(hotAreas_, at.x(), at.y())) {
        setCursor(Qt::PointingHandCursor);
    } else {
        unsetCursor();
    }
    QDialog::mouseMoveEvent(event);
}

void CFortuneCurveWindow::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
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
        case Qt::Key_F1:
            printer_ ? printer_(*this) : PrintChart(*this);
            update();
            return;
        default: QDialog::keyPressEvent(event);
    }
}

bool RunFortuneCurve(QWidget* parent, ChartRecord& rec, int category, int mode, bool lifetime,
                     const FortunePeriod& period) {
    FortuneCurve curve;
    if (!OpenCurve(curve, rec, category, mode, lifetime, period)) return false;
    CFortuneCurveWindow window(rec, curve, parent);
    window.exec();
    return true;
}

}  // namespace qv::ui

#include "fortune_window.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <cmath>

#include "fortune_paint.h"
#include "fortune_printer.h"
#include "index_explanation.h"
#include "paint_helpers.h"
#include "picture_export.h"
#include "tool_window_place.h"

namespace qv::ui {

CFortuneCurveWindow::CFortuneCurveWindow(ChartRecord& rec, const FortuneCurve& curve, QWidget* parent,
                                         const std::vector<QRect>& keepClear, SecondChooser chooseSecond)
    : QDialog(parent), rec_(rec), curve_(curve), chooseSecond_(std::move(chooseSecond)),
      series_(std::make_unique<SecondSeries>()) {
    setObjectName(QStringLiteral("fortuneCurveWindow"));
    setWindowTitle(QStringLiteral("流年運勢圖"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);  // the hand cursor over what a click explains
    const QRect screen = ToolScreenArea(parent);
    Relayout(screen.size());
    QSize client(layout_.Width, layout_.Depth);
    const QMargins frame = ToolWindowFrame(*this);
    if (curve_.Lifetime) {
        // Wider than the screen: as wide as it, scrolling along the years.
        scroll_ = new QScrollBar(Qt::Horizontal, this);
        scroll_->setObjectName(QStringLiteral("yearScrollBar"));
        connect(scroll_, &QScrollBar::valueChanged, this, qOverload<>(&QWidget::update));
        const int room = screen.width() - frame.left() - frame.right();
        if (client.width() > room) client = QSize(room, layout_.Depth + scroll_->sizeHint().height());
    }
    // Centred across the screen, standing on its bottom edge, unless that covers what is kept clear.
    const ToolPlacement place = PlaceToolWindow(client, 0, frame, screen, keepClear, ToolAnchor::BottomCentre);
    setGeometry(place.Client);
    FitScrollBar();
}

CFortuneCurveWindow::~CFortuneCurveWindow() = default;

void CFortuneCurveWindow::Relayout(QSize screen) {
    if (!curve_.Lifetime) screen = ScreenMetrics(screen);
    layout_ = LayoutCurve(curve_, screen.width(), screen.height());
}

bool CFortuneCurveWindow::Scrolls() const { return scroll_ != nullptr && !scroll_->isHidden(); }

double CFortuneCurveWindow::ScrolledScale() const {
    return double(height() - scroll_->sizeHint().height()) / layout_.Depth;
}

void CFortuneCurveWindow::FitScrollBar() {
    if (scroll_ == nullptr) return;
    const int bar = scroll_->sizeHint().height();
    const int chart = int(std::lround(layout_.Width * ScrolledScale()));
    scroll_->setHidden(chart <= width());
    scroll_->setGeometry(0, height() - bar, width(), bar);
    scroll_->setRange(0, std::max(0, chart - width()));
    scroll_->setPageStep(width());
    scroll_->setSingleStep(std::max(1, int(10 * layout_.Unit * ScrolledScale())));  // ten years
}

void CFortuneCurveWindow::resizeEvent(QResizeEvent* event) {
    FitScrollBar();
    QDialog::resizeEvent(event);
}

QTransform CFortuneCurveWindow::ChartToWindow() const {
    if (!Scrolls()) return LogicalPageTransform(QSize(layout_.Width, layout_.Depth), size());
    const double s = ScrolledScale();
    return QTransform(s, 0, 0, s, -scroll_->value(), 0);
}

QPoint CFortuneCurveWindow::WindowToChart(QPointF at) const {
    const QPoint scrolled = ChartToWindow().inverted().map(at).toPoint();
    if (!Scrolls()) return scrolled;
    // The heading column does not scroll: a point on it is a point of the column.
    const double s = ScrolledScale();
    return at.x() < layout_.BarsLeft * s ? (at / s).toPoint() : scrolled;
}

bool CFortuneCurveWindow::Page(int direction) {
    if (!PageCurve(curve_, rec_, direction)) return false;
    if (second_) FillSecondSeries(curve_, rec_, *second_, *series_);
    Relayout(ToolScreenArea(parentWidget()).size());
    update();
    return true;
}

void CFortuneCurveWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.fillRect(rect(), CurveBackground);
    painter.setTransform(ChartToWindow());  // the chart's vectors at the window's size: sharp at any scale
    PaintChart(painter, QRect(0, 0, layout_.Width, layout_.Depth));
    if (Scrolls()) {
        // The headings and the title stay in view over the years scrolled to: the unscrolled
        // chart's heading column, then the title band across the window.
        const double s = ScrolledScale();
        painter.setTransform(QTransform::fromScale(s, s));
        painter.setClipRect(QRect(0, 0, layout_.BarsLeft, layout_.Depth));
        PaintFortuneCurve(painter, curve_, rec_, layout_, QRect(0, 0, layout_.Width, layout_.Depth));
        painter.setClipping(false);
        PaintCurveTitle(painter, curve_, rec_, layout_, int(std::ceil(width() / s)));
    }
    hotAreas_ = CurveHotAreas(curve_, rec_, layout_);
}

void CFortuneCurveWindow::PaintChart(QPainter& painter, const QRect& area) const {
    PaintFortuneCurve(painter, curve_, rec_, layout_, area);
    PaintSecondSeries(painter, curve_, *series_, layout_, area);
}

bool CFortuneCurveWindow::TakesSecond() const { return BarYear(curve_, rec_, 0) != 0; }

bool CFortuneCurveWindow::ShowSecond(std::unique_ptr<ChartRecord> second) {
    auto series = std::make_unique<SecondSeries>();
    if (!second || !FillSecondSeries(curve_, rec_, *second, *series)) return false;
    second_ = std::move(second);
    series_ = std::move(series);
    update();
    return true;
}

void CFortuneCurveWindow::DropSecond() {
    second_.reset();
    *series_ = SecondSeries{};
    update();
}

void CFortuneCurveWindow::ChooseSecond() {
    if (!chooseSecond_ || !TakesSecond()) return;
    auto chosen = std::make_unique<ChartRecord>();
    if (chooseSecond_(*chosen)) ShowSecond(std::move(chosen));
}

void CFortuneCurveWindow::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = WindowToChart(event->position());
    if (OverExplanation(hotAreas_, at.x(), at.y())) {
        setCursor(Qt::PointingHandCursor);
    } else {
        unsetCursor();
    }
    QDialog::mouseMoveEvent(event);
}

void CFortuneCurveWindow::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint at = WindowToChart(event->position());
    HotArea chosen;
    if (event->button() == Qt::LeftButton && ExplanationAt(hotAreas_, at.x(), at.y(), chosen))
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
        case Qt::Key_W: ChooseSecond(); return;
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Home:
        case Qt::Key_End:
            if (Scrolls()) {
                const int key = event->key();
                scroll_->triggerAction(key == Qt::Key_Left    ? QAbstractSlider::SliderSingleStepSub
                                       : key == Qt::Key_Right ? QAbstractSlider::SliderSingleStepAdd
                                       : key == Qt::Key_Home  ? QAbstractSlider::SliderToMinimum
                                                              : QAbstractSlider::SliderToMaximum);
                return;
            }
            [[fallthrough]];
        default: QDialog::keyPressEvent(event);
    }
}

void CFortuneCurveWindow::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    connect(menu.addAction(QStringLiteral("匯出圖片...\tS")), &QAction::triggered, this, &CFortuneCurveWindow::ExportChart);
    connect(menu.addAction(QStringLiteral("列印...\tP")), &QAction::triggered, this, &CFortuneCurveWindow::Print);
    if (chooseSecond_ && TakesSecond()) {
        menu.addSeparator();
        connect(menu.addAction(QStringLiteral("加入第二人...\tW")), &QAction::triggered, this, &CFortuneCurveWindow::ChooseSecond);
        QAction* drop = menu.addAction(QStringLiteral("移除第二人"));
        drop->setEnabled(second_ != nullptr);
        connect(drop, &QAction::triggered, this, &CFortuneCurveWindow::DropSecond);
    }
    menu.exec(event->globalPos());
}

void CFortuneCurveWindow::Print() {
    printer_ ? printer_(*this) : PrintChart(*this);
    update();
}

void CFortuneCurveWindow::ExportChart() {
    const QSize page(layout_.Width, layout_.Depth);
    ExportPictureTelling(this, page, QString::fromStdString(CurveTitle(curve_, rec_)),
                         [this, page](QPainter& painter) { PaintChart(painter, QRect(QPoint(0, 0), page)); });
}

bool RunFortuneCurve(QWidget* parent, ChartRecord& rec, int category, int mode, bool lifetime,
                     const FortunePeriod& period, const std::vector<QRect>& keepClear, SecondChooser chooseSecond) {
    FortuneCurve curve;
    if (!OpenCurve(curve, rec, category, mode, lifetime, period)) return false;
    CFortuneCurveWindow window(rec, curve, parent, keepClear, std::move(chooseSecond));
    window.exec();
    return true;
}

}  // namespace qv::ui

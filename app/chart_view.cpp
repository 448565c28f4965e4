#include "chart_view.h"

#include <QDesktopServices>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <cmath>

#include "engine/calendar/calendar.h"
#include "chart_period.h"
#include "engine/texts/edge_words.h"
#include "help_page.h"
#include "paint_helpers.h"
#include "quorvane_app.h"
#include "engine/texts/text_ids.h"
#include "show_message.h"

namespace qv::ui {
namespace {

// Every edge note of the chart on show.
std::string EdgeNotesOf(const ChartRecord& record, const ClockNote& note, const EdgeMargins& margins) {
    return BirthEdgeNotes(record, ClockEdgesOf(note, margins.HourMinutes), margins);
}

}  // namespace

CQuorvaneView::CQuorvaneView(CQuorvaneApp& app, QWidget* parent) : QAbstractScrollArea(parent), app_(app) {
    setObjectName(QStringLiteral("chartView"));
    setFrameShape(QFrame::NoFrame);
    viewport()->setAutoFillBackground(false);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);  // the keys walk the chart as the clicks do
}

QSize CQuorvaneView::PageSizeFor(QSize viewport) {
    return viewport.expandedTo(QSize(SmallestPageWidth, SmallestPageHeight));
}

ChartLayout CQuorvaneView::PageLayout() { return ViewChartLayout(kLogicalPageWidth, kLogicalPageHeight); }

QTransform CQuorvaneView::PageToViewport() const {
    QTransform t = LogicalPageTransform(QSize(kLogicalPageWidth, kLogicalPageHeight), PageSizeFor(viewport()->size()));
    return t * QTransform::fromTranslate(-horizontalScrollBar()->value(), -verticalScrollBar()->value());
}

QPoint CQuorvaneView::PagePoint(QPoint viewportPoint) const {
    const QPointF page = PageToViewport().inverted().map(QPointF(viewportPoint) + QPointF(0.5, 0.5));
    return QPoint(static_cast<int>(std::floor(page.x())), static_cast<int>(std::floor(page.y())));
}

QPoint CQuorvaneView::ViewportPoint(QPoint pagePoint) const {
    return PageToViewport().map(QPointF(pagePoint) + QPointF(0.5, 0.5)).toPoint();
}

std::vector<QRect> CQuorvaneView::ClickableAreasOnScreen() const {
    const ChartLayout layout = PageLayout();
    const int u = layout.unit;
    const QRect row(layout.x0, layout.y0 + 22 * u, 24 * u, 6 * u + 1);
    const QRect buttons(KindButtonLeft, layout.y0, KindButtonWidth,
                        KindButtonStep * (KindButtonCount - 1) + KindButtonHeight);
    std::vector<QRect> areas;
    for (const QRect& page : {row, buttons}) {
        const QRect shown = PageToViewport().mapRect(page).intersected(viewport()->rect());
        if (!shown.isEmpty()) areas.emplace_back(viewport()->mapToGlobal(shown.topLeft()), shown.size());
    }
    return areas;
}

void CQuorvaneView::PaintPage(QPainter& painter, QSize target) {
    painter.fillRect(QRect(QPoint(0, 0), target), Qt::white);
    if (!app_.chartShown) return;
    const QSize logical(kLogicalPageWidth, kLogicalPageHeight);
    painter.save();
    ScaleToLogicalPage(painter, logical, target);
    ChartDrawContext context;
    context.clockNote = ChartNoteText(app_.CurrentClockNote());
    context.edgeNote = EdgeNotesOf(app_.Record(), app_.CurrentClockNote(), EdgeMarginsOf(app_.Settings()));
    DrawChart(painter, app_.Record(), context, logical.width(), logical.height(), PageLayout().side);
    painter.restore();
}

void CQuorvaneView::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.fillRect(viewport()->rect(), Qt::white);
    painter.translate(-horizontalScrollBar()->value(), -verticalScrollBar()->value());
    PaintPage(painter, PageSizeFor(viewport()->size()));
}

void CQuorvaneView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollRanges();
}

void CQuorvaneView::UpdateScrollRanges() {
    const QSize view = viewport()->size();
    const QSize page = PageSizeFor(view);
    horizontalScrollBar()->setRange(0, page.width() - view.width());
    verticalScrollBar()->setRange(0, page.height() - view.height());
    horizontalScrollBar()->setPageStep(view.width());
    verticalScrollBar()->setPageStep(view.height());
}

void CQuorvaneView::mousePressEvent(QMouseEvent* event) {
    QAbstractScrollArea::mousePressEvent(event);
    if (event->button() == Qt::LeftButton) {
        rightButton_ = false;
        ClickAt(event->position().toPoint(), true);
    } else if (event->button() == Qt::RightButton) {
        rightButton_ = true;
        ClickAt(event->position().toPoint(), false);
    }
    event->accept();
}

void CQuorvaneView::mouseReleaseEvent(QMouseEvent* event) {
    QAbstractScrollArea::mouseReleaseEvent(event);
    if (event->button() == Qt::RightButton) rightButton_ = false;
}

void CQuorvaneView::mouseMoveEvent(QMouseEvent* event) {
    QAbstractScrollArea::mouseMoveEvent(event);
    if (event->buttons() == Qt::NoButton) Hover(event->position().toPoint());
}

void CQuorvaneView::ClickAt(QPoint viewportPoint, bool leftButton) {
    if (!app_.chartShown) return;
    app_.Session().RefreshToday();
    ChartRecord& rec = app_.Record();
    const QPoint at = PagePoint(viewportPoint);
    switch (Click(rec, PageLayout(), at.x(), at.y(), leftButton)) {
        case ClickResult::OpenHelp:
            // Without a browser the user still learns where the page is.
            if (!HelpPageReadable() || !QDesktopServices::openUrl(HelpPageUrl()))
                ShowMessageWith(HelpPageUnopenedText, HelpPageUrl().toLocalFile().toStdString());
            break;
        case ClickResult::Repaint: PeriodShown(); break;
        case ClickResult::Nothing: break;
    }
}

void CQuorvaneView::PeriodShown() {
    viewport()->update();
    app_.PeriodChanged();
}

void CQuorvaneView::keyPressEvent(QKeyEvent* event) {
    if (!PressKey(event->key())) QAbstractScrollArea::keyPressEvent(event);
}

bool CQuorvaneView::PressKey(int key) {
    int kind = -1;
    switch (key) {
        case Qt::Key_1: case Qt::Key_F5: case Qt::Key_Home: kind = NatalKind; break;
        case Qt::Key_2: case Qt::Key_F6: kind = LuckKind; break;
        case Qt::Key_3: case Qt::Key_F7: kind = YearKind; break;
        case Qt::Key_Left: case Qt::Key_Right: case Qt::Key_Up: case Qt::Key_Down: break;
        default: return false;
    }
    if (!app_.chartShown) return true;
    app_.Session().RefreshToday();
    ChartRecord& rec = app_.Record();
    bool changed = false;
    if (kind >= 0) {
        // As the kind's button: the natal chart shown already stays as it is.
        changed = kind != NatalKind || rec.ChartKind != NatalKind;
        if (changed) ChooseKind(rec, kind);
    } else if (key == Qt::Key_Left || key == Qt::Key_Right) {
        changed = StepCell(rec, key == Qt::Key_Left ? 1 : -1);
    } else {
        changed = ChooseHalf(rec, key == Qt::Key_Up);
    }
    if (changed) PeriodShown();
    return true;
}

void CQuorvaneView::Hover(QPoint viewportPoint) {
    const QPoint at = PagePoint(viewportPoint);
    if (app_.chartShown && IsClickable(app_.Record(), PageLayout(), at.x(), at.y()))
        viewport()->setCursor(Qt::PointingHandCursor);
    else
        viewport()->unsetCursor();
}

void CQuorvaneView::EndPrintPreview() {
    rightButton_ = false;
    // Printing reads the record only, so the selection still stands; its Flow
    // block is rebuilt as the kind's button would, without moving the selection.
    if (app_.chartShown && app_.Record().ChartKind != NatalKind) RebuildFlow(app_.Record());
    viewport()->update();
}

bool PrintChartOn(QPaintDevice& device, const ChartRecord& record, const ClockNote& note,
                  const EdgeMargins& margins) {
    QPainter painter;
    if (!painter.begin(&device)) return false;
    // The square is 34u + 1 pixels with its closing rules.
    const int side = (std::min(device.width(), device.height()) - 1) / 34 * 34;
    ChartDrawContext context;
    context.forPrinter = true;
    context.clockNote = ChartNoteText(note);
    context.edgeNote = EdgeNotesOf(record, note, margins);
    DrawChart(painter, record, context, device.width(), device.height(), side);
    return painter.end();
}

}  // namespace qv::ui

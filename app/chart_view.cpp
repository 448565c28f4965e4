#include "chart_view.h"

#include <QPainter>
#include <QScrollBar>

#include "chart_draw.h"
#include "paint_helpers.h"
#include "quorvane_app.h"

namespace qv::ui {

CQuorvaneView::CQuorvaneView(CQuorvaneApp& app, QWidget* parent) : QAbstractScrollArea(parent), app_(app) {
    setObjectName(QStringLiteral("chartView"));
    setFrameShape(QFrame::NoFrame);
    viewport()->setAutoFillBackground(false);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
}

QSize CQuorvaneView::PageSizeFor(QSize viewport) {
    return viewport.expandedTo(QSize(SmallestPageWidth, SmallestPageHeight));
}

void CQuorvaneView::PaintPage(QPainter& painter, QSize target) {
    painter.fillRect(QRect(QPoint(0, 0), target), Qt::white);
    if (!app_.chartShown) return;
    const QSize logical(kLogicalPageWidth, kLogicalPageHeight);
    painter.save();
    ScaleToLogicalPage(painter, logical, target);
    ChartDrawContext context;
    context.selectedPeriod = app_.selectedPeriod;
    const int side = ViewChartLayout(logical.width(), logical.height()).side;
    DrawChart(painter, app_.Record(), context, logical.width(), logical.height(), side);
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

}  // namespace qv::ui

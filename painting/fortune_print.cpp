#include "fortune_print.h"

#include <QPainter>
#include <algorithm>

#include "client_line.h"
#include "data_paths.h"
#include "fortune_paint.h"
#include "picture_file.h"
#include "second_series.h"

namespace qv::ui {

PrintedPage PrintedPageGeometry(QSizeF page, QSize chart) {
    const double w = page.width(), h = page.height();
    if (chart.isEmpty()) return {};
    const double s = std::min(w / chart.width(), 0.7 * h / chart.height());
    const double g = std::min(w / chart.width(), (h / 5) / BannerHeight);
    PrintedPage p;
    p.Chart = QRectF((w - chart.width() * s) / 2, h / 5, chart.width() * s, chart.height() * s);
    p.Banner = QRectF((w - BannerWidth * g) / 2, (h / 5 - BannerHeight * g) / 2, BannerWidth * g, BannerHeight * g);
    return p;
}

QString BannerPicturePath() { return QString::fromStdString(ShippedDataDir()) + QStringLiteral("/BANNER.BMP"); }

QImage LoadBanner() {
    std::string ignored;  // a page without its banner still prints
    return ReadPictureFile(BannerPicturePath().toStdString(), ignored);
}

QSize PrintedChartSize(const CurveLayout& layout) { return QSize(layout.Width, layout.Depth + 2 * layout.RowUnit); }

namespace {

// The lifetime chart prints its years as two strips, one above the other, each
// beside the headings: across half the years a page has room for labels a client
// can read. The lower strip starts at the plot; the title stands over the upper.
int StripShift(const FortuneCurve& curve, const CurveLayout& layout) { return curve.Count / 2 * layout.Unit; }

QSize PrintedStripsSize(const FortuneCurve& curve, const CurveLayout& layout) {
    const QSize whole = PrintedChartSize(layout);
    return QSize(whole.width() - StripShift(curve, layout), 2 * whole.height() - layout.TitleHeight);
}

// The curve with the second person's series over it, when there is one.
void PaintWhole(QPainter& p, const FortuneCurve& curve, const ChartRecord& rec, const CurveLayout& l,
                const SecondSeries* second, const QRect& area) {
    PaintFortuneCurve(p, curve, rec, l, area);
    if (second) PaintSecondSeries(p, curve, *second, l, area);
}

void PaintStrips(QPainter& p, const FortuneCurve& curve, const ChartRecord& rec, const CurveLayout& l,
                 const SecondSeries* second) {
    const QSize whole = PrintedChartSize(l);
    const QRect area(QPoint(0, 0), whole);
    const int shift = StripShift(curve, l), width = whole.width() - shift, cut = l.BarsLeft + shift;
    p.save();
    p.setClipRect(QRect(0, 0, cut, whole.height()));
    PaintWhole(p, curve, rec, l, second, area);
    p.setClipping(false);
    p.fillRect(QRect(cut, 0, width - cut, whole.height()), CurveBackground);
    PaintCurveTitle(p, curve, rec, l, width);
    p.translate(0, whole.height() - l.TitleHeight);
    const int below = whole.height() - l.TitleHeight;
    p.setClipRect(QRect(0, l.TitleHeight, l.BarsLeft, below));
    PaintWhole(p, curve, rec, l, second, area);
    p.translate(-shift, 0);
    p.setClipRect(QRect(cut, l.TitleHeight, width - l.BarsLeft, below));
    PaintWhole(p, curve, rec, l, second, area);
    p.restore();
}

}  // namespace

void PaintPrintedPage(QPainter& painter, QSizeF page, const FortuneCurve& curve, const ChartRecord& rec,
                      const CurveLayout& layout, const QImage& banner, const SecondSeries* second) {
    const QSize chart = curve.Lifetime ? PrintedStripsSize(curve, layout) : PrintedChartSize(layout);
    const PrintedPage where = PrintedPageGeometry(page, chart);
    painter.save();
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.translate(where.Chart.topLeft());
    painter.scale(where.Chart.width() / chart.width(), where.Chart.height() / chart.height());
    if (curve.Lifetime) {
        PaintStrips(painter, curve, rec, layout, second);
    } else {
        PaintWhole(painter, curve, rec, layout, second, QRect(QPoint(0, 0), chart));
    }
    painter.restore();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (!banner.isNull()) painter.drawImage(where.Banner, banner);
    // A page given to a client names whom it is about.
    const double line = page.height() / 30;
    QString client = QString::fromStdString(ClientLine(rec));
    if (second && !second->NameB.empty()) client += QStringLiteral("　／　") + QString::fromStdString(second->NameB);
    PaintClientLine(painter, QRectF(0, where.Chart.bottom() + line / 2, page.width(), line), client);
}

}  // namespace qv::ui

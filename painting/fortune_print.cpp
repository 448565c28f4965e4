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

void PaintPrintedPage(QPainter& painter, QSizeF page, const FortuneCurve& curve, const ChartRecord& rec,
                      const CurveLayout& layout, const QImage& banner, const SecondSeries* second) {
    const QSize chart = PrintedChartSize(layout);
    const PrintedPage where = PrintedPageGeometry(page, chart);
    painter.save();
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.translate(where.Chart.topLeft());
    painter.scale(where.Chart.width() / chart.width(), where.Chart.height() / chart.height());
    PaintFortuneCurve(painter, curve, rec, layout, QRect(QPoint(0, 0), chart));
    if (second) PaintSecondSeries(painter, curve, *second, layout, QRect(QPoint(0, 0), chart));
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

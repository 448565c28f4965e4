#include "fortune_print.h"

#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <algorithm>

#include "data_paths.h"
#include "fortune_window.h"

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

QImage LoadBanner() { return QImage(BannerPicturePath()); }

void PaintPrintedPage(QPainter& painter, QSizeF page, const QImage& chart, const QImage& banner) {
    const PrintedPage where = PrintedPageGeometry(page, chart.size());
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(where.Chart, chart);
    if (!banner.isNull()) painter.drawImage(where.Banner, banner);
}

bool PrintChartTo(QPrinter& printer, const QImage& chart) {
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    const QSizeF page = printer.pageLayout().paintRectPixels(printer.resolution()).size();
    PaintPrintedPage(painter, page, chart, LoadBanner());
    return painter.end();
}

void PrintChart(CFortuneCurveWindow& window) {
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, &window);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    if (dialog.exec() != QDialog::Accepted) return;
    printer.setDocName(QString::fromUtf8(ReportDocumentName));
    PrintChartTo(printer, window.PrintPicture());  // the spooler reports its own failures
}

}  // namespace qv::ui

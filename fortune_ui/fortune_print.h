#pragma once
// Printing a fortune chart as a one-page report: the header banner across the
// top fifth of the page and the chart's picture stretched below it.
#include <QImage>
#include <QRectF>
#include <QString>

class QPainter;
class QPrinter;

namespace qv::ui {

class CFortuneCurveWindow;

inline constexpr int BannerWidth = 740;
inline constexpr int BannerHeight = 178;
inline constexpr const char* ReportDocumentName = "報表";

// Where the banner and the chart land on a page of size `page` (device units).
struct PrintedPage {
    QRectF Chart;
    QRectF Banner;
};
PrintedPage PrintedPageGeometry(QSizeF page, QSize chart);

// The one place that knows where the shipped banner picture lies.
QString BannerPicturePath();
// The banner, or a null image when it is missing (the page then has none).
QImage LoadBanner();

// Draws the report page: banner and chart, by PrintedPageGeometry.
void PaintPrintedPage(QPainter& painter, QSizeF page, const QImage& chart, const QImage& banner);

// Prints the picture on a printer set up already; false when the document
// could not be started.
bool PrintChartTo(QPrinter& printer, const QImage& chart);

// The whole job: the print dialog (printer, copies, print to file), then the page.
void PrintChart(CFortuneCurveWindow& window);

}  // namespace qv::ui

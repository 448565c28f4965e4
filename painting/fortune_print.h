#pragma once
// A fortune chart as a one-page report: the header banner across the top
// fifth of the page and the chart below it, drawn by the window's own painting
// at the page's resolution (its texts stay texts).
#include <QImage>
#include <QRectF>
#include <QString>

#include "fortune_curve.h"

class QPainter;

namespace qv::ui {

struct SecondSeries;

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

// The chart as the page holds it: the window's picture and two row units under it.
QSize PrintedChartSize(const CurveLayout& layout);

// Draws the report page: banner and chart, by PrintedPageGeometry, and the
// person's name and birth under the chart; a second person's series over it
// when given.
void PaintPrintedPage(QPainter& painter, QSizeF page, const FortuneCurve& curve, const ChartRecord& rec,
                      const CurveLayout& layout, const QImage& banner, const SecondSeries* second = nullptr);

}  // namespace qv::ui

#include "fortune_printer.h"

#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

#include "fortune_window.h"

namespace qv::ui {

bool PrintChartTo(QPrinter& printer, const FortuneCurve& curve, const ChartRecord& rec, const CurveLayout& layout,
                  const SecondSeries* second) {
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    const QSizeF page = printer.pageLayout().paintRectPixels(printer.resolution()).size();
    PaintPrintedPage(painter, page, curve, rec, layout, LoadBanner(), second);
    return painter.end();
}

void PrintChart(CFortuneCurveWindow& window) {
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, &window);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    if (dialog.exec() != QDialog::Accepted) return;
    printer.setDocName(QString::fromUtf8(ReportDocumentName));
    // The spooler reports its own failures.
    PrintChartTo(printer, window.Curve(), window.Record(), window.Layout(),
                 window.Second().Present ? &window.Second() : nullptr);
}

}  // namespace qv::ui

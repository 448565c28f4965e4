#pragma once
// Printing the report page of a fortune chart on a printer.
#include "fortune_print.h"

class QPrinter;

namespace qv::ui {

class CFortuneCurveWindow;

// Prints the chart on a printer set up already; false when the document
// could not be started.
bool PrintChartTo(QPrinter& printer, const FortuneCurve& curve, const ChartRecord& rec, const CurveLayout& layout,
                  const SecondSeries* second = nullptr);

// The whole job: the print dialog (printer, copies, print to file), then the page.
void PrintChart(CFortuneCurveWindow& window);

}  // namespace qv::ui

// The chart view's two costs a user waits for: a click on a cell or button
// (selection, Flow and its period analysis, one repaint of the page), and
// printing one chart to a PDF file.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPrinter>

#include "bench_support.h"
#include "chart_period.h"
#include "chart_view.h"
#include "offscreen_app.h"

namespace qv {
namespace {

std::unique_ptr<ChartRecord> ChartedForView(benchmark::State& state) {
    test::QtApp();
    auto rec = bench::ChartedSamplePerson(state);
    if (!rec) return nullptr;
    ClearPeriod(*rec);
    rec->Now = LocalDateTime{2026, 12, 7, 12, 0};
    return rec;
}

void Repaint(ChartRecord& rec, QImage& image) {
    QPainter painter(&image);
    ui::DrawChart(painter, rec, ui::ChartDrawContext{}, 1024, 768, ui::CQuorvaneView::PageLayout().side);
}

// kind 1: luck cells in turn; kind 2: year cells, paging the row; 3: the kind buttons in turn.
void ClickAndRepaint(benchmark::State& state, int what) {
    auto rec = ChartedForView(state);
    if (!rec) return;
    QImage image(1024, 768, QImage::Format_RGB32);
    if (what == 2) ChooseKind(*rec, YearKind);
    int n = 0;
    for (auto _ : state) {
        ++n;
        if (what == 3)
            ChooseKind(*rec, 1 + n % 2);
        else
            ChooseCell(*rec, n % 12, n % 2 == 0);
        Repaint(*rec, image);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK_CAPTURE(ClickAndRepaint, luck_cell, 1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ClickAndRepaint, year_cell, 2)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ClickAndRepaint, kind_button, 3)->Unit(benchmark::kMillisecond);

void PrintChartToPdf(benchmark::State& state) {
    auto rec = ChartedForView(state);
    if (!rec) return;
    ChooseCell(*rec, 4, true);
    const QString path = QDir::temp().filePath(QStringLiteral("quorvane-bench-chart.pdf"));
    for (auto _ : state) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        if (!ui::PrintChartOn(printer, *rec)) state.SkipWithError("cannot write the PDF");
    }
    QFile::remove(path);
}
BENCHMARK(PrintChartToPdf)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qv

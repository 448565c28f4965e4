// The fortune-curve window: opening the 120-year chart (values, scale, layout,
// first paint), a page step to the repainted window, and printing to a PDF file.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QImage>
#include <QPrinter>

#include "bench_support.h"
#include "engine/fortune/fortune.h"
#include "fortune_printer.h"
#include "fortune_window.h"
#include "offscreen_app.h"

namespace qv {
namespace {

std::unique_ptr<ChartRecord> CurvePerson(benchmark::State& state) {
    test::QtApp();
    auto rec = bench::ChartedSamplePerson(state);
    if (!rec) return nullptr;
    ComputeFortuneTables(*rec);
    return rec;
}

void OpenLifetimeChart(benchmark::State& state) {
    auto rec = CurvePerson(state);
    if (!rec) return;
    for (auto _ : state) {
        ui::FortuneCurve curve;
        ui::OpenCurve(curve, *rec, 1, ui::LuckCurve, true, ui::FortunePeriod{});
        ui::CFortuneCurveWindow window(*rec, curve);
        QImage image(window.size(), QImage::Format_RGB32);
        window.render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
}

void PageAndRepaint(benchmark::State& state, int mode) {
    auto rec = CurvePerson(state);
    if (!rec) return;
    ui::FortuneCurve curve;
    ui::OpenCurve(curve, *rec, 9, mode, false, ui::FortunePeriod{0, 2024, 6, true});
    ui::CFortuneCurveWindow window(*rec, curve);
    QImage image(window.size(), QImage::Format_RGB32);
    int direction = 1;
    for (auto _ : state) {
        if (!window.Page(direction)) {
            direction = -direction;
            window.Page(direction);
        }
        window.render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
}

void PrintToPdf(benchmark::State& state) {
    auto rec = CurvePerson(state);
    if (!rec) return;
    ui::FortuneCurve curve;
    ui::OpenCurve(curve, *rec, 1, ui::LuckCurve, true, ui::FortunePeriod{});
    ui::CFortuneCurveWindow window(*rec, curve);
    const QString path = QDir::temp().filePath(QStringLiteral("quorvane-bench-curve.pdf"));
    for (auto _ : state) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        printer.setDocName(QString::fromUtf8(ui::ReportDocumentName));
        benchmark::DoNotOptimize(ui::PrintChartTo(printer, window.Curve(), *rec, window.Layout()));
    }
    QFile::remove(path);
}

BENCHMARK(OpenLifetimeChart)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PageAndRepaint, ten_years, ui::TenYearCurve)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PageAndRepaint, months, ui::MonthCurve)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PageAndRepaint, days, ui::DayCurve)->Unit(benchmark::kMillisecond);
BENCHMARK(PrintToPdf)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qv

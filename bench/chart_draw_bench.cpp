// One repaint of the chart view: the whole chart of a person onto the 1024 x 768 page.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>

#include "bench_support.h"
#include "chart_draw.h"
#include "offscreen_app.h"

namespace qv {
namespace {

void DrawChartRepaint(benchmark::State& state, int kind) {
    test::QtApp();
    auto rec = bench::ChartedSamplePerson(state);
    if (!rec) return;
    rec->Flow = rec->Natal;
    rec->ChartKind = static_cast<int16_t>(kind);
    ui::ChartDrawContext context;
    context.todayYear = 2026, context.todayMonth = 12, context.todayDay = 7;
    rec->Period.Cell = static_cast<int16_t>(kind ? 3 : -1);
    rec->Period.Age = static_cast<int16_t>(rec->Natal.LuckStartAge + 30);
    QImage image(1024, 768, QImage::Format_RGB32);
    const int side = ui::ViewChartLayout(1024, 768).side;
    for (auto _ : state) {
        QPainter painter(&image);
        ui::DrawChart(painter, *rec, context, 1024, 768, side);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}

BENCHMARK_CAPTURE(DrawChartRepaint, natal, 0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(DrawChartRepaint, luck, 1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(DrawChartRepaint, year, 2)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qv

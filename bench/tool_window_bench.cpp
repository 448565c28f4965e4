// The tool windows on a 2560 x 1440 screen: opening one (layout, placement
// and its first paint) and repainting it at the scaled size.
#include <benchmark/benchmark.h>

#include <QImage>

#include "bench_support.h"
#include "flow_year_window.h"
#include "engine/fortune/fortune.h"
#include "fortune_window.h"
#include "offscreen_app.h"
#include "tool_window_place.h"

namespace qv {
namespace {

const QRect LargeScreen(0, 0, 2560, 1440);

template <typename Window>
void Paint(Window& window, QImage& image) {
    if (image.size() != window.size()) image = QImage(window.size(), QImage::Format_RGB32);
    window.render(&image);
    benchmark::DoNotOptimize(image.constBits());
}

std::unique_ptr<ChartRecord> Person(benchmark::State& state) {
    test::QtApp();
    ui::OverrideToolScreenArea(LargeScreen);
    auto rec = bench::ChartedSamplePerson(state);
    if (rec) ComputeFortuneTables(*rec);
    return rec;
}

// Argument 0: open (construct and paint once), 1: repaint the open window.
void FlowYearWindow(benchmark::State& state) {
    auto rec = Person(state);
    if (!rec) return;
    QImage image;
    ui::CFlowYearWnd open(*rec, {}, nullptr);
    for (auto _ : state) {
        if (state.range(0) == 0) {
            ui::CFlowYearWnd window(*rec, {}, nullptr);
            Paint(window, image);
        } else {
            Paint(open, image);
        }
    }
    state.counters["width"] = open.width();
    ui::OverrideToolScreenArea(std::nullopt);
}

void FortuneCurveWindow(benchmark::State& state) {
    auto rec = Person(state);
    if (!rec) return;
    ui::FortuneCurve curve;
    ui::OpenCurve(curve, *rec, 1, ui::TenYearCurve, false, ui::FortunePeriod{});
    QImage image;
    ui::CFortuneCurveWindow open(*rec, curve);
    for (auto _ : state) {
        if (state.range(0) == 0) {
            ui::CFortuneCurveWindow window(*rec, curve);
            Paint(window, image);
        } else {
            Paint(open, image);
        }
    }
    state.counters["width"] = open.width();
    ui::OverrideToolScreenArea(std::nullopt);
}

BENCHMARK(FlowYearWindow)->Arg(0)->Arg(1)->ArgName("repaint")->Unit(benchmark::kMillisecond);
BENCHMARK(FortuneCurveWindow)->Arg(0)->Arg(1)->ArgName("repaint")->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qv

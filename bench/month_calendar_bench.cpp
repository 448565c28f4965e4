// The perpetual calendar: paging to another month up to the repainted grid,
// and quorvane-cli calendar over every month of the table in one run.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>

#include "bench_support.h"
#include "calendar_paint.h"
#include "offscreen_app.h"
#include "paint_helpers.h"

namespace qv {
namespace {

// What Page Down costs: the month filled, then the window's grid painted at 1280 x 1000.
void BM_CalendarNextMonthRepainted(benchmark::State& state) {
    test::QtApp();
    if (bench::Table().FirstYear == 0) return state.SkipWithError("AInfo.tbl not built");
    ui::CalendarPicture picture;
    picture.Table = &bench::Table();
    picture.SelectedDay = 15;
    picture.Today = CivilDate{2026, 12, 9};
    QImage image(1280, 1000, QImage::Format_RGB32);
    int index = 2026 * 12;
    for (auto _ : state) {
        const int month = 1801 * 12 + (index++ - 1801 * 12) % 3600;
        FillMonthCalendar(bench::Table(), month / 12, month % 12 + 1, picture.Month);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::TextAntialiasing);
        ui::ScaleToLogicalPage(painter, ui::CalendarPageSize(), image.size());
        ui::PaintCalendar(painter, picture);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_CalendarNextMonthRepainted)->Unit(benchmark::kMillisecond);

void BM_FillMonthCalendar(benchmark::State& state) {
    if (bench::Table().FirstYear == 0) return state.SkipWithError("AInfo.tbl not built");
    MonthCalendar month;
    int index = 0;
    for (auto _ : state) {
        const int m = 1801 * 12 + index++ % 3600;
        benchmark::DoNotOptimize(FillMonthCalendar(bench::Table(), m / 12, m % 12 + 1, month));
    }
}
BENCHMARK(BM_FillMonthCalendar);

// quorvane-cli calendar, all 3 600 months 1801-01 … 2100-12 from stdin, text and JSON.
void CliAllMonths(benchmark::State& state, const char* options) {
    const std::string input = "/tmp/quorvane-bench-months.txt";
    std::FILE* f = std::fopen(input.c_str(), "w");
    if (!f) return state.SkipWithError("cannot write the input");
    for (int y = 1801; y <= 2100; ++y)
        for (int m = 1; m <= 12; ++m) std::fprintf(f, "%04d-%02d\n", y, m);
    std::fclose(f);
    const std::string command =
        std::string(QUORVANE_BIN_DIR "/quorvane-cli calendar ") + options + " <" + input + " >/dev/null";
    for (auto _ : state) {
        const int status = std::system(command.c_str());
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) state.SkipWithError("quorvane-cli calendar failed");
    }
    std::remove(input.c_str());
}
BENCHMARK_CAPTURE(CliAllMonths, text, "")->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK_CAPTURE(CliAllMonths, json, "--json")->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

}  // namespace
}  // namespace qv

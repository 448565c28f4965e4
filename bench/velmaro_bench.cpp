// The flow-year chart program: from process start to its window drawn (the
// month chart of the current year), a lifetime chart rendered to PNG as a
// whole process, and in-process the start-up up to the window shown.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QWindow>
#include <filesystem>
#include <unistd.h>

#include "chart_session.h"
#include "chart_window.h"
#include "offscreen_app.h"

namespace qv::bench {
namespace {

namespace fs = std::filesystem;

const std::string Person = "@/Y 1992 /M 2 /D 3 /h 7 /m 8 /S 0";

void TimeVelmaro(benchmark::State& state, const std::string& switches) {
    const std::string dir = fs::temp_directory_path() / ("velmaro-bench-" + std::to_string(getpid()));
    fs::create_directories(dir);
    const std::string command = "QT_QPA_PLATFORM=offscreen " + std::string(QUORVANE_BIN_DIR "/Velmaro --data-dir ") +
                                dir + " --render " + dir + "/w.png " + switches + " >/dev/null 2>&1";
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) state.SkipWithError("Velmaro failed");
    }
    fs::remove_all(dir);
}

void BM_VelmaroMonthChartWholeProcess(benchmark::State& state) { TimeVelmaro(state, Person + " /P 2 /T 1"); }
BENCHMARK(BM_VelmaroMonthChartWholeProcess)->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_VelmaroLifetimeRenderWholeProcess(benchmark::State& state) { TimeVelmaro(state, Person + " /P 0 /T 1 /F 1"); }
BENCHMARK(BM_VelmaroLifetimeRenderWholeProcess)->Unit(benchmark::kMillisecond)->Iterations(20);

bool WaitUntilExposed(QWidget& window) {
    QElapsedTimer clock;
    clock.start();
    while (!(window.windowHandle() && window.windowHandle()->isExposed()) && clock.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return window.windowHandle() && window.windowHandle()->isExposed();
}

// Start-up in the program's order, up to the month chart's window on show.
void BM_VelmaroStartToWindowShown(benchmark::State& state) {
    test::QtApp();
    chartprog::ChartRequest request;
    request.Year = 1992, request.Month = 2, request.Day = 3, request.Hour = 7, request.Minute = 8;
    request.Mode = 2, request.Category = 1;
    const std::string dir = fs::temp_directory_path() / ("velmaro-bench-" + std::to_string(getpid()));
    // In-process the shipped folder is the benchmark's own: the built table goes where a user's override lies.
    fs::create_directories(dir + "/program");
    fs::copy_file(std::string(QUORVANE_BIN_DIR "/AInfo.tbl"), dir + "/program/AInfo.tbl",
                  fs::copy_options::overwrite_existing);
    for (auto _ : state) {
        chartprog::ChartSession session;
        if (const Result loaded = session.LoadData(dir); !loaded.Ok) {
            state.SkipWithError(loaded.Detail.c_str());
            break;
        }
        session.Chart(request);
        const auto window = chartprog::MakeChartWindow(session, request);
        window->show();
        if (!WaitUntilExposed(*window)) state.SkipWithError("window not shown");
    }
    fs::remove_all(dir);
}
BENCHMARK(BM_VelmaroStartToWindowShown)->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace
}  // namespace qv::bench

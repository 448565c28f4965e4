// Start-up of the window program to the first chart shown, with a records
// file of 1000 persons and the logo skipped (offscreen), and one repaint of
// the chart view.
#include <benchmark/benchmark.h>

#include <QAbstractButton>
#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <filesystem>
#include <unistd.h>

#include "bench_support.h"
#include "chart_view.h"
#include "main_frame.h"
#include "offscreen_app.h"
#include "person_entry.h"
#include "person_text.h"
#include "query_dialog.h"
#include "records_file.h"

namespace qv::bench {
namespace {

namespace fs = std::filesystem;

// A data root with the built solar-term table and 1000 persons, made once and
// removed when the benchmarks end.
struct BenchRoot {
    std::string Dir;
    ~BenchRoot() {
        std::error_code ec;
        fs::remove_all(Dir, ec);
    }
};

const std::string& ThousandPersonRoot() {
    static const BenchRoot root{[] {
        const std::string dir = fs::temp_directory_path() / ("quorvane-startup-bench-" + std::to_string(getpid()));
        fs::create_directories(dir + "/program");
        fs::copy_file(std::string(QUORVANE_BIN_DIR "/AInfo.tbl"), dir + "/program/AInfo.tbl",
                      fs::copy_options::overwrite_existing);
        std::vector<PersonRecord> people;
        for (const Moment& m : RandomMoments(1000)) {
            PersonRecord r{};
            StorePersonTexts(PersonTexts{"測試" + std::to_string(people.size()), "台北市", "", ""}, r);
            BirthEntry e;
            e.Year = std::clamp(m.Year, EntryFirstYear + 1, EntryLastYear), e.Month = m.Month, e.Day = 1;
            e.Hour = m.Hour, e.Minute = m.Minute;
            FillBirth(e, 1, r);
            people.push_back(r);
        }
        AppendRecords(MainRecordsPath(ResolveDataPaths(dir)), people);
        return dir;
    }()};
    return root.Dir;
}

// Chooses the first name of the query dialog as soon as it is up.
void AnswerQueryWithFirstName() {
    auto* timer = new QTimer(&test::QtApp());
    QObject::connect(timer, &QTimer::timeout, [timer] {
        auto* query = qobject_cast<ui::PersonQueryDialog*>(QApplication::activeModalWidget());
        if (!query) return;
        timer->stop();
        timer->deleteLater();
        query->accept();
    });
    timer->start(1);
}

void StartupToFirstChart(benchmark::State& state) {
    test::QtApp();
    if (Table().FirstYear == 0) {
        state.SkipWithError("AInfo.tbl not built");
        return;
    }
    const std::string& root = ThousandPersonRoot();
    for (auto _ : state) {
        ui::CQuorvaneApp app;
        if (const Result started = app.Initialize(ui::StartOptions{root, false}); !started.Ok) {
            state.SkipWithError(started.Detail.c_str());
            return;
        }
        ui::CMainFrame frame(app);
        frame.resize(1024, 768);
        frame.show();
        AnswerQueryWithFirstName();
        frame.PostStartup(false);
        while (!app.chartShown) QApplication::processEvents(QEventLoop::AllEvents, 1);
        frame.View()->viewport()->repaint();
    }
}
BENCHMARK(StartupToFirstChart)->Unit(benchmark::kMillisecond);

void ChartViewRepaint(benchmark::State& state) {
    test::QtApp();
    if (Table().FirstYear == 0) {
        state.SkipWithError("AInfo.tbl not built");
        return;
    }
    ui::CQuorvaneApp app;
    app.Initialize(ui::StartOptions{ThousandPersonRoot(), false});
    ui::CMainFrame frame(app);
    frame.resize(1024, 768);
    frame.show();
    AnswerQueryWithFirstName();
    app.Execute(ui::ID_QUERY_PERSON);
    for (auto _ : state) frame.View()->viewport()->repaint();
}
BENCHMARK(ChartViewRepaint)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qv::bench

// Potential values of a full table (255 abilities) for one chart block,
// loading and checking the full table file, and one paint of the potential
// window in each style.
#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QImage>
#include <QPdfWriter>
#include <QPainter>

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <random>

#include "offscreen_app.h"
#include "engine/fortune/potential.h"
#include "potential_file.h"
#include "potential_paint.h"
#include "tool_window_place.h"

namespace qv {
namespace {

// Seven categories of 32 abilities and one of 31, each ability three
// elements and four ten gods, the most the dialogs allow.
std::unique_ptr<PotentialTable> FullTable() {
    auto t = std::make_unique<PotentialTable>();
    ResetPotentialTable(*t);
    std::mt19937 rng(3);
    for (int c = 0; c < 8; ++c) AddPotentialCategory(*t, static_cast<int>(rng() % 101), c == 7 ? 31 : 32);
    for (int i = 0; i < MaxPotentialItems; ++i) {
        PotentialItem& item = t->Items[i];
        for (int k = 0; k < 3; ++k) item.ElementMask |= ElementBit(static_cast<int>(rng() % 5));
        for (int k = 0; k < 4; ++k) item.TenGodMask |= TenGodBit(static_cast<int>(rng() % 10));
    }
    return t;
}

ChartBlock IndexedBlock() {
    ChartBlock b{};
    std::mt19937 rng(9);
    for (int16_t& v : b.ElementIndex) v = static_cast<int16_t>(20 + rng() % 90);
    for (int16_t& v : b.TenGodIndex) v = static_cast<int16_t>(20 + rng() % 90);
    return b;
}

void BM_ComputePotentials255(benchmark::State& state) {
    const auto table = FullTable();
    const ChartBlock block = IndexedBlock();
    int16_t out[PotentialIndexSize];
    for (auto _ : state) {
        ComputePotentials(out, block, table.get());
        benchmark::DoNotOptimize(out);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ComputePotentials255);

void BM_LoadPotentialTableFile(benchmark::State& state) {
    char dir[] = "/tmp/quorvane-bench-XXXXXX";
    const std::string folder = mkdtemp(dir) ? dir : "/tmp";
    const std::string path = folder + "/EngyInfo.tbl";
    std::ofstream(path, std::ios::binary) << EncodePotentialTable(*FullTable());
    auto table = std::make_unique<PotentialTable>();
    for (auto _ : state) {
        const Result r = LoadPotentialTable(path, *table);
        if (!r.Ok) state.SkipWithError(r.Detail.c_str());
        benchmark::DoNotOptimize(table->ItemTotal);
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_LoadPotentialTableFile)->Unit(benchmark::kMicrosecond);

// What a paint of the window does: the picture of the first (full) category
// from the record, then the style into an image of the window's drawing
// size on a 1280 x 1024 screen. Arguments: the style, and 1 to compare with
// a year's scores.
void BM_PaintPotentialStyle(benchmark::State& state) {
    test::QtApp();
    const auto table = FullTable();
    auto rec = std::make_unique<ChartRecord>();
    std::mt19937 rng(5);
    for (auto& block : rec->PotentialIndex)
        for (int16_t& v : block) v = static_cast<int16_t>(rng() % 99);
    rec->ChartKind = static_cast<int16_t>(state.range(1) ? 2 : 0);
    const int style = static_cast<int>(state.range(0));
    const ui::FrameMetrics frame;
    const ui::PotentialLayout layout =
        ui::LayoutPotentialWindow(QSize(1280, 1024), frame, table->Categories[0].ItemCount, style, false);
    QImage image(ui::PotentialDrawingSize(layout, frame), QImage::Format_RGB32);
    for (auto _ : state) {
        const ui::PotentialPicture picture = ui::MakePotentialPicture(*table, *rec, 0, style, layout);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::TextAntialiasing);
        ui::DrawPotentialWindow(painter, picture, image.size());
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_PaintPotentialStyle)
    ->ArgsProduct({benchmark::CreateDenseRange(0, ui::PotentialStyleCount - 1, 1), {0, 1}})
    ->ArgNames({"style", "compare"})
    ->Unit(benchmark::kMillisecond);

// The window of a 1024 x 768 screen in style 1, comparing with a year's
// scores, over the full table.
struct ComparingWindow {
    bool AppStarted = (test::QtApp(), true);  // the frame metrics need the application's fonts
    std::unique_ptr<PotentialTable> Table = FullTable();
    std::unique_ptr<ChartRecord> Record = std::make_unique<ChartRecord>();
    ui::FrameMetrics Frame;
    ui::PotentialLayout Layout;
    ComparingWindow() {
        Record->ChartKind = 2;
        Layout = ui::LayoutPotentialWindow(QSize(1024, 768), Frame, Table->Categories[0].ItemCount, 1, false);
    }
    ui::PotentialPicture Picture() const { return ui::MakePotentialPicture(*Table, *Record, 0, 1, Layout); }
};

// A repaint of the potential window on a 2560 x 1440 screen: the layout of
// 1024 x 768 scaled by 1.875 (style 1, comparing with a year).
void BM_PaintPotentialWindowLarge(benchmark::State& state) {
    const ComparingWindow window;
    const QSize drawing = ui::PotentialDrawingSize(window.Layout, window.Frame);
    const double scale = ui::ScreenScale(QSize(2560, 1440));
    QImage image(drawing * scale, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::TextAntialiasing);
        painter.scale(scale, scale);
        ui::DrawPotentialWindow(painter, window.Picture(), drawing);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_PaintPotentialWindowLarge)->Unit(benchmark::kMillisecond);

// The printed page of the potential window (style 1, comparing), drawn onto
// an A4 PDF page at 1200 dots to the inch.
void BM_PrintPotentialPageToPdf(benchmark::State& state) {
    const ComparingWindow window;
    for (auto _ : state) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setResolution(1200);
        QPainter painter(&writer);
        ui::PaintPotentialPage(painter, QSizeF(writer.width(), writer.height()), window.Picture());
        painter.end();
        benchmark::DoNotOptimize(bytes.size());
    }
}
BENCHMARK(BM_PrintPotentialPageToPdf)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qv

// The fortune-curve window drawn and driven: bars where values are, the keys,
// and the printed page's geometry and PDF output.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QPrinter>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest/QTest>

#include "charted_curve.h"
#include "engine/fortune/fortune.h"
#include "fortune_paint.h"
#include "fortune_printer.h"
#include "fortune_window.h"
#include "paint_helpers.h"
#include "tool_window_place.h"
#include "engine/fortune/levels.h"
#include "picture_export.h"
#include "offscreen_app.h"
#include "pdf_checks.h"
#include "run_program.h"

namespace qv::test {
namespace {

using namespace qv::ui;

using FortuneWindowTest = ChartedCurveTest;

// The colour in the middle of bar i, a few pixels off the base line.
QColor BarColour(const QImage& image, const FortuneCurve& c, const CurveLayout& l, int i) {
    const int x = l.BarsLeft + i * l.Unit + l.Unit / 2;
    const int length = BarLength(c.Bars[i].Value, c.Axis, l.HalfSpan);
    const int y = l.BaseY - (length > 0 ? std::min(length, 4) - 1 : std::max(length, -4) + 2);
    return image.pixelColor(x, y);
}

TEST_F(FortuneWindowTest, BarsStandWhereValuesAreInTheirLevelColours) {
    // The year of birth: the birth falls in the 寅 month, so every month has a bar.
    const FortuneCurve c = Open(1, MonthCurve, FortunePeriod{-1, 1990, 1, false});
    const CurveLayout l = LayoutCurve(c, 1024, 768);
    const QImage image = CurvePicture(c, *rec_, l);
    ASSERT_EQ(image.size(), QSize(l.Width, l.Depth + 2 * l.RowUnit));
    int bars = 0;
    for (int i = 0; i < c.Count; ++i) {
        const int value = c.Bars[i].Value;
        if (value == UnbornValue || std::abs(BarLength(value, c.Axis, l.HalfSpan)) < 4) continue;
        EXPECT_EQ(BarColour(image, c, l, i), LevelColor(LevelOf(value, 10))) << i;
        ++bars;
    }
    EXPECT_GE(bars, 6);
    // The level colours run from red to navy.
    EXPECT_EQ(LevelColor(0), QColor(255, 0, 0));
    EXPECT_EQ(LevelColor(5), QColor(255, 255, 0));
    EXPECT_EQ(LevelColor(8), QColor(0, 200, 255));
    EXPECT_EQ(LevelColor(11), QColor(0, 0, 128));
    EXPECT_EQ(LevelColor(NoLevel), CurveBackground);
    // The year before: all twelve months lie before the birth and draw nothing.
    const FortuneCurve before = Open(1, MonthCurve, FortunePeriod{-1, 1989, 1, false});
    const QImage empty = CurvePicture(before, *rec_, l);
    for (int i = 0; i < before.Count; ++i) {
        ASSERT_EQ(before.Bars[i].Value, UnbornValue);
        const int x = l.BarsLeft + i * l.Unit + l.Unit / 2;
        EXPECT_EQ(empty.pixelColor(x, l.BaseY - 20), CurveBackground) << i;
        EXPECT_EQ(empty.pixelColor(x, l.BaseY + 20), CurveBackground) << i;
    }
}

TEST_F(FortuneWindowTest, PageKeysStepAndPrintKeysPrint) {
    CFortuneCurveWindow window(*rec_, Open(9, DayCurve, FortunePeriod{-1, 2024, 2, false}));
    EXPECT_EQ(window.size(), QSize(window.Layout().Width, window.Layout().Depth));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("流年運勢圖"));
    int printed = 0;
    window.SetPrinter([&](CFortuneCurveWindow&) { ++printed; });
    QTest::keyClick(&window, Qt::Key_PageDown);
    EXPECT_EQ(window.Curve().Period.Month, 3);
    EXPECT_EQ(window.Curve().Count, 31);
    QTest::keyClick(&window, Qt::Key_PageUp);
    QTest::keyClick(&window, Qt::Key_PageUp);
    EXPECT_EQ(window.Curve().Period.Month, 1);
    QTest::keyClick(&window, Qt::Key_PageUp);  // not below January
    EXPECT_EQ(window.Curve().Period.Month, 1);
    QTest::keyClick(&window, Qt::Key_P);
    QTest::keyClick(&window, Qt::Key_F1);
    EXPECT_EQ(printed, 2);
    // The window shows what the painting draws (kept for a look at it).
    const QImage shot = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    shot.save(QDir::temp().filePath(QStringLiteral("quorvane-fortune-window.png")));
    EXPECT_EQ(shot, CurvePicture(window.Curve(), *rec_, window.Layout()).copy(window.rect()));
}

TEST_F(FortuneWindowTest, AResizedWindowDrawsTheChartScaledAndSavesItAsAPicture) {
    CFortuneCurveWindow window(*rec_, Open(1, MonthCurve, FortunePeriod{-1, 1990, 1, false}));
    const CurveLayout l = window.Layout();
    window.resize(2 * l.Width, 2 * l.Depth);
    const QImage shot = window.grab().toImage();
    const QImage laidOut = CurvePicture(window.Curve(), *rec_, l);
    int bars = 0;
    for (int i = 0; i < window.Curve().Count; ++i) {
        const int value = window.Curve().Bars[i].Value;
        const int length = BarLength(value, window.Curve().Axis, l.HalfSpan);
        if (value == UnbornValue || std::abs(length) < 6) continue;
        const int x = l.BarsLeft + i * l.Unit + l.Unit / 2, y = l.BaseY - length / 2;  // the bar's middle
        EXPECT_EQ(shot.pixelColor(2 * x + 1, 2 * y + 1), laidOut.pixelColor(x, y)) << i;
        ++bars;
    }
    EXPECT_GE(bars, 6);
    // S saves what it shows, drawn: a PDF of texts and lines.
    QTemporaryDir dir;
    const std::string pdf = dir.filePath(QStringLiteral("curve.pdf")).toStdString();
    SetPictureChooser([&](int) { return std::optional<PictureChoice>({pdf, 0}); });
    QTest::keyClick(&window, Qt::Key_S);
    SetPictureChooser({});
    ExpectVectorPdf(pdf, 0, "運勢圖");
}

// The 120 years on the screens of today: every value, feeling and pillar
// within its slot, the row lines apart, the screen's width used, and scrolling
// where even that is too narrow.
TEST_F(FortuneWindowTest, TheLifetimeChartKeepsEveryLabelInItsSlot) {
    FortuneCurve c;
    ASSERT_TRUE(OpenCurve(c, *rec_, 1, LuckCurve, true, FortunePeriod{}));
    struct Screen {
        int Width, Height;
        bool Scrolls;
    } const screens[] = {{1024, 768, true}, {1366, 768, true}, {2560, 1440, false}};
    for (const Screen& k : screens) {
        const CurveLayout l = LayoutCurve(c, k.Width, k.Height);
        const QFontMetrics metrics(MakeChartFont(0, l.RowFontSize, 400)), values(MakeChartFont(0, l.ValueFontSize, 400));
        EXPECT_GE(l.Unit, 16) << k.Width;
        EXPECT_GE(l.ValueFontSize, 14) << k.Width;  // the values as large as the chart's headings
        EXPECT_EQ(l.Width > k.Width, k.Scrolls) << k.Width;
        if (!k.Scrolls) {
            EXPECT_GE(l.Width, k.Width * 9 / 10);
        }
        for (const char* value : {"-120", "-57", "100", "8"}) {
            const QString text = QString::fromUtf8(value);
            if (l.ValueTurned) {
                EXPECT_LE(values.tightBoundingRect(text).height(), l.Unit - 2) << k.Width << " " << value;
                EXPECT_LE(values.horizontalAdvance(text), l.ValueLines * l.LineHeight) << value;
            } else {
                EXPECT_LE(values.horizontalAdvance(text), l.Unit) << k.Width << " " << value;
            }
        }
        // Feelings and pillars stand one character a line: each within the slot, lines not overlapping.
        for (const char* word : {"變", "優", "甲", "亥"}) {
            const QRect ink = metrics.tightBoundingRect(QString::fromUtf8(word));
            EXPECT_LE(ink.width(), l.Unit - 2) << k.Width << " " << word;
            EXPECT_LT(ink.height(), l.LineHeight) << k.Width << " " << word;
        }
        EXPECT_GE(RowHeight(l, l.FeelingLines), 3 * l.LineHeight);
    }
    // On a small screen the window is as wide as the screen and scrolls to the last year.
    OverrideToolScreenArea(QRect(0, 0, 1024, 768));
    CFortuneCurveWindow window(*rec_, c);
    OverrideToolScreenArea(std::nullopt);
    EXPECT_LE(window.frameGeometry().width(), 1024);
    const auto* bar = window.findChild<QScrollBar*>(QStringLiteral("yearScrollBar"));
    ASSERT_NE(bar, nullptr);
    EXPECT_FALSE(bar->isHidden());
    // The title's dark ink stands in the middle of the window's title band, on opening and scrolled to the end.
    auto titleInk = [&] {
        const QImage shot = window.grab().toImage();
        const int band = int(window.Layout().TitleHeight * window.ChartToWindow().m11());
        int ink = 0;
        for (int y = 0; y < band; ++y)
            for (int x = shot.width() / 3; x < 2 * shot.width() / 3; ++x) ink += qGray(shot.pixel(x, y)) < 100;
        return ink;
    };
    EXPECT_GT(titleInk(), 20);
    QTest::keyClick(&window, Qt::Key_End);
    EXPECT_GT(titleInk(), 20);
    // The row headings stay at the left edge: the heading column's blue under the last years.
    const double scale = window.ChartToWindow().m11();
    const QPoint heading(int(window.Layout().BarsLeft * scale / 4), int((window.Layout().RowsTop + 3) * scale));
    EXPECT_EQ(window.grab().toImage().pixelColor(heading), QColor(150, 150, 255));
    const QPointF lastSlot = window.ChartToWindow().map(QPointF(window.Layout().BarsLeft + 119.5 * window.Layout().Unit, 0));
    EXPECT_GT(lastSlot.x(), 0);
    EXPECT_LT(lastSlot.x(), window.width());
}

// Printed, the 120 years stand as two strips of sixty, each beside its row headings.
TEST_F(FortuneWindowTest, TheLifetimePagePrintsTwoStripsOfYears) {
    FortuneCurve c;
    ASSERT_TRUE(OpenCurve(c, *rec_, 1, LuckCurve, true, FortunePeriod{}));
    const CurveLayout l = LayoutCurve(c, 1024, 768);
    QImage page(827, 1169, QImage::Format_RGB32);  // A4 at 100 dpi
    page.fill(Qt::white);
    QPainter painter(&page);
    PaintPrintedPage(painter, page.size(), c, *rec_, l, QImage());
    painter.end();
    // Down the heading column: the three row headings (感受, 干支, 歲) twice, each a run of their blue.
    const int x = 30;
    int runs = 0;
    for (int y = 1; y < page.height(); ++y)
        runs += page.pixelColor(x, y) == QColor(150, 150, 255) && page.pixelColor(x, y - 1) != QColor(150, 150, 255);
    EXPECT_EQ(runs, 6);
}

TEST(PrintedPageTest, WideChartIsLimitedByThePageWidth) {
    // The lifetime chart on an A4 page at 600 dpi.
    const QSizeF page(4960, 7016);
    const PrintedPage p = PrintedPageGeometry(page, QSize(952, 596));
    EXPECT_DOUBLE_EQ(p.Chart.width(), 4960);
    EXPECT_DOUBLE_EQ(p.Chart.left(), 0);
    EXPECT_DOUBLE_EQ(p.Chart.top(), 7016 / 5.0);
    EXPECT_NEAR(p.Chart.height(), 596 * 4960 / 952.0, 1e-9);
    // g = min(4960 / 952, 1403.2 / 178): the banner keeps its 740 x 178 proportions.
    const double g = 4960 / 952.0;
    EXPECT_NEAR(p.Banner.width(), 740 * g, 1e-9);
    EXPECT_NEAR(p.Banner.height(), 178 * g, 1e-9);
    EXPECT_NEAR(p.Banner.left(), (4960 - 740 * g) / 2, 1e-9);
    EXPECT_NEAR(p.Banner.top(), (7016 / 5.0 - 178 * g) / 2, 1e-9);
    EXPECT_LE(p.Banner.bottom(), p.Chart.top());
}

TEST(PrintedPageTest, ShortChartIsLimitedBySeventyPercentOfTheDepth) {
    // A landscape page and a tall picture: 0.7 · 1000 / 600 < 1400 / 400.
    const PrintedPage p = PrintedPageGeometry(QSizeF(1400, 1000), QSize(400, 600));
    EXPECT_NEAR(p.Chart.height(), 700, 1e-9);
    EXPECT_NEAR(p.Chart.width(), 400 * 700 / 600.0, 1e-9);
    EXPECT_NEAR(p.Chart.left(), (1400 - p.Chart.width()) / 2, 1e-9);
    EXPECT_DOUBLE_EQ(p.Chart.top(), 200);
    const double g = 200.0 / 178;  // the fifth of the depth is the smaller limit
    EXPECT_NEAR(p.Banner.height(), 200, 1e-9);
    EXPECT_NEAR(p.Banner.width(), 740 * g, 1e-9);
    EXPECT_NEAR(p.Banner.top(), 0, 1e-9);
}

TEST_F(FortuneWindowTest, PrintsToAPdfFileWithoutAPrinter) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("chart.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setDocName(QString::fromUtf8(ReportDocumentName));
    CFortuneCurveWindow window(*rec_, Open(1, TenYearCurve, FortunePeriod{}));
    ASSERT_TRUE(PrintChartTo(printer, window.Curve(), *rec_, window.Layout()));
    // Drawn, not pictured: the banner alone is a picture (the values in its text are the picture command's test).
    ExpectVectorPdf(path.toStdString(), QFile::exists(BannerPicturePath()) ? 1 : 0, "運勢圖");
}

}  // namespace
}  // namespace qv::test

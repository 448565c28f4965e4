// The windows of two persons as a user meets them: 命盤對照 and 擇日 from the
// 視窗 menu over the records file, and a second person on the fortune curves.
#include <QImage>
#include <QPrinter>
#include <QTableWidget>
#include <QTemporaryDir>

#include "best_days_window.h"
#include "calendar_window.h"
#include "comparison_window.h"
#include "fortune_print.h"
#include "fortune_window.h"
#include "pdf_checks.h"
#include "picture_export.h"
#include "shell_fixture.h"
#include "tool_window_place.h"

namespace qv::test {
namespace {

using namespace qv::ui;

class TwoPersonWindowsTest : public ShellTest {
protected:
    // Two persons stored, the first on show.
    void StartWithTwo() {
        StartShowing({StoredPerson("王小明", 1980, 6, 15, 10, 30, 1), StoredPerson("陳美玲", 1984, 2, 3, 7, 8, 0)});
    }
    CComparisonWnd& OpenComparison() {
        AnswerQuery(1);
        ChooseCommand(*frame_, ID_COMPARISON_WINDOW);
        if (!frame_->ComparisonWindow()) throw std::runtime_error("no comparison window");
        return *frame_->ComparisonWindow();
    }
    // Pixels of about that colour in the picture (edges are blended).
    static int Count(const QImage& image, QColor colour, int near = 0) {
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                n += std::abs(c.red() - colour.red()) + std::abs(c.green() - colour.green()) +
                         std::abs(c.blue() - colour.blue()) <= near;
            }
        return n;
    }
};

TEST_F(TwoPersonWindowsTest, ComparisonShowsTheCurrentAndTheChosenPersonAndFitsEveryScreen) {
    StartWithTwo();
    CComparisonWnd& w = OpenComparison();
    EXPECT_FALSE(w.isModal());
    EXPECT_EQ(NameOf(w.Sheet().A->Person), "王小明");
    EXPECT_EQ(NameOf(w.Sheet().B->Person), "陳美玲");
    EXPECT_NE(w.Sheet().CaptionA.find("王小明"), std::string::npos);
    EXPECT_NE(w.windowTitle().indexOf(QStringLiteral("陳美玲")), -1);
    // Hand-worked: 1980-06-15 10:30 is a 庚申 year, 1984-02-03 07:08 still 癸亥 (before 立春 at 23:19 of 4 Feb).
    EXPECT_EQ(w.Sheet().Found.ZodiacA, 8);  // 申
    EXPECT_EQ(w.Sheet().Found.ZodiacB, 11);  // 亥
    // The chart on show is untouched by the second person's charting.
    EXPECT_EQ(NameOf(app_->Record().Person), "王小明");

    // 乙方 chosen anew: the first person again beside itself.
    AnswerQuery(0);
    Click(w, "choosePersonB");
    EXPECT_EQ(NameOf(w.Sheet().B->Person), "王小明");
    EXPECT_EQ(w.Sheet().Found.ZodiacB, 8);

    // Inked across the canvas, not left white below the tables.
    const QImage shot = w.Canvas()->grab().toImage();
    EXPECT_LT(Count(shot.copy(0, shot.height() / 2, shot.width(), shot.height() / 2), QColor(Qt::white)),
              shot.width() * shot.height() / 2);

    // Exported through the picture dialog, offering both names; printed as PDF text.
    QTemporaryDir dir;
    const std::string png = dir.filePath(QStringLiteral("pair.png")).toStdString();
    SetPictureChooser([&](int width) { return std::optional<PictureChoice>({png, width}); });
    Click(w, "exportButton");
    SetPictureChooser({});
    EXPECT_EQ(QImage(QString::fromStdString(png)).width(), 2 * ComparisonWidth);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(QStringLiteral("pair.pdf")));
    ASSERT_TRUE(w.PrintOn(printer));
    ExpectVectorPdf(dir.filePath(QStringLiteral("pair.pdf")).toStdString(), 0, "命盤對照");

    QTest::keyClick(&w, Qt::Key_Escape);
    EXPECT_TRUE(WaitUntil([&] { return frame_->ComparisonWindow() == nullptr; }));

    for (const QRect screen : {QRect(0, 0, 1024, 768), QRect(0, 0, 1366, 768), QRect(0, 0, 2560, 1440)}) {
        OverrideToolScreenArea(screen);
        CComparisonWnd& sized = OpenComparison();
        EXPECT_TRUE(screen.contains(sized.geometry().marginsAdded(ToolWindowFrame(sized)))) << screen.width();
        EXPECT_TRUE(screen.width() < 2560 || sized.Canvas()->width() > 1500) << sized.Canvas()->width();
        sized.close();
        EXPECT_TRUE(WaitUntil([&] { return frame_->ComparisonWindow() == nullptr; }));
    }
    OverrideToolScreenArea(std::nullopt);
}

TEST_F(TwoPersonWindowsTest, BestDaysListBothPersonsClashesLastAndOpenTheCalendarDay) {
    StartWithTwo();
    ChooseCommand(*frame_, ID_BEST_DAYS_WINDOW);
    ASSERT_NE(frame_->BestDaysWindow(), nullptr);
    CBestDaysWnd& w = *frame_->BestDaysWindow();
    w.SetRange(CivilDate{2030, 1, 1}, CivilDate{2030, 12, 31});
    ASSERT_TRUE(w.Listed());
    EXPECT_EQ(w.Days().Count, 365);
    EXPECT_TRUE(w.Table()->isColumnHidden(6));
    AnswerQuery(1);
    Click(w, "choosePersonB");
    EXPECT_FALSE(w.Table()->isColumnHidden(6));
    // The ranking itself is the best-days command's test; the table shows it, clashes marked last.
    const BestDays& d = w.Days();
    ASSERT_EQ(d.Count, 365);
    ASSERT_EQ(w.Table()->rowCount(), 365);
    EXPECT_TRUE(d.Days[d.Count - 1].Clash);
    EXPECT_TRUE((w.Table()->item(d.Count - 1, 5)->text() + w.Table()->item(d.Count - 1, 7)->text()).contains(u'沖'));

    // Enter on a row opens that day on the perpetual calendar.
    w.Table()->setFocus();
    w.Table()->setCurrentCell(3, 1);
    QTest::keyClick(w.Table(), Qt::Key_Return);
    ASSERT_NE(frame_->CalendarWindow(), nullptr);
    const CalendarPicture& shown = frame_->CalendarWindow()->Picture();
    EXPECT_EQ((CivilDate{shown.Month.Year, shown.Month.Month, shown.SelectedDay}), d.Days[3].Date);
    EXPECT_TRUE(app_->calendarWindowOpen);

    // More than a year lists nothing and says why.
    w.SetRange(CivilDate{2030, 1, 1}, CivilDate{2031, 1, 2});
    EXPECT_FALSE(w.Listed());
    EXPECT_EQ(w.Table()->rowCount(), 0);
    Click(w, "dropPersonB");
    EXPECT_TRUE(w.Table()->isColumnHidden(6));
}

TEST_F(TwoPersonWindowsTest, SecondPersonOnTheLifetimeCurveByKeyAndOnItsPrintedPage) {
    StartWithTwo();
    WhenModal<CFortuneCurveWindow>([](CFortuneCurveWindow& curve) {
        EXPECT_TRUE(curve.TakesSecond());
        AnswerQuery(1);
        QTest::keyClick(&curve, Qt::Key_W);
        const SecondSeries& s = curve.Second();
        EXPECT_TRUE(s.Present);
        EXPECT_EQ(s.NameA, "王小明");
        EXPECT_EQ(s.NameB, "陳美玲");
        // The lifetime bars are the first person's years from 1980; the second,
        // born on 3 February 1984 before 立春, has her first year in 1983.
        for (int i = 0; i < 10; ++i) EXPECT_EQ(s.Drawn[i], i >= 3) << i;
        // The printed page carries the second line; without it, none of its colour.
        QImage with(1700, 2200, QImage::Format_RGB32), without(1700, 2200, QImage::Format_RGB32);
        for (auto [image, series] : {std::pair{&with, &s}, std::pair{&without, static_cast<const SecondSeries*>(nullptr)}}) {
            image->fill(Qt::white);
            QPainter p(image);
            PaintPrintedPage(p, QSizeF(image->size()), curve.Curve(), curve.Record(), curve.Layout(), QImage(), series);
        }
        EXPECT_GT(Count(with, QColor(120, 0, 160), 60), Count(without, QColor(120, 0, 160), 60) + 100);
        curve.DropSecond();
        EXPECT_FALSE(curve.Second().Present);
        curve.close();
    });
    ChooseCommand(*frame_, ID_FORTUNE_LIFETIME_BASE + 0);

    // The months of a year are not by years: no second person there.
    WhenModal<CFortuneCurveWindow>([](CFortuneCurveWindow& curve) {
        EXPECT_FALSE(curve.TakesSecond());
        EXPECT_FALSE(curve.ShowSecond(std::make_unique<ChartRecord>()));
        curve.close();
    });
    ChooseCommand(*frame_, ID_FORTUNE_MONTH_BASE + 0);
}

}  // namespace
}  // namespace qv::test

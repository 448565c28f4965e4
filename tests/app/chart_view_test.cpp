// The chart view as a user clicks it: the kind buttons and the period row with
// either mouse button, the hand cursor, the help strip, printing, and the
// flow-year window, all through the real widgets.
#include <QDesktopServices>
#include <QMouseEvent>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QUrl>
#include <cstring>
#include <functional>
#include <tuple>

#include "chart_period.h"
#include "flow_year_window.h"
#include "fortune_window.h"
#include "paint_helpers.h"
#include "pdf_checks.h"
#include "person_dialog.h"
#include "picture_export.h"
#include "potential_window.h"
#include "shell_fixture.h"
#include "tool_window_place.h"

namespace qv::test {

// Takes the URLs the program asks the desktop to open.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    UrlCatcher() { QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "Open"); }
    ~UrlCatcher() override { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }
    QList<QUrl> Opened;
public slots:
    void Open(const QUrl& url) { Opened << url; }
};

namespace {

using namespace qv::ui;

class ChartViewTest : public ShellTest {
protected:
    // 1990-02-04 09:05, male (lunar 1990, luck from age 11), charted through the query.
    void SetUp() override {
        ShellTest::SetUp();
        StartShowing({StoredPerson("陳大文", 1990, 2, 4, 9, 5), StoredPerson("甲子年", 1984, 3, 1, 10, 0, 1)});
    }
    CQuorvaneView& View() { return *frame_->View(); }
    ChartRecord& Rec() { return app_->Record(); }
    void ClickPage(QPoint page, Qt::MouseButton button = Qt::LeftButton) { test::ClickPage(*frame_, page, button); }
    Qt::CursorShape CursorOver(QPoint page) {
        QMouseEvent move(QEvent::MouseMove, QPointF(View().ViewportPoint(page)), QPointF(View().ViewportPoint(page)),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(View().viewport(), &move);
        return View().viewport()->cursor().shape();
    }
    bool SameBlock(const ChartBlock& a, const ChartBlock& b) { return std::memcmp(&a, &b, sizeof a) == 0; }
};

TEST_F(ChartViewTest, ARightClickOnAButtonDoesNothingOnACellItActsAsALeftClick) {
    const ChartBlock natal = Rec().Natal, flow = Rec().Flow;
    ClickPage(KindButton(1), Qt::RightButton);
    ClickPage(KindButton(2), Qt::RightButton);
    EXPECT_EQ(Rec().ChartKind, 0);
    EXPECT_TRUE(SameBlock(Rec().Flow, flow));
    EXPECT_FALSE(View().RightButtonHeld()) << "cleared when the button came up";

    ClickPage(PeriodCell(3, false), Qt::RightButton);
    const PeriodSelection& p = Rec().Period;
    EXPECT_EQ(Rec().ChartKind, 1);
    EXPECT_EQ((std::vector<int>{p.Cell, p.UpperHalf, p.Age, p.Stem, p.Branch}),
              (std::vector<int>{3, 0, 16 + 30, natal.LuckStem[3], natal.LuckBranch[3]}));
    EXPECT_TRUE(SameBlock(Rec().Natal, natal));
    EXPECT_FALSE(SameBlock(Rec().Flow, flow)) << "Flow is the chosen period's";
}

TEST_F(ChartViewTest, TheNatalButtonOnTheNatalChartDoesNothingTheLuckButtonAlwaysRecomputes) {
    const ChartBlock flow = Rec().Flow;
    ClickPage(KindButton(0));
    EXPECT_EQ(Rec().ChartKind, 0);
    EXPECT_EQ(Rec().Period.Cell, -1);
    EXPECT_TRUE(SameBlock(Rec().Flow, flow));

    ClickPage(KindButton(1));
    ASSERT_EQ(Rec().ChartKind, 1);
    const PeriodSelection current = Rec().Period;
    const ChartBlock luckFlow = Rec().Flow;
    ClickPage(PeriodCell(7, true));
    EXPECT_EQ(Rec().Period.Cell, 7);
    std::memset(&Rec().Flow, 0x5A, sizeof Rec().Flow);  // whatever Flow held
    ClickPage(KindButton(1));
    EXPECT_EQ(Rec().Period.Cell, current.Cell) << "back on the current age's pillar";
    EXPECT_EQ(Rec().Period.UpperHalf, current.UpperHalf);
    EXPECT_TRUE(SameBlock(Rec().Flow, luckFlow)) << "recomputed although 十年盤 was on show";

    ClickPage(KindButton(0));
    EXPECT_EQ(Rec().ChartKind, 0);
    EXPECT_EQ(Rec().Period.Cell, -1);
}

TEST_F(ChartViewTest, TheYearRowPagesBackToAgeOneAndForwardTo110) {
    ClickPage(KindButton(2));
    ASSERT_EQ(Rec().ChartKind, 2);
    std::vector<int> firstAges;
    for (int i = 0; i < 25 && (firstAges.empty() || firstAges.back() != 1 || firstAges.size() < 2 ||
                               firstAges[firstAges.size() - 2] != 1);
         ++i) {
        ClickPage(PeriodCell(0, true));
        firstAges.push_back(Rec().Period.FirstAge);
    }
    // Two years a click while the first age is above 2, then one, then it stays.
    const int start = firstAges.front() + 2;
    for (size_t i = 0; i + 1 < firstAges.size(); ++i) {
        const int before = i == 0 ? start : firstAges[i - 1];
        EXPECT_EQ(firstAges[i], before > 2 ? before - 2 : 1) << i;
    }
    EXPECT_EQ(firstAges.back(), 1);
    EXPECT_EQ(Rec().Period.Cell, 0);
    EXPECT_EQ(Rec().Period.Age, 1);
    // Born before 立春 1990: age 1 is the year of the birth's 己巳 pillar.
    EXPECT_EQ(Rec().Period.LunarYear, 1989);
    EXPECT_EQ(Rec().Flow.LuckStem[0], 5);
    EXPECT_EQ(Rec().Flow.LuckBranch[0], 5);

    for (int first = 1; first < LastFirstAge; ++first) {
        ClickPage(PeriodCell(11, false));
        ASSERT_EQ(Rec().Period.FirstAge, first + 1);
        ASSERT_EQ(Rec().Period.Cell, 10);
    }
    ClickPage(PeriodCell(11, false));
    EXPECT_EQ(Rec().Period.FirstAge, LastFirstAge) << "no further than 110";
    EXPECT_EQ(Rec().Period.Cell, 11);
    EXPECT_EQ(Rec().Period.Age, 121);
    EXPECT_EQ(Rec().Period.UpperHalf, 0);
    const int pillar = ((1989 + 120) - 1984) % 60;
    EXPECT_EQ(Rec().Period.Stem, pillar % 10);
    EXPECT_EQ(Rec().Period.Branch, pillar % 12);
}

// Each key does what its click does: the same selection and the same Flow.
TEST_F(ChartViewTest, KeysWalkThePeriodsAsClicksDo) {
    struct Step {
        Qt::Key Key;
        std::function<void()> Click;
    };
    auto cell = [this] { return int(Rec().Period.Cell); };
    auto upper = [this] { return Rec().Period.UpperHalf != 0; };
    const Step steps[] = {
        {Qt::Key_2, [&] { ClickPage(KindButton(1)); }},
        {Qt::Key_Left, [&] { ClickPage(PeriodCell(cell() + 1, upper())); }},
        {Qt::Key_Down, [&] { ClickPage(PeriodCell(cell(), false)); }},
        {Qt::Key_Right, [&] { ClickPage(PeriodCell(cell() - 1, upper())); }},
        {Qt::Key_F7, [&] { ClickPage(KindButton(2)); }},
        {Qt::Key_Right, [&] { ClickPage(PeriodCell(cell() - 1, upper())); }},
        {Qt::Key_Right, [&] { ClickPage(PeriodCell(cell() - 1, upper())); }},  // column 0: the row pages back
        {Qt::Key_Up, [&] { ClickPage(PeriodCell(cell(), true)); }},
        {Qt::Key_Left, [&] { ClickPage(PeriodCell(cell() + 1, upper())); }},
        {Qt::Key_F6, [&] { ClickPage(KindButton(1)); }},
        {Qt::Key_3, [&] { ClickPage(KindButton(2)); }},
        {Qt::Key_Home, [&] { ClickPage(KindButton(0)); }},
    };
    View().setFocus();
    for (size_t i = 0; i < std::size(steps); ++i) {
        const PeriodSelection before = Rec().Period;
        const int16_t kindBefore = Rec().ChartKind;
        steps[i].Click();
        const PeriodSelection clicked = Rec().Period;
        const ChartBlock clickedFlow = Rec().Flow;
        Rec().Period = before;
        Rec().ChartKind = kindBefore;
        QTest::keyClick(&View(), steps[i].Key);
        EXPECT_EQ(std::memcmp(&Rec().Period, &clicked, sizeof clicked), 0) << "step " << i;
        if (Rec().ChartKind != NatalKind) {
            EXPECT_TRUE(SameBlock(Rec().Flow, clickedFlow)) << "step " << i;
        }
    }
    EXPECT_EQ(Rec().ChartKind, NatalKind);
    // The row ends: the first luck pillar has no column to its right.
    QTest::keyClick(&View(), Qt::Key_2);
    while (Rec().Period.Cell > 0) QTest::keyClick(&View(), Qt::Key_Right);
    const PeriodSelection first = Rec().Period;
    QTest::keyClick(&View(), Qt::Key_Right);
    EXPECT_EQ(std::memcmp(&Rec().Period, &first, sizeof first), 0);
    QTest::keyClick(&View(), Qt::Key_1);
    QTest::keyClick(&View(), Qt::Key_Left);
    EXPECT_EQ(Rec().ChartKind, NatalKind) << "the natal chart has no cell to move";
}

// The hand shows over what takes clicks; the left half of the bottom strip
// opens the help page, shipped beside the program in Traditional Chinese.
TEST_F(ChartViewTest, TheHandShowsOverWhatTakesClicksAndTheStripOpensTheHelpPage) {
    EXPECT_NE(CursorOver(KindButton(0)), Qt::PointingHandCursor) << "本命盤 while it is shown";
    for (const QPoint at : {KindButton(1), KindButton(2), PeriodCell(5, true), QPoint(91 + 100, 2 + 670)})
        EXPECT_EQ(CursorOver(at), Qt::PointingHandCursor) << at.x() << "," << at.y();
    for (const QPoint at : {QPoint(91 + 500, 2 + 670), QPoint(91 + 300, 2 + 100), QPoint(45, 2 + 54 * 3 + 20)})
        EXPECT_NE(CursorOver(at), Qt::PointingHandCursor) << at.x() << "," << at.y();

    UrlCatcher catcher;
    const ChartRecord before = Rec();
    ClickPage(QPoint(91 + 500, 2 + 670));
    ClickPage(QPoint(91 + 100, 2 + 700));  // below the chart
    EXPECT_TRUE(catcher.Opened.isEmpty());
    ClickPage(QPoint(91 + 100, 2 + 670));
    ASSERT_EQ(catcher.Opened.size(), 1);
    ASSERT_TRUE(catcher.Opened[0].path().endsWith(QStringLiteral("/help/index.html")));
    EXPECT_EQ(Rec().ChartKind, before.ChartKind);
    EXPECT_TRUE(SameBlock(Rec().Flow, before.Flow)) << "nothing else happens";
    const std::string help = ReadFileText(QUORVANE_BIN_DIR "/help/index.html");
    ASSERT_FALSE(help.empty()) << "help/index.html is not in the program's folder";
    EXPECT_NE(help.find("lang=\"zh-Hant\""), std::string::npos);
    for (const char* word : {"本命盤", "十年盤", "流年盤", "流年視窗", "列印"}) EXPECT_NE(help.find(word), std::string::npos) << word;

    ClickPage(KindButton(2));
    EXPECT_EQ(CursorOver(KindButton(0)), Qt::PointingHandCursor);
}

// ---- printing ----

// Printed to a PDF file without a printer and previewed: one page each, the
// chosen pillar still chosen.
TEST_F(ChartViewTest, PrintingAndThePreviewGiveOnePageAndLeaveThePeriodAsItWas) {
    const std::string pdf = root_.Root() + "/chart.pdf";
    frame_->Printer().setOutputFileName(QString::fromStdString(pdf));
    ClickPage(PeriodCell(5, false));
    const PeriodSelection chosen = Rec().Period;
    const ChartBlock flow = Rec().Flow;
    WhenModal<QPrintDialog>([](QPrintDialog& d) { d.accept(); });
    ChooseCommand(*frame_, ID_FILE_PRINT);
    const std::string bytes = ReadFileText(pdf);
    ASSERT_EQ(bytes.substr(0, 5), "%PDF-");
    EXPECT_EQ(CountOf(bytes, "/Type /Page\n"), 1);
    EXPECT_TRUE(messages_.Ids.empty());

    int pages = -1;
    WhenModal<QPrintPreviewDialog>([&pages](QPrintPreviewDialog& d) {
        QPrintPreviewWidget* preview = d.findChild<QPrintPreviewWidget*>();
        pages = preview ? preview->pageCount() : -1;
        d.reject();
    });
    frame_->setWindowTitle(QStringLiteral("something else"));
    ChooseCommand(*frame_, ID_FILE_PRINT_PREVIEW);
    EXPECT_EQ(pages, 1);
    EXPECT_EQ(frame_->windowTitle(), QStringLiteral("Varnex 八字命盤 Quorvane - VNX5MAIN.AID"));
    EXPECT_EQ(Rec().ChartKind, 1);
    EXPECT_EQ(std::memcmp(&Rec().Period, &chosen, sizeof chosen), 0) << "the chosen pillar stays chosen";
    EXPECT_TRUE(SameBlock(Rec().Flow, flow));

    // An output file that cannot be written is told, not passed over.
    frame_->Printer().setOutputFileName(QString::fromStdString(root_.Root() + "/missing/chart.pdf"));
    WhenModal<QPrintDialog>([](QPrintDialog& d) { d.accept(); });
    ChooseCommand(*frame_, ID_FILE_PRINT);
    EXPECT_EQ(messages_.Ids, std::vector<int>{905});
    WhenModal<QPageSetupDialog>([](QPageSetupDialog& d) { d.reject(); });
    ChooseCommand(*frame_, ID_FILE_PRINT_SETUP);
}

TEST_F(ChartViewTest, ThePrinterGetsTheChartSquareAtItsOwnResolution) {
    // A tall page 3401 x 4400 pixels: the square of its shorter side, unit 100.
    QImage page(3401, 4400, QImage::Format_RGB32);
    page.fill(Qt::green);
    ClickPage(PeriodCell(0, true));
    ASSERT_TRUE(PrintChartOn(page, Rec()));
    EXPECT_EQ(page.pixel(0, 1000), qRgb(0, 0, 0)) << "the chart's left rule at the corner, no buttons";
    EXPECT_EQ(page.pixel(3400, 1000), qRgb(0, 0, 0)) << "its right rule at 34u";
    EXPECT_EQ(page.pixel(3300, 3300), qRgb(255, 255, 255));
    EXPECT_EQ(page.pixel(22 * 100 + 50, 25 * 100 + 50), qRgb(255, 255, 200)) << "the selected cell, column 0";
    EXPECT_EQ(page.pixel(20 * 100 + 10, 25 * 100 + 10), qRgb(255, 255, 255)) << "column 1 beside it is not shaded";
    EXPECT_EQ(page.pixel(100, 3500), qRgb(255, 255, 255)) << "a clean page below the square";
}

// ---- pictures to share and tool windows on a large screen ----

TEST_F(ChartViewTest, ExportPictureSavesTheChartAsShownAsPngOrPdf) {
    ClickPage(PeriodCell(4, true));
    const std::string png = root_.Root() + "/chart.png", pdf = root_.Root() + "/chart.pdf";
    std::vector<PictureChoice> answers = {{pdf, 0}, {png, 2048}};
    SetPictureChooser([&](int defaultWidth) {
        EXPECT_EQ(defaultWidth, 2048);
        const PictureChoice next = answers.back();
        answers.pop_back();
        return std::optional<PictureChoice>(next);
    });
    ChooseCommand(*frame_, ID_EXPORT_PICTURE);
    ChooseCommand(*frame_, ID_EXPORT_PICTURE);
    SetPictureChooser({});
    const QImage image(QString::fromStdString(png));
    ASSERT_EQ(image.size(), QSize(2048, 1536));
    // The page render draws: the selected luck pillar's cell, column 4, in its shade.
    EXPECT_EQ(image.pixel(2 * (91 + 7 * 40 + 10), 2 * (2 + 470)), qRgb(255, 255, 200));
    ExpectVectorPdf(pdf, -1, "陳大文");  // the kind buttons are pictures, the chart is drawn
    EXPECT_TRUE(messages_.Ids.empty());
    // A file that cannot be written is told.
    SetPictureChooser([&](int) { return std::optional<PictureChoice>({root_.Root() + "/missing/c.png", 512}); });
    ChooseCommand(*frame_, ID_EXPORT_PICTURE);
    SetPictureChooser({});
    EXPECT_EQ(messages_.Ids, std::vector<int>{921});
}

// On a 2560 x 1440 screen each tool window is larger than on 1024 x 768 and
// leaves the period row and the kind buttons free.
TEST_F(ChartViewTest, ToolWindowsOnALargeScreenGrowAndKeepThePeriodRowFree) {
    OverrideToolScreenArea(QRect(0, 0, 2560, 1440));
    frame_->setGeometry(0, 0, 2560, 1440);
    QApplication::processEvents();
    const std::vector<QRect> clickable = View().ClickableAreasOnScreen();
    ASSERT_EQ(clickable.size(), 2u);
    EXPECT_GT(clickable[0].width(), 24 * 20) << "the row as the view shows it, scaled";
    auto clear = [&](const QRect& r) {
        return std::none_of(clickable.begin(), clickable.end(), [&](const QRect& c) { return c.intersects(r); });
    };
    ChooseCommand(*frame_, ID_FLOW_YEAR_WINDOW);
    const QRect years = frame_->FlowYears()->geometry();
    EXPECT_GT(years.width(), 750);
    EXPECT_GT(years.height(), 200);
    EXPECT_TRUE(clear(years)) << years.x() << "," << years.y() << " " << years.width() << "x" << years.height();
    EXPECT_TRUE(QRect(0, 0, 2560, 1440).contains(years));
    ChooseCommand(*frame_, ID_POTENTIAL_WINDOW);
    const QRect potentials = frame_->PotentialWindow()->geometry();
    EXPECT_GT(potentials.height(), 360);
    EXPECT_GT(frame_->PotentialWindow()->Scale(), 1.1);
    EXPECT_TRUE(clear(potentials));
    EXPECT_FALSE(potentials.intersects(years)) << "nor over the tool window open already";
    // (The lifetime chart lays itself out on the whole screen's width instead.)
    for (int id : {ID_FORTUNE_LUCK_BASE, ID_FORTUNE_TEN_YEAR_BASE, ID_FORTUNE_DAY_BASE}) {
        QRect curve;
        QSize laidOut;
        WhenModal<CFortuneCurveWindow>([&](CFortuneCurveWindow& w) {
            curve = w.geometry();
            laidOut = QSize(w.Layout().Width, w.Layout().Depth);
            w.close();
        });
        ChooseCommand(*frame_, id);
        EXPECT_GT(curve.width(), laidOut.width()) << id;
        EXPECT_GT(curve.height(), laidOut.height()) << id;
        EXPECT_TRUE(clear(curve)) << id << ": " << curve.y() << "+" << curve.height();
    }
    OverrideToolScreenArea(std::nullopt);
}

// Bluish ink in the lower half of the sex line's cell, where the note of a
// corrected birth time goes.
int ClockNoteInk(CQuorvaneView& view) {
    QImage page(kLogicalPageWidth, kLogicalPageHeight, QImage::Format_RGB32);
    QPainter painter(&page);
    view.PaintPage(painter, page.size());
    painter.end();
    const ChartLayout layout = CQuorvaneView::PageLayout();
    int ink = 0;
    for (int y = layout.y0 + 3 * layout.unit; y < layout.y0 + 4 * layout.unit; ++y)
        for (int x = layout.x0 + 26 * layout.unit; x < layout.x0 + 34 * layout.unit; ++x) {
            const QColor c = page.pixelColor(x, y);
            ink += c.blue() > c.red() + 60 && c.blue() > c.green() + 60;
        }
    return ink;
}

// Entered with a zone, confirmed again by 修改 (corrected once, never twice)
// and entered anew without one.
TEST_F(ChartViewTest, TheHeaderNotesABirthTimeCorrectedWhenItWasEntered) {
    EXPECT_EQ(ClockNoteInk(View()), 0) << "a person from the records file";
    const auto enter = [this](int command, const char* zone) {
        WhenModal<PersonDialog>([command, zone](PersonDialog& d) {
            if (zone) {
                EnterBirth(d, 1974, 7, 15, 12, 0);
                QComboBox& zones = Child<QComboBox>(d, "zone");
                const int byId = zones.findData(QString::fromUtf8(zone));
                zones.setCurrentIndex(byId >= 0 ? byId : zones.findText(QString::fromUtf8(zone)));
            }
            Click(d, "ok");
        });
        ASSERT_TRUE(app_->Execute(command));
    };
    for (const auto& [command, zone, hour, noted] : {std::tuple{ID_NEW_PERSON, "Asia/Taipei", 11, true},
                                                     {ID_MODIFY_PERSON, nullptr, 11, true},
                                                     {ID_NEW_PERSON, "不校正（東八區）", 12, false}}) {
        enter(command, zone);
        EXPECT_EQ(Rec().Person.hour, hour) << command;
        EXPECT_EQ(ClockNoteInk(View()) > 40, noted) << command;
    }
}

// ---- the flow-year window ----

TEST(FlowYearLayout, A1024By768ScreenGivesA750By200TableAtTheBottomCentre) {
    const FlowYearLayout layout = LayoutFlowYears(QSize(1024, 768), 20, 3);
    EXPECT_EQ(layout.Unit, 25);
    EXPECT_EQ(layout.Client, QRect(137, 768 - 20 - 3 - 200, 750, 200));
    EXPECT_EQ(LayoutFlowYears(QSize(1920, 1080), 20, 3).Client, layout.Client) << "laid out on 1024 x 768";
    EXPECT_EQ(LayoutFlowYears(QSize(800, 600), 0, 0).Client, QRect(100, 440, 600, 160));
}

TEST(FlowYearLayout, CellsRunRightToLeftInTwoRowsWithAChequer) {
    EXPECT_EQ(FlowYearCell(1, 25), QRect(725, 0, 25, 100));
    EXPECT_EQ(FlowYearCell(30, 25), QRect(0, 0, 25, 100));
    EXPECT_EQ(FlowYearCell(31, 25), QRect(725, 100, 25, 100));
    EXPECT_EQ(FlowYearCell(60, 25), QRect(0, 100, 25, 100));
    // Even cells shaded in the upper row, odd ones in the lower.
    for (int i = 1; i <= 60; ++i) EXPECT_EQ(FlowYearCellShaded(i), (i % 2 == 0) == (i <= 30)) << i;
}

TEST_F(ChartViewTest, TheFlowYearWindowOfA甲子YearAndItsToggle) {
    QueryPersonAt(*app_, 1);  // born 1984-03-01: a 甲子 year
    ASSERT_EQ(Rec().Natal.Stem[YearPillar], 0);
    ASSERT_EQ(Rec().Natal.Branch[YearPillar], 0);
    QAction* toggle = frame_->Action(ID_FLOW_YEAR_WINDOW);
    ChooseCommand(*frame_, ID_FLOW_YEAR_WINDOW);
    CFlowYearWnd* window = frame_->FlowYears();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("流年視窗"));
    EXPECT_TRUE(window->windowFlags() & Qt::Tool);
    const int u = window->Unit();
    EXPECT_EQ(window->size(), QSize(30 * u, 8 * u));

    // Ink where the layout puts it: the number in a cell's top unit, then one
    // character each of its stem, branch and element in the three units below.
    const QImage shot = window->grab().toImage().convertToFormat(QImage::Format_RGB32);
    auto inked = [&](const QRect& area) { return DarkPixels(shot, area) > 0; };
    for (int cell : {1, 2, 3, 60}) {
        const QRect r = FlowYearCell(cell, u);
        for (int k = 0; k < 4; ++k) EXPECT_TRUE(inked(QRect(r.left(), r.top() + k * u, u, u))) << cell << " " << k;
    }

    // A new chart repaints it from the bare background.
    QueryPersonAt(*app_, 0);
    const QImage next = window->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_NE(next.copy(FlowYearCell(1, u)), shot.copy(FlowYearCell(1, u)));

    // Its close box clears the flag; the command opens it again, at once,
    // before the closed window is gone, and closes it.
    window->close();
    toggle->trigger();
    ASSERT_NE(frame_->FlowYears(), nullptr);
    EXPECT_NE(frame_->FlowYears(), window);
    frame_->FlowYears()->close();
    QApplication::processEvents();
    EXPECT_FALSE(app_->flowYearWindowOpen);
    EXPECT_EQ(frame_->FlowYears(), nullptr);
    toggle->trigger();
    toggle->trigger();
    QApplication::processEvents();
    EXPECT_EQ(frame_->FlowYears(), nullptr);
}

// 不知道時間 opens the current person with the box flipped; 排盤 makes it so.
TEST_F(ChartViewTest, TheHourUnknownEntryTogglesTheCurrentPersonsHour) {
    frame_->UpdateCommandStates();
    EXPECT_FALSE(frame_->Action(ID_HOUR_UNKNOWN)->isChecked());
    for (const bool unknown : {true, false}) {
        bool ticked = !unknown;
        WhenModal<PersonDialog>([&ticked](PersonDialog& d) {
            ticked = Child<QCheckBox>(d, "hourUnknown").isChecked();
            Click(d, "ok");
        });
        frame_->Action(ID_HOUR_UNKNOWN)->trigger();
        EXPECT_EQ(ticked, unknown);
        EXPECT_EQ(Rec().Person.hour == HourUnknown, unknown);
        EXPECT_EQ(frame_->Action(ID_HOUR_UNKNOWN)->isChecked(), unknown);
    }
    EXPECT_TRUE(frame_->Action(ID_INDEX_FORMULA)->isEnabled());
}

}  // namespace
}  // namespace qv::test

#include "chart_view_test.moc"

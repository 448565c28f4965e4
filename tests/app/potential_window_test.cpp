// The potential window as a user drives it from the main window: opening and
// closing it, scrolling its bands, stepping through the categories, the
// styles and their setting, printing, comparison with a year, an empty table,
// and a damaged table file met at start-up.
#include <QAction>
#include <QImage>
#include <QPrintDialog>
#include <QPrinter>
#include <QScrollBar>
#include <fstream>

#include "person_dialog.h"
#include "potential_tables.h"
#include "settings_file.h"
#include "shell_fixture.h"

namespace qv::test {
namespace {

using namespace qv::ui;

const QRgb Background = qRgb(250, 250, 200);

class PotentialWindowTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        Store(root_.MainFile(), {StoredPerson("陳大文", 1990, 2, 4, 9, 5)});
    }
    std::string TablePath() const { return root_.Program() + "/EngyInfo.tbl"; }
    // 甲 has a band and a row more than a page holds, 乙 fits one page, 丙 is the last.
    void StartCharted(const std::vector<CategoryDef>& categories = {{QStringLiteral("甲"), 13},
                                                                      {QStringLiteral("乙"), 5},
                                                                      {QStringLiteral("丙"), 2}}) {
        if (!categories.empty()) WritePotentialTable(TablePath(), categories);
        StartProgram(root_, app_, frame_);
        QueryPersonAt(*app_, 0);
    }
    void Choose(int id) { ChooseCommand(*frame_, id); }
    bool Enabled(int id) { return MenuEnabled(*frame_, id); }
    CPotentialWnd& Window() {
        CPotentialWnd* w = frame_->PotentialWindow();
        if (!w) throw std::runtime_error("the potential window is not open");
        return *w;
    }
    QImage Shot() {
        QApplication::processEvents();
        return Window().grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
};

// The command opens the window and closes it, its text following; while it
// is open it prints to a PDF file and stays open.
TEST_F(PotentialWindowTest, TheWindowCommandOpensClosesAndPrintsIt) {
    StartCharted();
    QAction& toggle = *frame_->Action(ID_POTENTIAL_WINDOW);
    frame_->UpdateCommandStates();
    EXPECT_EQ(toggle.text(), QStringLiteral("顯示潛能視窗"));
    EXPECT_FALSE(Enabled(ID_PRINT_POTENTIALS));
    Choose(ID_POTENTIAL_WINDOW);
    ASSERT_NE(frame_->PotentialWindow(), nullptr);
    EXPECT_TRUE(Window().isVisible());
    EXPECT_EQ(Window().windowTitle(), QStringLiteral("潛能分析表-甲"));
    EXPECT_EQ(toggle.text(), QStringLiteral("關閉潛能視窗"));

    const std::string pdf = root_.Root() + "/potentials.pdf";
    frame_->Printer().setOutputFormat(QPrinter::PdfFormat);
    frame_->Printer().setOutputFileName(QString::fromStdString(pdf));
    WhenModal<QPrintDialog>([](QPrintDialog& d) { d.accept(); });
    Choose(ID_PRINT_POTENTIALS);
    const std::string bytes = ReadFileText(pdf);
    EXPECT_GT(bytes.size(), 1000u);
    EXPECT_EQ(bytes.substr(0, 5), "%PDF-");
    EXPECT_TRUE(messages_.Ids.empty());
    ASSERT_NE(frame_->PotentialWindow(), nullptr) << "the window stays open";

    Choose(ID_POTENTIAL_WINDOW);
    EXPECT_EQ(frame_->PotentialWindow(), nullptr);
    EXPECT_FALSE(app_->potentialWindowOpen);
    EXPECT_EQ(toggle.text(), QStringLiteral("顯示潛能視窗"));
    // Its own close box ends it the same way.
    Choose(ID_POTENTIAL_WINDOW);
    Window().close();
    EXPECT_FALSE(app_->potentialWindowOpen);
    frame_->UpdateCommandStates();
    EXPECT_EQ(toggle.text(), QStringLiteral("顯示潛能視窗"));
}

// Style 1 gives each of the 12 abilities of a page a row 30 high, its name in x 0-120.
TEST_F(PotentialWindowTest, TheScrollBarMovesOneBandAtATimeWithinItsRange) {
    StartCharted();
    Choose(ID_POTENTIAL_WINDOW);
    QScrollBar& bar = *Window().ScrollBar();
    EXPECT_TRUE(bar.isVisible());
    EXPECT_EQ(bar.maximum(), 1);
    const QRect laterRows(0, 30, 120, 300);
    EXPECT_GT(DarkPixels(Shot(), laterRows), 100) << "names in every row of the first band";
    bar.triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(Window().Picture().ScrollPos, 1);
    const QImage second = Shot();
    EXPECT_GT(DarkPixels(second, QRect(0, 0, 120, 30)), 20) << "甲13 alone";
    EXPECT_EQ(DarkPixels(second, laterRows), 0);
    bar.triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(bar.value(), 1) << "not beyond the last band";
    bar.triggerAction(QAbstractSlider::SliderPageStepSub);
    bar.triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(bar.value(), 0) << "not above the first";
    EXPECT_GT(DarkPixels(Shot(), laterRows), 100);
}

TEST_F(PotentialWindowTest, CategoryAndStyleCommandsStepThroughTheirChoices) {
    StartCharted();
    EXPECT_FALSE(Enabled(ID_NEXT_CATEGORY)) << "only while the window is open";
    Choose(ID_POTENTIAL_WINDOW);
    EXPECT_FALSE(Enabled(ID_PREVIOUS_CATEGORY));
    Choose(ID_NEXT_CATEGORY);
    EXPECT_EQ(app_->currentCategory, 1);
    EXPECT_EQ(Window().windowTitle(), QStringLiteral("潛能分析表-乙"));
    EXPECT_FALSE(Window().ScrollBar()->isVisible()) << "five abilities fit one page";
    EXPECT_EQ(Window().Picture().Names.size(), 5);
    EXPECT_TRUE(Enabled(ID_PREVIOUS_CATEGORY));
    Choose(ID_NEXT_CATEGORY);
    EXPECT_EQ(Window().windowTitle(), QStringLiteral("潛能分析表-丙"));
    EXPECT_FALSE(Enabled(ID_NEXT_CATEGORY));
    Choose(ID_PREVIOUS_CATEGORY);
    Choose(ID_PREVIOUS_CATEGORY);
    EXPECT_EQ(Window().windowTitle(), QStringLiteral("潛能分析表-甲"));
    EXPECT_TRUE(Window().ScrollBar()->isVisible());
    EXPECT_FALSE(Enabled(ID_PREVIOUS_CATEGORY));

    // Each style command checks its style; the last one is kept through a restart.
    const std::pair<int, int> commands[] = {{32798, 0}, {32791, 1}, {32792, 2}, {32793, 3},
                                            {32796, 4}, {32795, 5}, {32797, 6}, {32794, 7}};
    for (const auto& [id, style] : commands) {
        Choose(id);
        EXPECT_EQ(app_->potentialStyle, style) << id;
        for (const auto& [other, unused] : commands)
            EXPECT_EQ(frame_->Action(other)->isChecked(), other == id) << id << " shows " << other;
        EXPECT_EQ(Window().ScrollBar()->isVisible(), style != 7) << "thirteen abilities, style " << style;
    }
    for (const int style : {5, 0}) {
        Choose(style ? 32795 : 32798);
        app_->Shutdown();
        EXPECT_EQ(ReadChartSettings(root_.SettingsFile()).PotentialStyle, style);
        StartProgram(root_, app_, frame_);
        EXPECT_EQ(app_->potentialStyle, style);
    }
}

TEST_F(PotentialWindowTest, ChoosingAYearInTheViewAddsItsScores) {
    StartCharted();
    Choose(ID_POTENTIAL_WINDOW);
    EXPECT_FALSE(Window().Picture().Comparing());
    const QImage natal = Shot();
    EXPECT_EQ(natal.pixel(380, 175), qRgb(200, 200, 255)) << "the 本質 swatch alone";
    ClickPage(*frame_, KindButton(2));
    ASSERT_EQ(app_->Record().ChartKind, 2);
    EXPECT_TRUE(Window().Picture().Comparing());
    const QImage year = Shot();
    EXPECT_EQ(year.pixel(380, 213), qRgb(255, 200, 200)) << "the 短期 swatch";
    EXPECT_NE(natal, year);
}

TEST_F(PotentialWindowTest, WithoutCategoriesTheWindowSaysSoOnOneLine) {
    StartCharted({});
    ASSERT_FALSE(Exists(TablePath()));
    Choose(ID_POTENTIAL_WINDOW);
    EXPECT_EQ(Window().windowTitle(), QStringLiteral("潛能分析表"));
    EXPECT_FALSE(Window().ScrollBar()->isVisible());
    const QImage shot = Shot();
    int first = -1, last = -1;
    for (int y = 0; y < shot.height(); ++y) {
        if (DarkPixels(shot, QRect(0, y, shot.width(), 1)) == 0) continue;
        if (first < 0) first = y;
        last = y;
    }
    ASSERT_GE(first, 0) << "a message is drawn";
    EXPECT_LT(last - first, 30) << "on one line";
    EXPECT_EQ(shot.pixel(2, 2), Background);
    EXPECT_FALSE(Enabled(ID_NEXT_CATEGORY));
}

TEST_F(PotentialWindowTest, ADamagedTableFileIsToldOnceAtStartAndLeftAsItIs) {
    const std::string damaged(1731, '\0');
    std::ofstream(TablePath(), std::ios::binary) << damaged;
    StartProgram(root_, app_, frame_);
    bool asked = false;
    WhenModal<PersonQueryDialog>([&](PersonQueryDialog& q) {
        asked = true;
        q.reject();
    });
    frame_->PostStartup(false);
    ASSERT_TRUE(WaitUntil([&] { return asked; }));
    ASSERT_EQ(messages_.Ids, std::vector<int>{906});
    const std::string& text = messages_.Texts.front();
    EXPECT_EQ(text.rfind("潛能參數檔 EngyInfo.tbl 已損壞", 0), 0u) << text;
    EXPECT_NE(text.find(TablePath()), std::string::npos) << "the fault, naming the file: " << text;
    EXPECT_NE(text.find("\n原因：檔案長度或其中的分類、項目數不合"), std::string::npos) << "in the user's words: " << text;
    EXPECT_EQ(text.find("bytes"), std::string::npos) << text;
    EXPECT_EQ(app_->Potentials().CategoryCount, 0);
    EXPECT_TRUE(app_->Potentials().TableReady) << "an empty table, ready for new categories";
    EXPECT_EQ(ReadFileText(TablePath()), damaged);
    EXPECT_FALSE(Exists(TablePath() + ".bad"));
}

}  // namespace
}  // namespace qv::test

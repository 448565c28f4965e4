// Clicks that explain a fortune curve: the hot areas a painting records, the
// left margin, the hand cursor, the explanation texts and captions, and the
// forward paging of the flow-year chart program.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <QtTest/QTest>

#include "charted_curve.h"
#include "curve_explanation.h"
#include "engine/fortune/fortune.h"
#include "fortune_window.h"
#include "index_explanation.h"
#include "engine/fortune/levels.h"
#include "offscreen_app.h"
#include "engine/texts/string_table.h"

namespace qv::test {
namespace {

using namespace qv::ui;

std::string Text(int id) { return std::string(StringText(id)); }

HotArea Bar(int value, int level, bool turning, const std::string& label) {
    HotArea a;
    a.Value = value, a.Level = level, a.Turning = turning, a.Label = label;
    return a;
}

HotArea General() {
    HotArea a;
    a.General = true;
    return a;
}

// 35 lies in 31…40, band 1 of the overall set 598-607; 順 is level 4, feeling
// 6 of the ten-year set 675-690, 平穩 feeling 8. Love in a month chart has no
// commentary; levels or modes outside the tables give no feeling text; a
// floating base line names the number beside the bar, a fixed one at 0 not.
TEST(ExplanationTextTest, TheBodyGivesTheValueItsBandAndTheFeeling) {
    HotArea floating = Bar(5, 12, false, "x"), fixed = floating;
    floating.Baseline = 60, floating.Shown = "65";
    fixed.Shown = "5";
    const std::string flat = "\n\n感受程度" + Text(675 + 8), none = "\n\n感受程度";
    struct Case {
        HotArea Area;
        int Mode, Category;
        std::string Body;
    } const cases[] = {
        {Bar(35, 4, false, "順"), TenYearCurve, 1, "相對數值【35】\n" + Text(599) + "\n\n感受程度" + Text(681)},
        {Bar(35, 4, true, "變順"), TenYearCurve, 1, "相對數值【35】\n" + Text(599) + "\n\n感受程度" + Text(682)},
        {Bar(0, 5, false, "平穩"), TenYearCurve, 1, "相對數值【0】\n" + Text(602) + flat},
        {Bar(-1, 5, false, "平穩"), TenYearCurve, 1, "相對數值【-1】\n" + Text(603) + flat},
        {Bar(1000, 5, false, "平穩"), TenYearCurve, 1, "相對數值【1000】\n" + flat},
        {Bar(25, 3, false, "好"), MonthCurve, 3, "相對數值【25】\n\n\n感受程度" + Text(706 + 4)},
        {Bar(5, 12, false, "x"), MonthCurve, 9, "相對數值【5】\n" + Text(612) + none},
        {Bar(5, -3, false, "x"), MonthCurve, 9, "相對數值【5】\n" + Text(612) + none},
        {Bar(5, 4, false, "x"), 4, 9, "相對數值【5】\n" + none},
        {floating, MonthCurve, 9, "相對數值【5】（長條旁數值 65，基準線 60）\n" + Text(612) + none},
        {fixed, MonthCurve, 9, "相對數值【5】\n" + Text(612) + none},
        {General(), TenYearCurve, 1, Text(592)},  // the chart's own explanation
        {General(), MonthCurve, 5, Text(697)},
    };
    for (const Case& c : cases) EXPECT_EQ(ExplanationBody(c.Area, c.Mode, c.Category), c.Body);
    EXPECT_EQ(Text(681).substr(0, 9), "【順】");
    EXPECT_EQ(Text(682).substr(0, 12), "【變順】");
    EXPECT_EQ(ExplanationBody(General(), LuckCurve, 1).substr(0, 6), "1.以 ");
}

TEST(ExplanationTextTest, CaptionsNameTheWindowAndTheBar) {
    EXPECT_EQ(ExplanationCaption("流年運勢圖", Bar(35, 4, true, "變順")), "流年運勢圖  指數說明  --  變順");
    EXPECT_EQ(ExplanationCaption("流年運勢圖", General()), "流年運勢圖  指數說明");
}

TEST(ExplanationTextTest, TheDialogShowsTheTextReadOnlyWithOnlyACloseButton) {
    QtApp();
    CIndexExplanationDialog dialog(Bar(35, 4, false, "順"), TenYearCurve, 1, QStringLiteral("流年運勢圖"));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("流年運勢圖  指數說明  --  順"));
    EXPECT_EQ(dialog.Text().toStdString(), ExplanationBody(Bar(35, 4, false, "順"), TenYearCurve, 1));
    const QList<QPushButton*> buttons = dialog.findChildren<QPushButton*>();
    ASSERT_EQ(buttons.size(), 1);
    EXPECT_EQ(buttons[0]->text(), QStringLiteral("關閉"));
}

using ExplainedWindowTest = ChartedCurveTest;

TEST_F(ExplainedWindowTest, EachPaintingRecordsOneAreaPerBarAtItsFeelingLabel) {
    // The year of birth: the months before the birth month stand empty.
    CFortuneCurveWindow window(*rec_, Open(9, MonthCurve, FortunePeriod{-1, 1990, 1, false}));
    EXPECT_TRUE(window.HotAreas().empty());
    window.grab();
    const FortuneCurve& c = window.Curve();
    const CurveLayout& l = window.Layout();
    ASSERT_EQ(window.HotAreas().size(), size_t(c.Count));
    for (int i = 0; i < c.Count; ++i) {
        const HotArea& a = window.HotAreas()[i];
        const CurveBox cell = FeelingCell(l, i);
        EXPECT_EQ(a.Box.X, cell.X);
        EXPECT_EQ(a.Box.Y, cell.Y - 100);
        EXPECT_EQ(a.Box.Height, cell.Height + 200);
        EXPECT_FALSE(a.General);
        EXPECT_EQ(a.Label, FeelingRowText(c, *rec_, i));
        const bool unborn = c.Bars[i].Value == UnbornValue;
        EXPECT_EQ(a.Value, unborn ? 0 : c.Bars[i].Value) << i;
        EXPECT_EQ(a.Turning, a.Label.starts_with("變")) << i;
        if (!unborn) {
            EXPECT_EQ(std::string(FeelingLabel(Feeling{a.Level, a.Turning}).View()), a.Label) << i;
        }
    }
}

TEST_F(ExplainedWindowTest, BarsBeforeBirthGetAreasWithEmptyLabels) {
    CFortuneCurveWindow window(*rec_, Open(5, MonthCurve, FortunePeriod{-1, 1989, 1, false}));
    window.grab();
    ASSERT_EQ(window.HotAreas().size(), 12u);
    for (const HotArea& a : window.HotAreas()) {
        EXPECT_EQ(a.Label, "");
        EXPECT_EQ(a.Value, 0);
        EXPECT_TRUE(a.Unborn);
    }
    // Such a bar explains itself as not yet born, with no commentary on a value it does not have.
    EXPECT_EQ(ExplanationBody(window.HotAreas()[0], MonthCurve, 5),
              Text(ValueCaptionText) + "【0】\n\n\n" +
                  Text(FeelingCaptionText) + Text(NotBornText));
}

TEST_F(ExplainedWindowTest, TravelAreasCarryTheTensOfTheRowValue) {
    CFortuneCurveWindow window(*rec_, Open(7, TenYearCurve, FortunePeriod{-1, 2000, 1, false}));
    window.grab();
    const FortuneCurve& c = window.Curve();
    for (int i = 0; i < c.Count; ++i) {
        const HotArea& a = window.HotAreas()[i];
        EXPECT_EQ(a.Level, TravelValueOfPillar(*rec_, c.Bars[i].Pillar) / 10) << i;
        // The explanation's feeling is the bar's own travel words.
        const std::string body = ExplanationBody(a, TenYearCurve, TravelCategory);
        EXPECT_TRUE(body.ends_with(Text(FeelingCaptionText) + a.Label)) << body;
    }
    // The tallest bar is explained as the tallest, wherever the base line lies.
    ASSERT_NE(c.Baseline, 0);
    int best = 0;
    for (int i = 1; i < c.Count; ++i) best = c.Bars[i].Value > c.Bars[best].Value ? i : best;
    EXPECT_EQ(window.HotAreas()[best].Value, std::stoi(ValueText(c, best)) - c.Baseline);
    for (const HotArea& a : window.HotAreas()) {
        EXPECT_LE(a.Value, window.HotAreas()[best].Value);
        // The explanation names the number painted beside its bar, which is its value above the base line.
        if (!a.Unborn) {
            EXPECT_EQ(std::stoi(a.Shown), a.Baseline + a.Value) << a.Shown;
        }
    }
}

TEST_F(ExplainedWindowTest, TheLeftMarginExplainsTheChartAndOtherEmptySpotsNothing) {
    CFortuneCurveWindow window(*rec_, Open(1, TenYearCurve, FortunePeriod{-1, 2000, 1, false}));
    std::vector<HotArea> opened;
    window.SetExplainer([&](CFortuneCurveWindow&, const HotArea& a) { opened.push_back(a); });
    // Before any painting only the margin answers.
    QTest::mouseClick(&window, Qt::LeftButton, {}, QPoint(10, 5));
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_TRUE(opened[0].General);
    window.grab();
    QTest::mouseClick(&window, Qt::LeftButton, {}, QPoint(60, 5));
    EXPECT_EQ(opened.size(), 1u);
    QTest::mouseClick(&window, Qt::RightButton, {}, QPoint(10, 5));
    EXPECT_EQ(opened.size(), 1u);
    const CurveBox third = FeelingCell(window.Layout(), 2);
    QTest::mouseClick(&window, Qt::LeftButton, {}, QPoint(third.X + 2, third.Y - 90));
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[1].Label, window.HotAreas()[2].Label);
    EXPECT_EQ(opened[1].Value, window.HotAreas()[2].Value);
}

TEST_F(ExplainedWindowTest, TheHandShowsOverAreasAndTheMargin) {
    CFortuneCurveWindow window(*rec_, Open(1, TenYearCurve, FortunePeriod{-1, 2000, 1, false}));
    window.grab();
    const auto move = [&](QPoint at) {
        QMouseEvent event(QEvent::MouseMove, at, window.mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&window, &event);
        return window.cursor().shape();
    };
    EXPECT_EQ(move(QPoint(10, 5)), Qt::PointingHandCursor);
    EXPECT_EQ(move(QPoint(60, 5)), Qt::ArrowCursor);
    const CurveBox cell = FeelingCell(window.Layout(), 5);
    EXPECT_EQ(move(QPoint(cell.X + 1, cell.Y + cell.Height + 99)), Qt::PointingHandCursor);
    EXPECT_EQ(move(QPoint(cell.X + 1, cell.Y + cell.Height + 100)), Qt::ArrowCursor);
}

// The built table, ending at `lastYear`.
std::unique_ptr<SolarTermTable> TableEndingIn(int lastYear) {
    auto table = std::make_unique<SolarTermTable>(*BuiltTable());
    table->LastYear = uint16_t(lastYear);
    return table;
}

TEST_F(ExplainedWindowTest, TheChartProgramsDayChartRunsOnIntoJanuaryWhileTheYearAfterIsCovered) {
    FortunePeriod december{-1, 2030, 12, false, ForwardPaging::ChartProgram};
    const auto covered = TableEndingIn(2032);
    rec_->SolarTerms = covered.get();
    FortuneCurve c = Open(1, DayCurve, december);
    ASSERT_TRUE(PageCurve(c, *rec_, 1));
    EXPECT_EQ(c.Period.Year, 2031);
    EXPECT_EQ(c.Period.Month, 1);
    EXPECT_EQ(c.Count, 31);
    ASSERT_TRUE(PageCurve(c, *rec_, -1));  // and back across the year the same way
    EXPECT_EQ(c.Period.Year, 2030);
    EXPECT_EQ(c.Period.Month, 12);

    const auto short_ = TableEndingIn(2031);
    rec_->SolarTerms = short_.get();
    c = Open(1, DayCurve, december);
    EXPECT_FALSE(PageCurve(c, *rec_, 1));
    EXPECT_EQ(c.Period.Year, 2030);
    EXPECT_EQ(c.Period.Month, 12);
    // The main program's day chart stops at month 12 whatever the table holds.
    rec_->SolarTerms = covered.get();
    c = Open(1, DayCurve, FortunePeriod{-1, 2030, 12, false});
    EXPECT_FALSE(PageCurve(c, *rec_, 1));
    c = Open(1, DayCurve, FortunePeriod{-1, 2030, 1, false});
    EXPECT_FALSE(PageCurve(c, *rec_, -1)) << "nor back from month 1";
    // The chart program's January of the year of birth goes back no further.
    c = Open(1, DayCurve, FortunePeriod{-1, rec_->Person.year, 1, false, ForwardPaging::ChartProgram});
    EXPECT_FALSE(CanPage(c, *rec_, -1));
}

TEST_F(ExplainedWindowTest, TheChartProgramsMonthChartStepsAheadOnlyWithTheYearAfterNextCovered) {
    const auto table = TableEndingIn(2032);
    rec_->SolarTerms = table.get();
    FortuneCurve ours = Open(1, MonthCurve, FortunePeriod{-1, 2030, 1, false, ForwardPaging::ChartProgram});
    ASSERT_TRUE(PageCurve(ours, *rec_, 1));
    EXPECT_EQ(ours.Period.Year, 2031);
    EXPECT_FALSE(CanPage(ours, *rec_, 1));  // 2033 is not covered
    EXPECT_FALSE(PageCurve(ours, *rec_, 1));
    const FortuneCurve theirs = Open(1, MonthCurve, FortunePeriod{-1, 2031, 1, false});
    EXPECT_TRUE(CanPage(theirs, *rec_, 1));  // the main program asks for 2032 only
    EXPECT_TRUE(PageCurve(ours, *rec_, -1));
    EXPECT_EQ(ours.Period.Year, 2030);
}

}  // namespace
}  // namespace qv::test

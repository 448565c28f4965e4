// The period the user chose reaches every window: the period chart draws its
// own evaluation, the fortune curves open on it and the settings keep it. All
// through the real main window.
#include <QImage>
#include <QPainter>

#include "chart_period.h"
#include "flow_year_window.h"
#include "engine/fortune/fortune.h"
#include "fortune_window.h"
#include "paint_helpers.h"
#include "period_checks.h"
#include "potential_window.h"
#include "settings_dialog.h"
#include "engine/texts/text_ids.h"
#include "shell_fixture.h"
#include "engine/texts/string_table.h"

namespace qv::test {
namespace {

using namespace qv::ui;

class PeriodWindowsTest : public ShellTest {
protected:
    // 1990-02-04 09:05, male: lunar 1990-01-09 but still the 己巳 year (before 立春).
    void SetUp() override {
        ShellTest::SetUp();
        StartShowing({StoredPerson("陳大文", 1990, 2, 4, 9, 5), StoredPerson("林美玲", 1996, 2, 10, 14, 0, 1),
                      StoredPerson("甲一", 1984, 3, 8, 8, 8)});
    }
    ChartRecord& Rec() { return app_->Record(); }
    void ClickPage(QPoint page) { test::ClickPage(*frame_, page); }
    // The summary and health columns (0-8u across, 0-12u down) of the shown page.
    QImage ViewReadings() {
        QImage page(kLogicalPageWidth, kLogicalPageHeight, QImage::Format_RGB32);
        QPainter painter(&page);
        frame_->View()->PaintPage(painter, QSize(kLogicalPageWidth, kLogicalPageHeight));
        return page.copy(91, 2, 8 * 20, 12 * 20);
    }
    // The window a fortune command opens, closed at once.
    FortuneCurve Opened(int commandId) {
        FortuneCurve curve;
        WhenModal<CFortuneCurveWindow>([&](CFortuneCurveWindow& w) {
            curve = w.Curve();
            w.close();
        });
        ChooseCommand(*frame_, commandId);
        return curve;
    }
};

// A period chart shows the scores its own evaluation left in Flow, not the natal ones.
TEST_F(PeriodWindowsTest, APeriodChartDrawsTheReadingsItsEvaluationLeftInFlow) {
    const ChartBlock natal = Rec().Natal;
    const QImage natalReadings = ViewReadings();
    int differing = 0;
    for (const auto& [button, column] : {std::pair{1, 3}, std::pair{1, 8}, std::pair{2, 4}, std::pair{2, 9}}) {
        ClickPage(KindButton(button));
        for (bool upper : {true, false}) {
            ClickPage(PeriodCell(column, upper));
            ASSERT_EQ(Rec().ChartKind, button);
            ExpectFlowOnSelection(Rec(), natal);
            differing += ViewReadings() != natalReadings;
        }
    }
    EXPECT_GE(differing, 6) << "the periods' own scores are on show, not the natal ones";
}

TEST_F(PeriodWindowsTest, FortuneCurvesOpenOnTheChartViewsPeriod) {
    const ChartRecord& rec = Rec();
    // 本命盤: today, the ten years from this year paging by ten years.
    FortuneCurve ten = Opened(ID_FORTUNE_TEN_YEAR_BASE);
    EXPECT_FALSE(ten.Period.LuckView);
    EXPECT_EQ(ten.Period.Year, rec.Now.Year);
    EXPECT_EQ(ten.Bars[0].Age, rec.Now.Year - BirthSolarYear(rec) + 1);
    EXPECT_EQ(Opened(ID_FORTUNE_MONTH_BASE + 1).Period.Year, rec.Now.Year);
    const FortuneCurve days = Opened(ID_FORTUNE_DAY_BASE);
    EXPECT_EQ(days.Period.Year, rec.Now.Year);
    EXPECT_EQ(days.Period.Month, rec.Now.Month);

    // 十年盤: the chosen luck pillar, paging by luck pillar.
    ClickPage(PeriodCell(3, false));
    ten = Opened(ID_FORTUNE_TEN_YEAR_BASE + 3);
    EXPECT_TRUE(ten.Period.LuckView);
    EXPECT_EQ(ten.Period.Luck, 3);
    EXPECT_EQ(ten.Bars[0].Age, rec.Natal.LuckStartAge + 30);
    EXPECT_EQ(Opened(ID_FORTUNE_MONTH_BASE).Period.Year, YearOfAge(rec, rec.Period.Age));

    // 流年盤: the chosen year, its months and the days of its first month.
    ClickPage(KindButton(2));
    ClickPage(PeriodCell(6, true));
    const int chosen = rec.Period.LunarYear;
    LunarDate today{};
    ASSERT_TRUE(SolarToLunar(CivilDate{rec.Now.Year, rec.Now.Month, rec.Now.Day}, today));
    ASSERT_EQ(chosen, today.Year + 4) << "today's year is the third cell, the chosen one the seventh";
    ten = Opened(ID_FORTUNE_TEN_YEAR_BASE + 1);
    EXPECT_FALSE(ten.Period.LuckView);
    EXPECT_EQ(ten.Period.Year, chosen);
    EXPECT_EQ(Opened(ID_FORTUNE_MONTH_BASE).Period.Year, chosen);
    const FortuneCurve firstMonth = Opened(ID_FORTUNE_DAY_BASE + 3);
    EXPECT_EQ(firstMonth.Period.Year, chosen);
    EXPECT_EQ(firstMonth.Period.Month, 1);
}

// Confirmed, a parameter dialog writes the settings file and recharts (this
// birth's 咸池 moves with the basis), keeping the chart kind and the chosen cell.
TEST_F(PeriodWindowsTest, TheParameterDialogsWriteOnOkRechartAndKeepTheKindAndCell) {
    QueryPersonAt(*app_, 2);
    const ChartBlock byYear = Rec().Natal;
    ClickPage(PeriodCell(4, false));
    WhenModal<SettingsDialog>([](SettingsDialog& d) {
        Click(d, "1008");  // 咸池 from the month
        Click(d, "ok");
    });
    ChooseCommand(*frame_, ID_CHARTING_PARAMETERS);
    EXPECT_EQ(Rec().Options.PoolBase, 1);
    EXPECT_EQ(ReadSetting(root_.SettingsFile(), SettingKey::PoolBase), 1);
    EXPECT_NE(std::memcmp(Rec().Natal.SpiritMaskB, byYear.SpiritMaskB, sizeof byYear.SpiritMaskB), 0);
    EXPECT_EQ(Rec().ChartKind, LuckKind);
    EXPECT_EQ(Rec().Period.Cell, 4);
    EXPECT_EQ(Rec().Period.UpperHalf, 0);
    ExpectFlowOnSelection(Rec(), Rec().Natal);

    ClickPage(KindButton(2));
    ClickPage(PeriodCell(7, true));
    const PeriodSelection chosen = Rec().Period;
    WhenModal<SettingsDialog>([](SettingsDialog& d) {
        Retype(Child<QLineEdit>(d, "1015"), QStringLiteral("25"));
        Click(d, "ok");
    });
    ChooseCommand(*frame_, ID_INDEX_FORMULA);
    EXPECT_EQ(Rec().Scoring.K1, 25);
    EXPECT_EQ(ReadSetting(root_.SettingsFile(), SettingKey::K1), 25);
    EXPECT_EQ(Rec().ChartKind, YearKind);
    EXPECT_EQ(std::memcmp(&Rec().Period, &chosen, sizeof chosen), 0);
    ExpectFlowOnSelection(Rec(), Rec().Natal);
}

// Both births fall between 立春 and the lunar new year, one each way round:
// the header's age, today's year cell and the ten-year title count the same years.
TEST_F(PeriodWindowsTest, BirthsBetweenTheSpringStartAndTheNewYearCountTheirAgesAlike) {
    for (int row : {0, 1}) {
        QueryPersonAt(*app_, row);
        const ChartRecord& rec = Rec();
        ASSERT_EQ(rec.BirthYearBoundary, row == 0 ? 1 : 2);
        ClickPage(KindButton(2));
        const CivilDate today{rec.Now.Year, rec.Now.Month, rec.Now.Day};
        LunarDate lunar{};
        ASSERT_TRUE(SolarToLunar(today, lunar));
        EXPECT_EQ(rec.Period.Age, AgeInYear(rec, lunar.Year)) << row;
        // Today's own year pillar may turn between 立春 and the new year; else the header agrees.
        const TermMoment& spring = rec.SolarTerms->At(today.Year, 2);
        const bool springBegun = today.Month > spring.Month || (today.Month == spring.Month && today.Day > spring.Day);
        if (today.Year - (springBegun ? 0 : 1) == lunar.Year) {
            EXPECT_EQ(rec.Period.Age, CurrentNominalAge(rec, today)) << row;
        }
        // Age 1 is the year of the birth's year pillar.
        EXPECT_EQ(YearPillarOf(YearOfAge(rec, 1)), SexagenaryOf(rec.Natal.Stem[0], rec.Natal.Branch[0])) << row;
        ClickPage(KindButton(1));
        ClickPage(PeriodCell(2, true));
        const FortuneCurve ten = Opened(ID_FORTUNE_TEN_YEAR_BASE);
        const int first = YearOfAge(rec, rec.Natal.LuckStartAge + 20);
        // Under the 民國 display the title's years are Republican: 1911 is year 0.
        EXPECT_TRUE(CurveTitle(ten, rec).starts_with("農曆 民國" + std::to_string(first - 1911) + "年 - 民國" +
                                                     std::to_string(first + 9 - 1911) + "年"))
            << row << " " << CurveTitle(ten, rec);
    }
}

}  // namespace
}  // namespace qv::test

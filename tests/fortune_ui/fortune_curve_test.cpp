// The fortune-curve window's state without a window: values per mode and
// category against the engine's tables, the first bar of a 13-bar luck chart,
// titles, scale, layout proportions and the paging limits.
#include <gtest/gtest.h>

#include "engine/calendar/calendar.h"
#include "charted_person.h"
#include "engine/fortune/fortune.h"
#include "fortune_curve.h"
#include "engine/fortune/levels.h"
#include "engine/texts/string_table.h"

namespace qv::test {
namespace {

using namespace qv::ui;

constexpr int AllCategories[] = {1, 3, 4, 5, 6, 7, 8, 9, 14};

// Luck from age 6 (13 bars): 1990-02-19, male; from age 1 (12 bars): 1990-02-04, female.
std::unique_ptr<ChartRecord> WithTables(int day, int sex) {
    auto rec = ChartedPerson(1990, 2, day, 9, 5, sex);
    if (rec) ComputeFortuneTables(*rec);
    return rec;
}

FortunePeriod LuckPeriod(int luck) { return FortunePeriod{luck, 0, 1, true}; }
FortunePeriod YearPeriod(int year, int month = 1) { return FortunePeriod{-1, year, month, false}; }

FortuneCurve Opened(ChartRecord& rec, int category, int mode, bool lifetime, const FortunePeriod& period) {
    FortuneCurve c;
    EXPECT_TRUE(OpenCurve(c, rec, category, mode, lifetime, period)) << category << " mode " << mode;
    return c;
}

std::vector<int> ValuesOf(const FortuneCurve& c) {
    std::vector<int> v;
    for (int i = 0; i < c.Count; ++i) v.push_back(c.Bars[i].Value);
    return v;
}

class FortuneCurveTest : public ::testing::Test {
protected:
    void SetUp() override {
        late_ = WithTables(19, 0);
        early_ = WithTables(4, 1);
        if (!late_ || !early_) GTEST_SKIP() << "no solar-term table";
        ASSERT_EQ(late_->Natal.LuckStartAge, 6);
        ASSERT_EQ(early_->Natal.LuckStartAge, 1);
    }
    std::unique_ptr<ChartRecord> late_, early_;
};

TEST_F(FortuneCurveTest, LuckChartHasThirteenBarsWhenLuckStartsLateTwelveFromAgeOne) {
    const FortuneSet& overall = *FortuneSetOf(*late_, 1);
    const FortuneCurve c = Opened(*late_, 1, LuckCurve, false, LuckPeriod(-1));
    ASSERT_EQ(c.Count, 13);
    // The years before the first luck pillar (ages 1-5): their rounded mean, from the year of birth.
    int sum = 0;
    for (int i = 0; i < 5; ++i) sum += overall.YearValue[i];
    EXPECT_EQ(c.Bars[0].Value, (sum + 2) / 5 - overall.YearValue[0]);
    EXPECT_EQ(c.Bars[0].Change, 0);
    EXPECT_EQ(c.Bars[0].Pillar, NoPillar);
    EXPECT_EQ(AgeRowText(c, 0), "1");
    for (int k = 0; k < 12; ++k) {
        EXPECT_EQ(c.Bars[k + 1].Value, overall.LuckValue[k]);
        EXPECT_EQ(c.Bars[k + 1].Age, 6 + 10 * k);
    }
    EXPECT_EQ(c.Bars[1].Change, overall.LuckValue[0] - c.Bars[0].Value);
    EXPECT_EQ(c.Bars[5].Change, overall.LuckValue[4] - overall.LuckValue[3]);

    const FortuneCurve career = Opened(*late_, 9, LuckCurve, false, LuckPeriod(-1));
    ASSERT_EQ(career.Count, 13);
    EXPECT_EQ(career.Bars[0].Value, 0);
    EXPECT_EQ(career.Bars[1].Change, FortuneSetOf(*late_, 9)->LuckValue[0]);

    // From age 1: twelve bars, nothing before the first, whose change is taken against 0.
    const FortuneSet& early = *FortuneSetOf(*early_, 1);
    const FortuneCurve twelve = Opened(*early_, 1, LuckCurve, false, LuckPeriod(-1));
    ASSERT_EQ(twelve.Count, 12);
    EXPECT_EQ(twelve.Bars[0].Value, early.LuckValue[0]);
    EXPECT_EQ(twelve.Bars[0].Change, early.LuckValue[0]);
    EXPECT_EQ(PillarRowText(twelve, 0), PillarText(SexagenaryOf(early_->Natal.LuckStem[0], early_->Natal.LuckBranch[0])));
}

TEST_F(FortuneCurveTest, EveryModeAndCategoryShowsTheEngineTables) {
    ChartRecord& rec = *late_;
    for (int category : AllCategories) {
        SCOPED_TRACE(category);
        const FortuneSet set = *FortuneSetOf(rec, category);
        const FortuneCurve life = Opened(rec, category, LuckCurve, true, LuckPeriod(-1));
        EXPECT_EQ(ValuesOf(life), std::vector<int>(set.YearValue, set.YearValue + YearsOfLife));
        for (int luck : {-1, 0, 3}) {
            const int first = luck < 0 ? 0 : 5 + 10 * luck;
            const FortuneCurve ten = Opened(rec, category, TenYearCurve, false, LuckPeriod(luck));
            EXPECT_EQ(ValuesOf(ten), std::vector<int>(set.YearValue + first, set.YearValue + first + 10));
            EXPECT_EQ(ten.Bars[0].Age, first + 1);
        }
        const FortuneCurve years = Opened(rec, category, TenYearCurve, false, YearPeriod(2001));
        EXPECT_EQ(ValuesOf(years), std::vector<int>(set.YearValue + 11, set.YearValue + 21));

        const FortuneCurve months = Opened(rec, category, MonthCurve, false, YearPeriod(2024));
        ASSERT_TRUE(ComputeMonthValues(rec, category, 2024));
        const FortuneSet& m = *FortuneSetOf(rec, category);
        EXPECT_EQ(ValuesOf(months), std::vector<int>(m.MonthValue, m.MonthValue + 12));
        for (int i = 0; i < 12; ++i) EXPECT_EQ(months.Bars[i].Change, m.MonthDelta[i]);

        const FortuneCurve days = Opened(rec, category, DayCurve, false, YearPeriod(2024, 3));
        ASSERT_TRUE(ComputeDayValues(rec, category, 2024, 3));
        const FortuneSet& d = *FortuneSetOf(rec, category);
        EXPECT_EQ(ValuesOf(days), std::vector<int>(d.DayValue, d.DayValue + 31));
        EXPECT_EQ(days.Baseline, category == 1 ? 0 : d.Baseline);
        EXPECT_EQ(days.Band, category == 1 ? 10 : 30);
    }
}

TEST_F(FortuneCurveTest, CategoriesWithoutTablesShowTheOverallValues) {
    for (int category : {6, 14}) {
        const FortuneCurve c = Opened(*late_, category, LuckCurve, true, LuckPeriod(-1));
        EXPECT_EQ(ValuesOf(c), ValuesOf(Opened(*late_, 1, LuckCurve, true, LuckPeriod(-1))));
        EXPECT_EQ(c.Band, 30);
    }
    FortuneCurve c;
    EXPECT_FALSE(OpenCurve(c, *late_, 2, LuckCurve, false, LuckPeriod(-1)));
    EXPECT_FALSE(OpenCurve(c, *late_, 1, 4, false, LuckPeriod(-1)));
}

TEST_F(FortuneCurveTest, MonthsBeforeTheBirthAreEmptyBars) {
    // Born 19 February 1990, in the 寅 month: only the months of that year after it carry values.
    const FortuneCurve c = Opened(*late_, 1, MonthCurve, false, YearPeriod(1989));
    for (int i = 0; i < 11; ++i) {
        EXPECT_EQ(c.Bars[i].Value, UnbornValue) << i;
        EXPECT_EQ(c.Bars[i].Change, 0);
        EXPECT_EQ(ValueText(c, i), "");
        EXPECT_EQ(FeelingRowText(c, *late_, i), "");
    }
    const FortuneCurve birthYear = Opened(*late_, 1, MonthCurve, false, YearPeriod(1990));
    EXPECT_NE(birthYear.Bars[0].Value, UnbornValue);
    EXPECT_NE(ValueText(birthYear, 0), "");
    // 9999 counts as 0 in the statistics.
    EXPECT_LE(c.Maximum, 999);
}

TEST_F(FortuneCurveTest, DayChartHasTheDaysOfTheMonth) {
    struct Case {
        int Year, Month, Days;
    } const cases[] = {{2024, 2, 29}, {2023, 2, 28}, {2000, 2, 29}, {1900, 2, 28}, {2024, 1, 31}, {2024, 4, 30}};
    for (const Case& k : cases) {
        const FortuneCurve c = Opened(*late_, 1, DayCurve, false, YearPeriod(k.Year, k.Month));
        EXPECT_EQ(c.Count, k.Days) << k.Year << "-" << k.Month;
    }
    // 1 March 2024 was lunar 1/21 (甲辰年正月廿一).
    const FortuneCurve march = Opened(*late_, 1, DayCurve, false, YearPeriod(2024, 3));
    EXPECT_EQ(LunarRowText(march, 0), "1/21");
    // 閏六月 2025 began on 25 July: 1 July is 6/7, 31 July the 7th of the leap month.
    const FortuneCurve july = Opened(*late_, 1, DayCurve, false, YearPeriod(2025, 7));
    for (const auto& [day, text] : {std::pair{1, "6/7"}, {24, "6/30"}, {25, "閏6/1"}, {31, "閏6/7"}})
        EXPECT_EQ(LunarRowText(july, day - 1), text) << day;
    EXPECT_EQ(AgeRowText(march, 0), "1");
    EXPECT_TRUE(HasLunarRow(march));
}

TEST_F(FortuneCurveTest, TitlesFollowModeAndCategory) {
    ChartRecord& rec = *late_;
    EXPECT_EQ(CurveTitle(Opened(rec, 1, LuckCurve, true, LuckPeriod(-1)), rec), "終身運勢圖");
    EXPECT_EQ(CurveTitle(Opened(rec, 9, LuckCurve, false, LuckPeriod(-1)), rec), "終身事業運勢圖");
    // Luck pillar 2 starts at age 26: the years 2015-2024.
    const FortuneCurve ten = Opened(rec, 5, TenYearCurve, false, LuckPeriod(2));
    EXPECT_EQ(CurveTitle(ten, rec), "農曆 2015年 - 2024年財運圖");
    // Born before 立春 1990: age 1 is 1989 (己巳), so luck pillar 2, from age 21, begins in 2009.
    const FortuneCurve early = Opened(*early_, 5, TenYearCurve, false, LuckPeriod(2));
    EXPECT_EQ(CurveTitle(early, *early_), "農曆 2009年 - 2018年財運圖");
    EXPECT_EQ(PillarRowText(early, 0), "己丑");
    EXPECT_EQ(CurveTitle(Opened(rec, 3, MonthCurve, false, YearPeriod(2024)), rec), "農曆 2024年愛情運勢圖");
    EXPECT_EQ(CurveTitle(Opened(rec, 7, DayCurve, false, YearPeriod(2024, 2)), rec), "農曆 2024年2月遷移運勢圖");
    EXPECT_EQ(CurveTitle(Opened(rec, 6, MonthCurve, false, YearPeriod(2024)), rec), "農曆 2024年健康運勢圖");
    // The categories without words of their own are named too.
    EXPECT_EQ(CurveTitle(Opened(rec, 14, LuckCurve, false, LuckPeriod(-1)), rec), "終身整體運勢圖");
    EXPECT_EQ(CurveTitle(Opened(rec, 4, MonthCurve, false, YearPeriod(2024)), rec), "農曆 2024年子女運勢圖");
    EXPECT_EQ(CurveTitle(Opened(rec, 8, MonthCurve, false, YearPeriod(2024)), rec), "農曆 2024年人際運勢圖");
    // Under the 民國 display the years are Republican.
    rec.YearDisplay = 1;
    EXPECT_EQ(CurveTitle(ten, rec), "農曆 民國104年 - 民國113年財運圖");
    EXPECT_EQ(CurveTitle(Opened(rec, 7, DayCurve, false, YearPeriod(2024, 2)), rec), "農曆 民國113年2月遷移運勢圖");
    rec.YearDisplay = 0;
}

TEST(FortuneScaleTest, AxisOnOpeningAndAfterPagingAndLengthsByIntegerDivision) {
    EXPECT_EQ(OpeningAxis(1, -10, 10), 70);  // values within ±10 still get 70
    EXPECT_EQ(OpeningAxis(1, 0, 85), 85);
    EXPECT_EQ(OpeningAxis(1, -90, 20), 90);
    for (int c : {3, 5, 7}) EXPECT_EQ(OpeningAxis(c, -5, 20), 60);
    for (int c : {4, 6, 8, 9, 14}) EXPECT_EQ(OpeningAxis(c, -5, 20), 50);
    EXPECT_EQ(OpeningAxis(9, -55, 20), 55);
    EXPECT_EQ(PagedAxis(-5, 20), 70);  // for every category
    EXPECT_EQ(PagedAxis(-75, 20), 75);
    EXPECT_EQ(PagedAxis(-5, 72), 72);
    // Bars and bands: axis 70, half span 200: (35 + 200 v) / 70, so 7035 / 70 = 100.5 gives 100 and 235 / 70 gives 3.
    for (auto [v, length] : {std::pair{35, 100}, {-35, -100}, {1, 3}, {-1, -3}, {0, 0}, {70, 200}})
        EXPECT_EQ(BarLength(v, 70, 200), length) << v;
    EXPECT_EQ(BandOffset(10, 70, 200), 29);   // 2035 / 70
    EXPECT_EQ(BandOffset(30, 50, 100), 60);   // 3025 / 50
}

TEST_F(FortuneCurveTest, NoBarLeavesThePlot) {
    for (int category : AllCategories) {
        for (int mode = 0; mode < 4; ++mode) {
            FortuneCurve c = Opened(*late_, category, mode, mode == 0, YearPeriod(2024, 2));
            for (int page = 0; page < 3; ++page) {
                const CurveLayout l = LayoutCurve(c, 1024, 768);
                for (int i = 0; i < c.Count; ++i) {
                    if (c.Bars[i].Value == UnbornValue) continue;
                    EXPECT_LE(std::abs(BarLength(c.Bars[i].Value, c.Axis, l.HalfSpan)), l.HalfSpan);
                }
                EXPECT_LE(BandOffset(c.Band, c.Axis, l.HalfSpan), l.HalfSpan + l.HalfSpan / 2);
                PageCurve(c, *late_, 1);
            }
        }
    }
}

TEST(FortuneLayoutTest, ProportionsFromTheScreen) {
    FortuneCurve c;
    struct Case {
        int Mode, Count;
        int Unit, Width, Depth;
    } const cases[] = {
        {0, 12, 68, 952, 544}, {0, 13, 64, 960, 512}, {1, 10, 80, 960, 640},
        {2, 12, 68, 952, 544}, {3, 31, 28, 952, 504}, {3, 28, 28, 952, 504},
    };
    for (const Case& k : cases) {
        c.Mode = k.Mode, c.Count = k.Count;
        for (const auto& [w, h] : {std::pair{1024, 768}, std::pair{1280, 1024}}) {
            const CurveLayout l = LayoutCurve(c, w, h);
            EXPECT_EQ(l.Unit, k.Unit) << k.Mode << " " << k.Count;
            EXPECT_EQ(l.Width, k.Width);
            EXPECT_EQ(l.Depth, k.Depth);
            EXPECT_EQ(l.BarsLeft + k.Count * l.Unit <= l.Width, true);
            EXPECT_LT(l.RowsTop, l.Depth);
            EXPECT_GT(l.HalfSpan, 0);
        }
    }
    c.Mode = 1, c.Count = 10;
    const CurveLayout small = LayoutCurve(c, 800, 600);  // W' = 750
    EXPECT_EQ(small.Unit, 62);
    EXPECT_EQ(small.Depth, 496);
}

TEST_F(FortuneCurveTest, PagingStopsAtEveryLimit) {
    ChartRecord& rec = *late_;
    FortuneCurve c = Opened(rec, 1, DayCurve, false, YearPeriod(2024, 1));
    EXPECT_FALSE(PageCurve(c, rec, -1));  // not below January
    for (int m = 2; m <= 12; ++m) ASSERT_TRUE(PageCurve(c, rec, 1));
    EXPECT_EQ(c.Period.Month, 12);
    EXPECT_FALSE(PageCurve(c, rec, 1));   // not above December
    EXPECT_EQ(c.Count, 31);

    c = Opened(rec, 1, TenYearCurve, false, LuckPeriod(-1));
    EXPECT_FALSE(PageCurve(c, rec, -1));  // from birth is the first
    while (PageCurve(c, rec, 1)) {
    }
    EXPECT_EQ(c.Period.Luck, 9);          // luck pillar 10 would run to 2104, past the calendar
    auto older = ChartedPerson(1960, 3, 10, 8, 0, 0);
    ASSERT_TRUE(older);
    ComputeFortuneTables(*older);
    c = Opened(*older, 1, TenYearCurve, false, LuckPeriod(9));
    EXPECT_TRUE(PageCurve(c, *older, 1));
    EXPECT_FALSE(PageCurve(c, *older, 1));  // the index stays below 11
    EXPECT_EQ(c.Period.Luck, 10);

    c = Opened(rec, 1, TenYearCurve, false, YearPeriod(1995));
    EXPECT_FALSE(PageCurve(c, rec, -1));  // 1985 is before the birth
    ASSERT_TRUE(PageCurve(c, rec, 1));
    EXPECT_EQ(c.Period.Year, 2005);
    c = Opened(rec, 1, TenYearCurve, false, YearPeriod(2075));
    EXPECT_TRUE(PageCurve(c, rec, 1));    // 2085 and 2095 lie in the calendar
    EXPECT_FALSE(PageCurve(c, rec, 1));   // 2105 does not

    c = Opened(rec, 5, MonthCurve, false, YearPeriod(2098));
    ASSERT_TRUE(PageCurve(c, rec, 1));
    EXPECT_EQ(c.Period.Year, 2099);
    EXPECT_FALSE(PageCurve(c, rec, 1));   // the last year of the calendar
    // Back to the solar year that holds the birth and no further: 1990 after 立春, 1989 before it.
    c = Opened(rec, 5, MonthCurve, false, YearPeriod(1991));
    ASSERT_TRUE(PageCurve(c, rec, -1));
    EXPECT_FALSE(PageCurve(c, rec, -1));
    EXPECT_EQ(c.Period.Year, 1990);
    c = Opened(*early_, 5, MonthCurve, false, YearPeriod(1990));
    ASSERT_TRUE(PageCurve(c, *early_, -1));
    EXPECT_FALSE(PageCurve(c, *early_, -1));
    EXPECT_EQ(c.Period.Year, 1989);

    c = Opened(rec, 1, LuckCurve, true, LuckPeriod(-1));
    EXPECT_FALSE(PageCurve(c, rec, 1));   // the luck and lifetime charts do not page
    EXPECT_FALSE(PageCurve(c, rec, -1));
}

TEST_F(FortuneCurveTest, PagingToTheLimitAndBackReturnsTheSameValues) {
    ChartRecord& rec = *late_;
    struct Case {
        int Mode;
        FortunePeriod Period;
    } const cases[] = {{TenYearCurve, LuckPeriod(2)}, {TenYearCurve, YearPeriod(2010)},
                       {MonthCurve, YearPeriod(2090)}, {DayCurve, YearPeriod(2024, 5)}};
    for (const Case& k : cases) {
        for (int direction : {-1, 1}) {
            FortuneCurve c = Opened(rec, 9, k.Mode, false, k.Period);
            const std::vector<int> start = ValuesOf(c);
            int steps = 0;
            while (steps < 200 && PageCurve(c, rec, direction)) ++steps;
            for (int i = 0; i < steps; ++i) ASSERT_TRUE(PageCurve(c, rec, -direction));
            EXPECT_EQ(ValuesOf(c), start) << k.Mode << " " << direction;
            EXPECT_EQ(c.Axis, PagedAxis(c.Minimum, c.Maximum));
        }
    }
}

TEST_F(FortuneCurveTest, RowsUnderTheBars) {
    ChartRecord& rec = *late_;
    const FortuneCurve life = Opened(rec, 1, LuckCurve, true, LuckPeriod(-1));
    EXPECT_EQ(AgeRowText(life, 0), "1");
    EXPECT_EQ(AgeRowText(life, 5), "");
    EXPECT_EQ(AgeRowText(life, 10), "11");
    EXPECT_EQ(PillarRowText(life, 0), "庚午");  // 1990
    EXPECT_EQ(BottomRowHeading(life), "歲");
    const FortuneCurve months = Opened(rec, 5, MonthCurve, false, YearPeriod(2024));
    EXPECT_EQ(PillarRowText(months, 0), "丙寅");  // the 寅 month of 2024
    EXPECT_EQ(AgeRowText(months, 0), "2/4");      // 立春 2024
    EXPECT_EQ(ValueText(months, 0), std::to_string(months.Baseline + months.Bars[0].Value));
    // The travel chart names an activity and a feeling instead of a level.
    const FortuneCurve travel = Opened(rec, 7, MonthCurve, false, YearPeriod(2024));
    EXPECT_EQ(FeelingRowText(travel, rec, 0), std::string(TravelLabelText(TravelLabelOfPillar(rec, travel.Bars[0].Pillar)).View()));
}

// A decade the tables do not wholly hold opens as the last one before it that they do.
TEST_F(FortuneCurveTest, TenYearChartsOpenOnADecadeTheTablesHold) {
    ChartRecord& rec = *late_;
    const int last = rec.SolarTerms->LastYear;
    FortuneCurve c = Opened(rec, 1, TenYearCurve, false, YearPeriod(last - 3));
    EXPECT_EQ(c.Period.Year, last - 9);
    c = Opened(rec, 1, TenYearCurve, false, LuckPeriod(11));
    EXPECT_EQ(c.Period.Luck, 9);  // luck pillar 10 would run to 2104
    for (int i = 0; i < c.Count; ++i) EXPECT_LE(rec.Person.year + c.Bars[i].Age - 1, last) << i;
    // The lifetime chart keeps its 120 places but draws nothing for the years past the table.
    c = Opened(rec, 1, LuckCurve, true, LuckPeriod(-1));
    for (int i = 0; i < c.Count; ++i) {
        const bool past = rec.Person.year + i > last;
        EXPECT_EQ(c.Bars[i].OutOfTable, past) << i;
        EXPECT_EQ(ValueText(c, i).empty(), past) << i;
        EXPECT_EQ(FeelingRowText(c, rec, i).empty(), past) << i;
    }
}

TEST_F(FortuneCurveTest, PeriodInForceFollowsTheNominalAge) {
    EXPECT_EQ(PeriodInForce(*late_, 1990, 3).Luck, -1);  // age 1
    EXPECT_EQ(PeriodInForce(*late_, 1995, 3).Luck, 0);   // age 6
    EXPECT_EQ(PeriodInForce(*late_, 2026, 12).Luck, 3);  // age 37
    EXPECT_EQ(PeriodInForce(*late_, 2105, 1).Luck, 10);  // never beyond the last the chart pages to
}

}  // namespace
}  // namespace qv::test

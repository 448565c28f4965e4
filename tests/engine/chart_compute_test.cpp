// Placing a person's pillars into the natal chart: the luck start and pillars,
// and the ages and years of a life that the period walk counts in.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <memory>

#include "charted_person.h"
#include "engine/calendar/calendar.h"
#include "engine/chart/chart_compute.h"
#include "engine/chart/chart_periods.h"
#include "engine/chart/luck.h"
#include "reference_data.h"

namespace qv {
namespace {

PersonRecord Person(int y, int m, int d, int hour, int minute, int sex) {
    PersonRecord p{};
    p.year = static_cast<int16_t>(y);
    p.month = static_cast<int16_t>(m);
    p.day = static_cast<int16_t>(d);
    p.hour = static_cast<int16_t>(hour);
    p.minute = static_cast<int16_t>(minute);
    p.sex = sex;
    return p;
}

class ChartComputeTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(test::BuiltTable(), nullptr);
        rec_ = std::make_unique<ChartRecord>();
        rec_->SolarTerms = test::BuiltTable();
        rec_->Options = DefaultEngineOptions;
        rec_->Scoring = DefaultScoringParameters;
    }
    std::unique_ptr<ChartRecord> rec_;
};

TEST(ConceptionPillarAndLuckDirection, StemOneBranchThreeAfterTheMonthAndYangMenForward) {
    EXPECT_EQ(ConceptionPillar(2), 53);   // 丙寅 -> 丁巳
    EXPECT_EQ(ConceptionPillar(57), 48);  // 辛酉 -> 壬子
    EXPECT_EQ(ConceptionPillar(12), 3);   // 丙子 -> 丁卯
    // Luck runs forward for a man of a yang year and a woman of a yin one.
    EXPECT_TRUE(IsLuckForward(0, 0));
    EXPECT_TRUE(IsLuckForward(1, 1));
    EXPECT_FALSE(IsLuckForward(1, 0));
    EXPECT_FALSE(IsLuckForward(0, 1));
}

TEST_F(ChartComputeTest, PlacesThePillarsAndTheBirthSummary) {
    PillarQuad p{};
    // 1984-02-05 10:30 is after 立春 (4 February): 甲子 year, a yang year; 丙寅
    // month; the day 己巳 (see below), whose 巳 hour is 己巳 too (五鼠遁 from 甲子).
    ASSERT_TRUE(ChartPerson(*rec_, Person(1984, 2, 5, 10, 30, 0), p));
    using Ints = std::vector<int>;
    EXPECT_EQ(Ints(p.Pillar, p.Pillar + 4), (Ints{0, 2, 5, 5}));
    const ChartBlock& n = rec_->Natal;
    EXPECT_EQ(Ints(n.Stem, n.Stem + 4), (Ints{0, 2, 5, 5}));      // 甲 丙 己 己
    EXPECT_EQ(Ints(n.Branch, n.Branch + 4), (Ints{0, 2, 5, 5}));  // 子 寅 巳 巳
    EXPECT_EQ(Ints(n.NaYin, n.NaYin + 4), (Ints{0, 1, 2, 2}));    // 海中金 爐中火 大林木
    EXPECT_EQ(n.YearPolarity, 0);
    EXPECT_EQ(rec_->LuckForward, 1);
    EXPECT_EQ(rec_->Birth.YearStem, 0);
    EXPECT_EQ(rec_->Birth.YearBranch, 0);
    EXPECT_EQ(rec_->BirthTerm, 2);
    // Lunar 1984-01-04.
    EXPECT_EQ(rec_->Birth.LunarYear, 1984);
    EXPECT_EQ(rec_->Birth.LunarMonth, 1);
    EXPECT_EQ(rec_->Birth.LunarDay, 4);
    EXPECT_EQ(std::memcmp(&rec_->Natal, &rec_->Transformed, sizeof(ChartBlock)), 0);
}

TEST_F(ChartComputeTest, UnknownHourShowsTheConceptionPillar) {
    PillarQuad p{};
    ASSERT_TRUE(ChartPerson(*rec_, Person(1984, 2, 20, HourUnknown, 0, 1), p));
    EXPECT_EQ(p.Pillar[MonthPillar], 2);  // 丙寅
    EXPECT_EQ(rec_->Natal.Stem[HourPillar], 3);  // 丁
    EXPECT_EQ(rec_->Natal.Branch[HourPillar], 5);  // 巳
    EXPECT_EQ(rec_->Natal.NaYin[HourPillar], 53 / 2);
    // The pillars themselves keep the noon hour.
    PillarQuad noon{};
    ASSERT_TRUE(ChartPerson(*rec_, Person(1984, 2, 20, 12, 0, 1), noon));
    EXPECT_EQ(p.Pillar[HourPillar], noon.Pillar[HourPillar]);
}

TEST_F(ChartComputeTest, RatHourShiftsTheLunarDayUnderTheCommonRule) {
    PillarQuad p{};
    ASSERT_TRUE(ChartPerson(*rec_, Person(1984, 2, 5, 23, 30, 0), p));
    EXPECT_EQ(rec_->Birth.LunarDay, 5);
    rec_->Options.FirstTimeBase = NightRatHour;
    ASSERT_TRUE(ChartPerson(*rec_, Person(1984, 2, 5, 23, 30, 0), p));
    EXPECT_EQ(rec_->Birth.LunarDay, 4);
}

// The chart program's default rule 0 at 23:30: the day pillar and the lunar
// date of the birth's own date, the hour pillar the next day's 子 hour.
// 1984-02-05 lies 5809 = 96 · 60 + 49 days before the 戊午 (54) of 2000-01-01,
// so it is 54 - 49 = 5, 己巳; the next day 庚午, whose 子 hour is 丙子 (12).
TEST_F(ChartComputeTest, TheChartProgramsEarlyRuleKeepsTheDayAndItsLunarDate) {
    PillarQuad early{};
    rec_->Options = EngineOptions{0, 0, 0, EarlyRatHour, ChartProgramReading};
    ASSERT_TRUE(ChartPerson(*rec_, Person(1984, 2, 5, 23, 30, 0), early));
    EXPECT_EQ(rec_->Birth.LunarDay, 4);
    EXPECT_EQ(early.Pillar[DayPillar], 5);
    EXPECT_EQ(early.Pillar[HourPillar], 12);
}

TEST_F(ChartComputeTest, AFailedConversionLeavesTheChartAsItWas) {
    PillarQuad p{};
    ASSERT_TRUE(ChartPerson(*rec_, Person(1984, 2, 5, 10, 30, 0), p));
    const auto before = std::make_unique<ChartRecord>(*rec_);
    const PillarQuad kept = p;
    EXPECT_FALSE(ChartPerson(*rec_, Person(1984, 2, 30, 10, 30, 1), p));
    EXPECT_FALSE(ChartPerson(*rec_, Person(1700, 1, 1, 10, 30, 1), p));
    for (int sex : {-1, 2, 3}) EXPECT_FALSE(ChartPerson(*rec_, Person(1984, 2, 5, 10, 30, sex), p)) << sex;
    EXPECT_EQ(std::memcmp(rec_.get(), before.get(), sizeof(ChartRecord)), 0);
    EXPECT_EQ(std::memcmp(&p, &kept, sizeof p), 0);
}

// 1990: new year 27 January, 立春 4 February; 1996: 立春 4 February, new year 19 February.
TEST_F(ChartComputeTest, TheBirthYearBoundaryMarksALunarYearApartFromThePillarsYear) {
    struct Case {
        int Year, Month, Day, LunarYear, PillarYear, Boundary;
    } const cases[] = {
        {1990, 1, 26, 1989, 1989, 0}, {1990, 2, 1, 1990, 1989, 1}, {1990, 2, 5, 1990, 1990, 0},
        {1996, 2, 3, 1995, 1995, 0},  {1996, 2, 10, 1995, 1996, 2}, {1996, 2, 20, 1996, 1996, 0},
    };
    for (const Case& c : cases) {
        PillarQuad p{};
        ASSERT_TRUE(ChartPerson(*rec_, Person(c.Year, c.Month, c.Day, 12, 0, 0), p));
        EXPECT_EQ(rec_->Birth.LunarYear, c.LunarYear) << c.Month << "/" << c.Day;
        EXPECT_EQ(p.Pillar[YearPillar], (c.PillarYear - 4) % 60) << c.Month << "/" << c.Day;
        EXPECT_EQ(rec_->BirthYearBoundary, c.Boundary) << c.Year << "-" << c.Month << "-" << c.Day;
    }
}

TEST_F(ChartComputeTest, BirthsBeforeTheLunarTableStillGetPillars) {
    PillarQuad p{};
    ASSERT_TRUE(ChartPerson(*rec_, Person(1850, 6, 1, 8, 0, 0), p));
    EXPECT_EQ(rec_->Birth.LunarYear, 0);
    EXPECT_EQ(rec_->BirthYearBoundary, 0);
    EXPECT_EQ(p.Pillar[YearPillar], (1850 - 4) % 60);
}

// Three days make one year; half a year rounds the age up but not the span.
TEST(LuckStart, ThreeDaysMakeOneYearAndHalfAYearRoundsOnlyTheAge) {
    struct Case {
        int Days, Hours, OffsetDays, Years, Months, SpanDays;
    };
    for (Case c : {Case{3, 0, 365, 1, 0, 5}, Case{1, 12, 182, 0, 6, 2}}) {
        const LuckSpan span = LuckSpanOf(c.Days, c.Hours, 0);
        EXPECT_EQ(span.OffsetDays, c.OffsetDays) << c.Days;
        EXPECT_EQ(span.Years, c.Years) << c.Days;
        EXPECT_EQ(span.Months, c.Months) << c.Days;
        EXPECT_EQ(span.Days, c.SpanDays) << c.Days;
        EXPECT_EQ(LuckStartAgeOf(span), 2) << c.Days;
    }
}

TEST(LuckPillars, StepFromTheMonthPillar) {
    ChartBlock block{};
    BuildLuckPillars(block, 0, false, 0, 0, true);  // backward from 甲子
    EXPECT_EQ(SexagenaryOf(block.LuckStem[0], block.LuckBranch[0]), 59);  // 癸亥
    EXPECT_EQ(SexagenaryOf(block.LuckStem[1], block.LuckBranch[1]), 58);  // 壬戌
    EXPECT_EQ(SexagenaryOf(block.LuckStem[2], block.LuckBranch[2]), 57);  // 辛酉
    BuildLuckPillars(block, 0, true, 0, 0, true);
    EXPECT_EQ(SexagenaryOf(block.LuckStem[0], block.LuckBranch[0]), 1);  // 乙丑
    EXPECT_EQ(block.LuckStemGod[0], 1);    // 乙 from 甲: 劫財
    EXPECT_EQ(block.LuckBranchGod[0], 7);  // 丑's 己 from 甲: 正財
}

TEST(LuckTexts, ChangeStartAndSpan) {
    ChartBlock block{};
    block.LuckChangeStem[0] = 6;
    block.LuckChangeStem[1] = 1;
    block.LuckStartTerm[0] = 2;
    block.LuckStartTerm[1] = 12;
    block.LuckStartSpan[0] = 3;
    block.LuckStartSpan[1] = 4;
    block.LuckStartSpan[2] = 5;
    EXPECT_EQ(LuckChangeText(block).View(), "每逢庚或乙年");
    EXPECT_EQ(LuckStartTermText(block).View(), "立春後 12天交大運");
    EXPECT_EQ(LuckSpanText(block).View(), "出生後3年4月5日交大運");
}

TEST(AgesOfALife, AgeAndYearFollowTheBirthYearBoundary) {
    auto rec = test::ChartedPerson(1990, 2, 4, 9, 5, 0);
    ASSERT_TRUE(rec);
    // boundary value, lunar year, its nominal age: born in lunar 1990, counted from 1989 before 立春
    for (auto [boundary, year, age] : {std::array{0, 1990, 1}, {0, 2026, 37}, {1, 1990, 2}, {1, 2026, 38}, {2, 1990, 0}}) {
        rec->BirthYearBoundary = static_cast<uint8_t>(boundary);
        EXPECT_EQ(AgeInYear(*rec, year), age) << boundary << " " << year;
        EXPECT_EQ(YearOfAge(*rec, age), year) << boundary << " " << age;
    }
    EXPECT_EQ(YearPillarOf(1984), 0);   // 甲子
    EXPECT_EQ(YearPillarOf(2026), 42);  // 丙午
    EXPECT_EQ(YearPillarOf(1983), 59);  // 癸亥
}

TEST(NominalAge, CountsLunarYearsAndFollowsTheYearPillarAtTheSpringStart) {
    // Lunar 1990-01-09 but before 立春: the 己巳 year of 1989 is age 1.
    auto rec = test::ChartedPerson(1990, 2, 4, 9, 5, 0);
    ASSERT_TRUE(rec);
    ASSERT_EQ(rec->Birth.LunarYear, 1990);
    ASSERT_EQ(rec->BirthYearBoundary, 1);
    EXPECT_EQ(CurrentNominalAge(*rec, {2026, 12, 7}), 38);
    EXPECT_EQ(CurrentNominalAge(*rec, {2026, 1, 20}), 37);   // lunar 2025, pillar 乙巳
    EXPECT_EQ(CurrentNominalAge(*rec, {2026, 2, 10}), 38);   // after 立春, before the new year on 17 February
    EXPECT_EQ(CurrentNominalAge(*rec, {2026, 2, 20}), 38);
    rec->BirthYearBoundary = 0;
    EXPECT_EQ(CurrentNominalAge(*rec, {2026, 12, 7}), 37);
    rec->BirthYearBoundary = 2;
    EXPECT_EQ(CurrentNominalAge(*rec, {2026, 12, 7}), 36);
}

}  // namespace
}  // namespace qv

// Placing a person's pillars into the natal chart.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "engine/calendar/calendar.h"
#include "engine/chart/chart_compute.h"
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

TEST(ConceptionPillar, StemOneBranchThreeAfterTheMonth) {
    EXPECT_EQ(ConceptionPillar(2), 53);   // 丙寅 -> 丁巳
    EXPECT_EQ(ConceptionPillar(57), 48);  // 辛酉 -> 壬子
    EXPECT_EQ(ConceptionPillar(12), 3);   // 丙子 -> 丁卯
}

TEST(LuckDirection, YangMaleAndYinFemaleRunForward) {
    EXPECT_TRUE(IsLuckForward(0, 0));
    EXPECT_TRUE(IsLuckForward(1, 1));
    EXPECT_FALSE(IsLuckForward(1, 0));
    EXPECT_FALSE(IsLuckForward(0, 1));
}

TEST_F(ChartComputeTest, PlacesThePillarsAndTheBirthSummary) {
    PillarQuad p{};
    // 1984-02-05 10:30 is after 立春 (4 February): 甲子 year, a yang year.
    ASSERT_TRUE(ChartPerson(*rec_, Person(1984, 2, 5, 10, 30, 0), p));
    EXPECT_EQ(p.Pillar[YearPillar], 0);
    const ChartBlock& n = rec_->Natal;
    for (int slot = 0; slot < 4; ++slot) {
        EXPECT_EQ(n.Stem[slot], p.Pillar[slot] % 10);
        EXPECT_EQ(n.Branch[slot], p.Pillar[slot] % 12);
        EXPECT_EQ(n.NaYin[slot], p.Pillar[slot] / 2);
    }
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

}  // namespace
}  // namespace qv

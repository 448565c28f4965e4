// Fortune values of period pillars: the hand-worked stem evaluation, the
// category parts and their mixing, the tables of luck pillars, years, months
// and days, and properties over many people.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>

#include "engine/calendar/calendar.h"
#include "chart_builder.h"
#include "charted_person.h"
#include "engine/analysis/combinations.h"
#include "engine/fortune/fortune.h"
#include "engine/chart/ganzhi.h"
#include "engine/fortune/levels.h"
#include "reference_data.h"

namespace qv {
namespace {

using namespace gz;

// A person charted from the birth moment, with every luck and year table.
std::unique_ptr<ChartRecord> PersonChart(int y, int m, int d, int hour, int minute, int sex) {
    auto rec = test::ChartedPerson(y, m, d, hour, minute, sex);
    if (rec) ComputeFortuneTables(*rec);
    return rec;
}

// 甲子 丙寅 甲子 甲子 under a period 庚午 stem: 庚 meets no 乙, so every natal
// stem feels metal: 甲 is controlled (16 - 7 each), 丙 controls it (16 - 2).
// Hidden stems: 癸 of each 子 (16 points, produced by metal) grows by 7/9;
// in 寅, 甲 8 shrinks by 7/9, 丙 5 by 2/9, 戊 3 by 4/9.
// Totals: 木 27 + 1.78 = 29, 火 14 + 3.89 = 18, 土 1.67 = 2, 金 16, 水 85.33 = 85
// against the natal 木 56, 火 21, 土 3, 金 0, 水 48. With the roles 金 土 火 木 水
// the period value is the favourable changes less the unfavourable ones:
// 金 16 + 土 (-1) - 木 (-27) - 水 37 = 5.
TEST(EvaluateStem, WorkedPeriodStemWithoutCombination) {
    auto rec = test::ChartOf("甲子 丙寅 甲子 甲子");
    ASSERT_EQ(std::vector<int>(rec->Natal.Roles, rec->Natal.Roles + 5), (std::vector<int>{金, 土, 火, 木, 水}));
    const ChartBlock natal = rec->Natal;
    EvaluateStem(*rec, 庚, 午, true);
    const ChartBlock& w = rec->Scratch;
    EXPECT_EQ(w.StemScore[甲], 29);
    EXPECT_EQ(w.StemScore[丙], 18);
    EXPECT_EQ(w.StemScore[戊], 2);
    EXPECT_EQ(w.StemScore[庚], 16);
    EXPECT_EQ(w.StemScore[癸], 85);
    EXPECT_EQ(w.PeriodValue, 5);
    EXPECT_EQ(std::memcmp(&natal, &rec->Natal, sizeof natal), 0);
}

// 乙 under 庚: the one natal 乙 (n = 1, m = 0) transforms into metal when the
// branches allow it (乙 over 酉 with 庚 over 辰), else nothing happens; two
// natal 乙 that are no pair themselves halve the first and the period stem.
TEST(EvaluateStem, CombinationWithTheOneNatalPartner) {
    auto rec = test::ChartOf("甲子 乙酉 甲子 甲子");
    EvaluateStem(*rec, 庚, 辰, true);
    EXPECT_EQ(rec->Scratch.Stem[MonthPillar], 辛);
    EXPECT_EQ(rec->Scratch.StemElement[MonthPillar], 金);
    EXPECT_EQ(rec->Scratch.StemUnion[MonthPillar], 金);

    EvaluateStem(*rec, 庚, 午, true);  // 酉 and 午 do not transform
    EXPECT_EQ(rec->Scratch.Stem[MonthPillar], 乙);
    EXPECT_EQ(rec->Scratch.StemUnion[MonthPillar], NoRelation);
    EXPECT_EQ(rec->Scratch.StemScore[庚], 16);

    auto two = test::ChartOf("乙酉 乙酉 甲子 甲子");
    EvaluateStem(*two, 庚, 午, true);
    EXPECT_EQ(two->Scratch.StemScore[庚], 8);
    // The year 乙 halves (8); the month 乙 is controlled by metal (16 - 7).
    EXPECT_EQ(two->Scratch.StemScore[乙], 8 + 9);
}

TEST(EvaluateBranch, PeriodBranchIsAFifthBranch) {
    auto rec = test::ChartOf("甲申 丙子 乙卯 丁丑");
    EvaluateBranch(*rec, 甲, 辰, true, WholeBranch);  // 申 子 辰: the water trio
    EXPECT_EQ(rec->Scratch.BranchRelation[4], HarmonyTrio);
    EXPECT_EQ(rec->Scratch.BranchRelation[YearPillar], HarmonyTrio);
    EXPECT_EQ(rec->Scratch.BranchRelation[MonthPillar], HarmonyTrio);
    EvaluateBranch(*rec, 甲, 午, true, WholeBranch);  // 午 clashes the month's 子
    EXPECT_EQ(rec->Scratch.BranchRelation[4], Clash);
    EXPECT_EQ(rec->Scratch.BranchRelation[MonthPillar], Clash);
    EvaluateBranch(*rec, 甲, 寅, true, WholeBranch);  // 寅 卯: half the eastern direction
    EXPECT_EQ(rec->Scratch.BranchRelation[4], HalfDirectional);
    EXPECT_EQ(rec->Scratch.BranchRelation[DayPillar], HalfDirectional);
    EXPECT_EQ(rec->Scratch.BranchRelation[MonthPillar], NoRelation);
}

TEST(CommandStem, LimitsAndTies) {
    // On a limit within its first hour the earlier stem holds; 卯 has no third stem.
    const int cases[][4] = {{1, 6, 23, 戊}, {1, 7, 0, 戊}, {1, 7, 1, 丙},  {1, 14, 0, 丙},  {1, 14, 5, 甲},
                            {2, 25, 0, 乙}, {5, 19, 0, 己}, {5, 20, 0, 丁}, {12, 3, 0, 癸}, {12, 29, 0, 己}};
    for (const auto& c : cases)
        EXPECT_EQ(CommandStem(MonthPart{c[0], c[1], c[2]}), c[3]) << c[0] << "/" << c[1] << " " << c[2];
}

// Career of the strong 甲 of 甲子 丙寅 甲子 甲子 (roles 金 土 火 木 水, so wood and
// water judge -1), worked from the strong row 比肩 10 劫財 -10 偏印 -30 正印 -20
// 七殺 40 正官 50 偏財 -50 正財 -40 食神 30 傷官 20 and the month 寅 and day 子:
//   午: 丁 傷官 20; 寅 wood produces fire, unfavourable +30; 子 clashed, +30: 80
//   寅: 甲 比肩 10; 寅 the same wood -30; 子 produces wood, unfavourable +30: 10
//   辰: 戊 偏財 -50; 寅 controls earth +30; 子 is controlled by it +30: 10
// The stem's share w of ((10 - w) · branch + w · stem + 5) / 10, truncated:
//   甲午 w 3: (560 + 30 + 5) / 10 = 59     丙寅 (食神 30) w 7: (30 + 210 + 5) / 10 = 24
//   甲辰 w 6: (40 + 60 + 5) / 10 = 10      戊寅 (偏財 -50) w 4: (60 - 200 + 5) / 10 = -13
//   甲寅 w 5: (50 + 50 + 5) / 10 = 10
// Travel has no stem part: both 子 clashed by 午 gain 30 each.
TEST(PillarValue, StemShareByHowTheElementsMeet) {
    auto rec = test::ChartOf("甲子 丙寅 甲子 甲子");
    ASSERT_EQ(rec->Natal.IsStrong, 1);
    const struct {
        int Category, Stem, Branch, Value;
    } cases[] = {
        {CareerCategory, 甲, 午, 59}, {CareerCategory, 丙, 寅, 24}, {CareerCategory, 甲, 辰, 10},
        {CareerCategory, 戊, 寅, -13}, {CareerCategory, 甲, 寅, 10}, {TravelCategory, 甲, 午, 60},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PillarValue(*rec, c.Category, c.Stem, c.Branch), c.Value) << c.Stem << " " << c.Branch;
}

// The strong 甲 of 甲子 丙寅 甲子 甲子: career reads the month 寅 (比肩 10) and day
// 子 (正印 -20): (-10 + 5) / 10 = 0, truncated. Travel reads the year and day
// 子 (正印 -50 each in its strong row) and adds 30 for the road branch 寅 under
// the month: -70.
TEST(CategoryBaseline, CareerFromMonthAndDayBranches) {
    auto rec = test::ChartOf("甲子 丙寅 甲子 甲子");
    ASSERT_EQ(rec->Natal.IsStrong, 1);
    EXPECT_EQ(CategoryTableValue(*rec, CareerCategory, 0), 10);
    EXPECT_EQ(CategoryTableValue(*rec, CareerCategory, 3), -20);
    EXPECT_EQ(CategoryBaseline(*rec, CareerCategory), 0);
    EXPECT_EQ(CategoryBaseline(*rec, OverallCategory), 0);
    EXPECT_EQ(CategoryBaseline(*rec, TravelCategory), -70);
}

// Career looks at the month 寅 and day 子 branches of 甲子 丙寅 甲子 甲子, whose
// wood and water are unfavourable. 亥 (壬 偏印 -30): a six harmony with 寅
// judged as wood, -50; with 子 the same element, unfavourable -30: -110.
// 午 (丁 傷官 20): clashes 子, +30; 寅 wood produces fire, +30: 80. Travel
// looks at the year and day 子 only, both clashed: 60, with no stem part.
TEST(CategoryParts, BranchAdjustmentAgainstTheNatalBranches) {
    auto rec = test::ChartOf("甲子 丙寅 甲子 甲子");
    EXPECT_EQ(CategoryParts(*rec, CareerCategory, 甲, 亥).Branch, -110);
    EXPECT_EQ(CategoryParts(*rec, CareerCategory, 甲, 午).Branch, 80);
    EXPECT_EQ(CategoryParts(*rec, TravelCategory, 甲, 午).Branch, 60);
    EXPECT_EQ(CategoryParts(*rec, TravelCategory, 甲, 午).Stem, 0);
}

TEST(CategoryParts, LoveRowsFollowStrengthAndSex) {
    auto male = test::ChartOf("甲子 丙寅 甲子 甲子", 0);
    auto female = test::ChartOf("甲子 丙寅 甲子 甲子", 1);
    const int strong = male->Natal.IsStrong;
    // 七殺 (庚 for 甲): rows 0/1 male, 2/3 female.
    const int male7[2] = {-50, 10}, female7[2] = {-50, 40};
    EXPECT_EQ(CategoryTableValue(*male, LoveCategory, 4), male7[strong]);
    EXPECT_EQ(CategoryTableValue(*female, LoveCategory, 4), female7[strong]);
    // Every category and ten god with either sex stays within its table (the sanitizer build watches the rows).
    for (auto* rec : {male.get(), female.get()}) {
        for (int category = 0; category <= 15; ++category)
            for (int god = -1; god <= 10; ++god) EXPECT_LE(std::abs(CategoryTableValue(*rec, category, god)), 50);
        ComputeFortuneTables(*rec);
    }
}

class FortuneTables : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(test::BuiltTable(), nullptr); }
};

TEST_F(FortuneTables, MonthsBeforeBirthAreUnborn) {
    auto rec = PersonChart(1988, 6, 15, 9, 40, 1);
    ASSERT_TRUE(rec);
    for (int category : FortuneCategories) {
        ASSERT_TRUE(ComputeMonthValues(*rec, category, 1988));
        const FortuneSet& set = *FortuneSetOf(*rec, category);
        // 寅 卯 辰 巳 end before 15 June; the 午 month (from 5 June) holds the birth.
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(set.MonthValue[i], UnbornValue);
            EXPECT_EQ(set.MonthDelta[i], 0);
        }
        EXPECT_NE(set.MonthValue[4], UnbornValue);
        EXPECT_EQ(set.MonthDelta[4], set.MonthValue[4] - set.PreviousValue[1]);
        EXPECT_EQ(set.MonthDelta[5], set.MonthValue[5] - set.MonthValue[4]);
    }
    ASSERT_TRUE(ComputeDayValues(*rec, OverallCategory, 1988, 6));
    const FortuneSet& set = *FortuneSetOf(*rec, OverallCategory);
    EXPECT_EQ(set.DayCount, 30);
    for (int d = 0; d < 14; ++d) EXPECT_EQ(set.DayValue[d], UnbornValue);
    EXPECT_NE(set.DayValue[14], UnbornValue);
    EXPECT_EQ(set.DayDelta[14], 0);  // nothing before the birth day to compare with
    EXPECT_EQ(set.DayDelta[15], set.DayValue[15] - set.DayValue[14]);
}

TEST_F(FortuneTables, PeriodsOutsideTheTableLeaveTheTablesAlone) {
    auto rec = PersonChart(1988, 6, 15, 9, 40, 1);
    ASSERT_TRUE(rec);
    ASSERT_TRUE(ComputeMonthValues(*rec, OverallCategory, 2000));
    ASSERT_TRUE(ComputeDayValues(*rec, OverallCategory, 2000, 2));
    const FortuneSet before = *FortuneSetOf(*rec, OverallCategory);
    const int beyond = test::BuiltTable()->LastYear + 1;
    EXPECT_FALSE(ComputeMonthValues(*rec, OverallCategory, beyond));
    EXPECT_FALSE(ComputeDayValues(*rec, OverallCategory, beyond, 3));
    EXPECT_FALSE(ComputeDayValues(*rec, OverallCategory, 2000, 13));
    EXPECT_EQ(std::memcmp(&before, FortuneSetOf(*rec, OverallCategory), sizeof before), 0);
    // Years beyond the table count 0.
    auto late = PersonChart(test::BuiltTable()->LastYear - 5, 3, 1, 10, 0, 0);
    ASSERT_TRUE(late);
    EXPECT_EQ(FortuneSetOf(*late, OverallCategory)->YearValue[10], 0);
}

TEST_F(FortuneTables, TenYearsFollowTheChosenLuckPillar) {
    auto rec = PersonChart(1975, 11, 2, 23, 10, 0);
    ASSERT_TRUE(rec);
    const FortuneSet& set = *FortuneSetOf(*rec, WealthCategory);
    ComputeTenYearValues(*rec, WealthCategory, -1);
    EXPECT_EQ(set.TenYearDelta[0], 0);
    EXPECT_EQ(set.PreviousValue[0], 0);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(set.TenYearValue[i], set.YearValue[i]);
    ComputeTenYearValues(*rec, WealthCategory, 2);
    const int start = rec->Natal.LuckStartAge - 1 + 20;
    EXPECT_EQ(set.TenYearValue[0], set.YearValue[start]);
    EXPECT_EQ(set.PreviousValue[0], set.YearValue[start - 1]);
    EXPECT_EQ(set.TenYearDelta[0], set.YearValue[start] - set.YearValue[start - 1]);
    EXPECT_EQ(set.TenYearDelta[9], set.YearValue[start + 9] - set.YearValue[start + 8]);
}

// Random people: values stay within what the formulas allow, the tables
// repeat exactly, and the natal chart is never touched.
TEST_F(FortuneTables, PropertiesOverManyPeople) {
    std::mt19937 rng(8);
    int startsAtOne = 0;
    for (int n = 0; n < 150; ++n) {
        const int year = 1900 + static_cast<int>(rng() % 200), month = 1 + static_cast<int>(rng() % 12);
        const int day = 1 + static_cast<int>(rng() % 28), hour = static_cast<int>(rng() % 24);
        auto rec = PersonChart(year, month, day, hour, static_cast<int>(rng() % 60), static_cast<int>(rng() % 2));
        if (!rec) continue;
        const ChartBlock natal = rec->Natal, transformed = rec->Transformed;
        const int showYear = year + static_cast<int>(rng() % 40);
        const bool months = ComputeMonthValues(*rec, OverallCategory, showYear);
        const bool days = ComputeDayValues(*rec, LoveCategory, showYear, 1 + static_cast<int>(rng() % 12));
        EXPECT_EQ(std::memcmp(&natal, &rec->Natal, sizeof natal), 0);
        EXPECT_EQ(std::memcmp(&transformed, &rec->Transformed, sizeof natal), 0);

        auto again = std::make_unique<ChartRecord>(*rec);
        ComputeFortuneTables(*again);
        if (months) ComputeMonthValues(*again, OverallCategory, showYear);
        EXPECT_EQ(std::memcmp(again->Fortunes, rec->Fortunes, sizeof rec->Fortunes), 0);

        startsAtOne += natal.LuckStartAge == 1;
        for (int category : FortuneCategories) {
            const FortuneSet& set = *FortuneSetOf(*rec, category);
            const int bound = category == OverallCategory ? 400 : 200;
            for (int16_t v : set.LuckValue) EXPECT_LE(std::abs(v), bound);
            for (int16_t v : set.YearValue) EXPECT_LE(std::abs(v), bound);
        }
        const FortuneSet& overall = *FortuneSetOf(*rec, OverallCategory);
        if (months) {
            for (int16_t v : overall.MonthValue) EXPECT_TRUE(v == UnbornValue || std::abs(v) <= 400);
        }
        if (days) {
            const FortuneSet& love = *FortuneSetOf(*rec, LoveCategory);
            for (int d = 0; d < love.DayCount; ++d) {
                EXPECT_TRUE(love.DayValue[d] == UnbornValue || std::abs(love.DayValue[d]) <= 200);
            }
        }
    }
    EXPECT_GT(startsAtOne, 0) << "no person whose luck starts at age 1";
    // The year of age 1 is the one whose pillar the birth has: the Gregorian year before it ahead of 立春.
    EXPECT_EQ(BirthSolarYear(*PersonChart(1990, 2, 4, 9, 5, 0)), 1989);
    EXPECT_EQ(BirthSolarYear(*PersonChart(1990, 2, 4, 11, 0, 0)), 1990);
}

TEST(FortuneSetOf, HealthAndFourteenDrawTheOverallValues) {
    ChartRecord rec{};
    EXPECT_EQ(FortuneSetOf(rec, HealthCategory), FortuneSetOf(rec, OverallCategory));
    EXPECT_EQ(FortuneSetOf(rec, Category14), FortuneSetOf(rec, OverallCategory));
    EXPECT_EQ(FortuneSetOf(rec, 2), nullptr);
    EXPECT_NE(FortuneSetOf(rec, TravelCategory), FortuneSetOf(rec, LoveCategory));
}

}  // namespace
}  // namespace qv

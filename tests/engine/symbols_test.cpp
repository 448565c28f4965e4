// Hidden stems, ten gods, stages, Na Yin, seasons, factors and void branches.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <random>

#include "engine/calendar/calendar.h"
#include "chart_builder.h"
#include "reference_data.h"
#include "engine/chart/symbols.h"

namespace qv {
namespace {

TEST(TenGods, FromAJiaDayMaster) {
    const int expected[10] = {0, 1, 8, 9, 6, 7, 4, 5, 2, 3};  // 比肩 劫財 食神 傷官 偏財 正財 七殺 正官 偏印 正印
    for (int s = 0; s < 10; ++s) EXPECT_EQ(TenGod(0, s), expected[s]) << s;
    for (int d = 0; d < 10; ++d) {
        EXPECT_EQ(TenGod(d, d), 0);
        EXPECT_EQ(TenGod(d, d ^ 1), 1);
    }
}

TEST(Stages, StartAndPeakOfJiaAndYi) {
    EXPECT_EQ(StageOf(0, 11), 0);  // 甲 長生 at 亥
    EXPECT_EQ(StageOf(0, 3), 4);   // 帝旺 at 卯
    EXPECT_EQ(StageOf(1, 6), 0);   // 乙 長生 at 午
    EXPECT_EQ(StageOf(1, 2), 4);   // 帝旺 at 寅
}

TEST(HiddenStems, SecondStemsOfZiMaoYouFollowTheOption) {
    auto one = test::NatalOf("甲子 丙寅 甲子 甲子", EngineOptions{0, 0, 0, 1, MainProgramReading});
    EXPECT_EQ(one->Natal.HiddenStem[YearPillar][0], 10);  // 癸
    EXPECT_EQ(one->Natal.HiddenStem[YearPillar][1], 0);
    EXPECT_EQ(one->Natal.HiddenElement[YearPillar][1], NotApplicable);
    EXPECT_EQ(one->Natal.HiddenGod[YearPillar][1], NotApplicable);
    EXPECT_EQ(one->Natal.StemGod[DayPillar], NotApplicable);
    auto two = test::NatalOf("甲子 丙寅 甲子 甲子", EngineOptions{0, 1, 0, 1, MainProgramReading});
    EXPECT_EQ(two->Natal.HiddenStem[YearPillar][1], 9);  // 壬
    EXPECT_EQ(two->Natal.HiddenGod[YearPillar][1], TenGod(0, 8));
}

TEST(HiddenFactors, ByBranchKindAndMonth) {
    auto rec = test::NatalOf("甲寅 庚午 甲午 乙亥");
    const auto& f = rec->Natal.HiddenFactor;
    EXPECT_EQ(f[YearPillar][0] + 0, 8);
    EXPECT_EQ(f[YearPillar][2] + 0, 3);
    EXPECT_EQ(f[MonthPillar][0] + 0, 24);  // 午 with one stem, month column
    EXPECT_EQ(f[MonthPillar][1] + 0, 0);   // 己 listed but weightless
    EXPECT_EQ(rec->Natal.HiddenStem[MonthPillar][1], 6);
    EXPECT_EQ(f[DayPillar][0] + 0, 16);
    EXPECT_EQ(f[HourPillar][0] + 0, 11);  // 亥
    EXPECT_EQ(f[HourPillar][1] + 0, 5);
}

TEST(Symbols, NaYinSeasonAndRelations) {
    EXPECT_EQ(StringText(text_base::NaYin + 26), "沙中金");
    EXPECT_EQ(StringText(text_base::NaYin + 15), "沙中金");
    // stem, branch, element of its Na Yin: 甲子 海中金, 乙丑, 丙寅 爐中火, 癸亥 大海水, 戊辰 大林木, 庚午 路旁土
    for (auto [stem, branch, element] : {std::array{0, 0, 4}, {1, 1, 4}, {2, 2, 2}, {9, 11, 0}, {4, 4, 1}, {6, 6, 3}})
        EXPECT_EQ(NaYinElement(stem, branch), element) << stem << " " << branch;
    auto rec = test::NatalOf("甲子 丙寅 甲子 甲子");
    const uint8_t spring[5] = {1, 2, 0, 4, 3};
    EXPECT_EQ(std::memcmp(rec->Natal.SeasonElement, spring, 5), 0);
    const uint8_t relations[5] = {1, 2, 0, 4, 3};  // 木: self, output 火, resource 水, officer 金, wealth 土
    EXPECT_EQ(std::memcmp(rec->Natal.RelationElement, relations, 5), 0);
}

TEST(VoidMarks, YearAndDayDecades) {
    auto rec = test::NatalOf("甲戌 丙寅 甲寅 甲子");
    FillVoidMarks(*rec);
    for (int b = 0; b < 12; ++b) {
        const bool expected = b == 8 || b == 9 || b == 0 || b == 1;  // 申酉 from 甲戌, 子丑 from 甲寅
        EXPECT_EQ(rec->VoidMarks[b], expected ? NotApplicable : 0) << b;
    }
}

TEST(NatalChart, RandomBirthsKeepTheInvariants) {
    ASSERT_NE(test::BuiltTable(), nullptr);
    std::mt19937 rng(11);
    auto rec = std::make_unique<ChartRecord>();
    rec->SolarTerms = test::BuiltTable();
    for (int i = 0; i < 3000; ++i) {
        rec->Options = EngineOptions{static_cast<int16_t>(rng() % 2), static_cast<int16_t>(rng() % 2),
                                     static_cast<int16_t>(rng() % 2), static_cast<int16_t>(rng() % 3), MainProgramReading};
        PersonRecord p{};
        p.year = static_cast<int16_t>(1850 + rng() % 240);
        p.month = static_cast<int16_t>(1 + rng() % 12);
        p.day = static_cast<int16_t>(1 + rng() % 28);
        p.hour = static_cast<int16_t>(rng() % 5 == 0 ? HourUnknown : rng() % 24);
        p.minute = static_cast<int16_t>(rng() % 60);
        p.sex = static_cast<int32_t>(rng() % 2);
        PillarQuad q{};
        ASSERT_TRUE(ChartPerson(*rec, p, q));
        const ChartBlock& n = rec->Natal;
        const int step = rec->LuckForward ? 1 : -1;
        EXPECT_EQ(n.LuckStem[0], (n.Stem[MonthPillar] + 10 + step) % 10);
        for (int k = 1; k < 12; ++k) {
            EXPECT_EQ(n.LuckStem[k], (n.LuckStem[k - 1] + 10 + step) % 10);
            EXPECT_EQ(n.LuckBranch[k], (n.LuckBranch[k - 1] + 12 + step) % 12);
        }
        EXPECT_EQ(n.LuckStartAgeMid, n.LuckStartAge + 5);
        int voids = 0;
        for (uint8_t v : rec->VoidMarks) voids += v == NotApplicable;
        const bool sameDecade = (n.Branch[0] - n.Stem[0] + 12) % 12 == (n.Branch[2] - n.Stem[2] + 12) % 12;
        EXPECT_EQ(voids, sameDecade ? 2 : 4);
    }
}

TEST(NatalChart, NoValueOfThePreviousPersonSurvives) {
    ASSERT_NE(test::BuiltTable(), nullptr);
    PersonRecord first{}, second{};
    first = PersonRecord{{}, 1962, 8, 8, 0, 14, 30, 0, 0, 0, 0, 0, 0, {}, {}, {}};
    second = PersonRecord{{}, 2001, 3, 9, 0, HourUnknown, 0, 0, 0, 0, 0, 1, 0, {}, {}, {}};
    auto fresh = std::make_unique<ChartRecord>();
    fresh->SolarTerms = test::BuiltTable();
    fresh->Options = EngineOptions{0, 1, 0, 1, MainProgramReading};
    auto reused = std::make_unique<ChartRecord>(*fresh);
    PillarQuad q{};
    ASSERT_TRUE(ChartPerson(*reused, first, q));
    ASSERT_TRUE(ChartPerson(*reused, second, q));
    ASSERT_TRUE(ChartPerson(*fresh, second, q));
    EXPECT_EQ(std::memcmp(&reused->Natal, &fresh->Natal, sizeof(ChartBlock)), 0);
    EXPECT_EQ(std::memcmp(&reused->Transformed, &fresh->Transformed, sizeof(ChartBlock)), 0);
    EXPECT_EQ(std::memcmp(reused->VoidMarks, fresh->VoidMarks, 12), 0);
}

}  // namespace
}  // namespace qv

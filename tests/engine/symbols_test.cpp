// Hidden stems, ten gods, stages, Na Yin, seasons, factors and void branches;
// the forty spirits, each with a chart that carries it and a near miss.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <random>

#include "engine/calendar/calendar.h"
#include "chart_builder.h"
#include "engine/chart/spirits.h"
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

TEST(NatalChart, RandomBirthsChartUnderAnyOptionsWithTwoOrFourVoidBranches) {
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

struct SpiritCase {
    const char* Pillars;
    Spirit Which;
    int Pillar;
    bool Carried;
    int16_t GodBase = 0;
    int16_t PoolBase = 0;
    int BirthTerm = 0;
};

class SpiritCases : public ::testing::TestWithParam<SpiritCase> {};

TEST_P(SpiritCases, CarriedOrNot) {
    const SpiritCase& c = GetParam();
    const auto rec = test::NatalOf(c.Pillars, EngineOptions{c.GodBase, 0, c.PoolBase, CommonRatHour, MainProgramReading}, c.BirthTerm);
    EXPECT_EQ(HasSpirit(rec->Natal, c.Pillar, c.Which), c.Carried)
        << SpiritName(c.Which) << " on pillar " << c.Pillar << " of " << c.Pillars;
}

constexpr int Y = YearPillar, M = MonthPillar, D = DayPillar, H = HourPillar;

const SpiritCase ByDayPillarCases[] = {
    SpiritCase{"庚午 戊寅 甲子 甲子", 三奇貴人, D, true}, SpiritCase{"辛未 戊寅 甲子 甲子", 三奇貴人, D, false},
    SpiritCase{"甲子 丙寅 庚辰 甲子", 魁罡貴人, D, true}, SpiritCase{"甲子 丙寅 庚午 甲子", 魁罡貴人, D, false},
    SpiritCase{"甲子 己巳 乙丑 甲子", 金神, D, true}, SpiritCase{"甲子 壬申 乙丑 甲子", 金神, D, false},
    SpiritCase{"甲子 己巳 甲子 己巳", 金神, H, true}, SpiritCase{"甲子 己巳 丙子 己巳", 金神, H, false},
    SpiritCase{"甲子 丙寅 丙子 甲子", 六秀, D, true}, SpiritCase{"甲子 丙寅 庚子 甲子", 六秀, D, false},
    SpiritCase{"甲子 丙寅 甲辰 甲子", 十靈, D, true}, SpiritCase{"甲子 丙寅 己巳 甲子", 十靈, D, false},
    SpiritCase{"甲子 丙寅 庚戌 甲子", 十靈, D, true}, SpiritCase{"甲子 丙寅 庚戌 甲子", 魁罡貴人, D, true},
    SpiritCase{"甲子 丙寅 庚辰 甲子", 十靈, D, false},
    SpiritCase{"甲子 丙寅 乙卯 甲子", 天轉, D, true}, SpiritCase{"甲子 己巳 乙卯 甲子", 天轉, D, false},
    SpiritCase{"甲子 丙寅 辛卯 甲子", 地轉, D, true}, SpiritCase{"甲子 己巳 辛卯 甲子", 地轉, D, false},
    SpiritCase{"甲子 丙寅 庚申 甲子", 四廢, D, true}, SpiritCase{"甲子 己巳 庚申 甲子", 四廢, D, false}};

const SpiritCase ByDayStemCases[] = {
    SpiritCase{"甲子 甲寅 甲子 甲子", 福星, M, true}, SpiritCase{"甲子 丙寅 甲子 甲子", 福星, M, false},
    SpiritCase{"甲子 己巳 甲子 甲子", 學堂, M, true}, SpiritCase{"己巳 丙寅 甲子 甲子", 學堂, Y, false},
    SpiritCase{"甲子 丙寅 甲子 乙亥", 詞館, H, true}, SpiritCase{"乙亥 丙寅 甲子 甲子", 詞館, Y, false},
    SpiritCase{"甲午 丙寅 壬子 甲子", 天乙貴人, Y, true}, SpiritCase{"乙巳 丙寅 壬子 甲子", 天乙貴人, Y, true},
    SpiritCase{"乙未 丙寅 壬子 甲子", 天乙貴人, Y, false},
    SpiritCase{"己巳 丙寅 甲子 甲子", 文昌, Y, true}, SpiritCase{"庚午 丙寅 甲子 甲子", 文昌, Y, false},
    SpiritCase{"丙寅 丙寅 甲子 甲子", 祿神, Y, true}, SpiritCase{"丁卯 丙寅 甲子 甲子", 祿神, Y, false},
    SpiritCase{"丁卯 戊寅 乙丑 甲子", 祿神, Y, true}, SpiritCase{"丁丑 戊寅 乙丑 甲子", 祿神, Y, false},
    SpiritCase{"丁卯 丙寅 甲子 甲子", 羊刃, Y, true}, SpiritCase{"戊辰 丙寅 甲子 甲子", 羊刃, Y, false},
    SpiritCase{"癸酉 丙寅 甲子 甲子", 飛刃, Y, true}, SpiritCase{"甲戌 丙寅 甲子 甲子", 飛刃, Y, false},
    SpiritCase{"庚午 丙寅 甲子 甲子", 紅艷, Y, true}, SpiritCase{"辛未 丙寅 甲子 甲子", 紅艷, Y, false}};

const SpiritCase ByDecadeCases[] = {
    SpiritCase{"壬戌 丙寅 甲子 甲子", 六甲空亡, Y, true}, SpiritCase{"壬戌 丙寅 甲寅 甲子", 六甲空亡, Y, false},
    SpiritCase{"甲子 戊辰 甲子 甲子", 孤虛, M, true}, SpiritCase{"甲子 戊辰 甲寅 甲子", 孤虛, M, false},
    SpiritCase{"甲子 丙寅 甲子 甲子", 四大空亡, M, true}, SpiritCase{"甲子 丙寅 甲辰 甲子", 四大空亡, M, false},
    SpiritCase{"甲子 丙寅 甲午 丙寅", 四大空亡, H, true}};

const SpiritCase ByBranchGroupsCases[] = {
    SpiritCase{"甲子 丙寅 甲子 甲子", 將星, Y, true}, SpiritCase{"乙丑 丙寅 甲子 甲子", 將星, Y, false},
    SpiritCase{"甲子 丙寅 甲子 甲子", 將星, D, true}, SpiritCase{"甲子 丙寅 甲寅 甲子", 將星, D, false},
    SpiritCase{"甲子 丙寅 甲子 甲子", 將星, D, true, 1},
    SpiritCase{"甲子 丙寅 戊辰 甲子", 華蓋, D, true, 0}, SpiritCase{"甲子 丙寅 戊辰 甲子", 華蓋, D, false, 1},
    SpiritCase{"戊辰 丙寅 甲子 甲子", 華蓋, Y, true, 1}, SpiritCase{"戊辰 丙寅 甲子 甲子", 華蓋, Y, false, 0},
    SpiritCase{"甲子 丙寅 甲寅 甲子", 驛馬, D, true, 0}, SpiritCase{"甲子 丙寅 甲寅 甲子", 驛馬, D, false, 1},
    SpiritCase{"甲子 丙寅 乙巳 甲子", 劫煞, D, true, 0}, SpiritCase{"甲子 丙寅 乙巳 甲子", 劫煞, D, false, 1},
    SpiritCase{"甲子 丙寅 乙亥 甲子", 亡神, D, true, 0}, SpiritCase{"甲子 丙寅 乙亥 甲子", 亡神, D, false, 1},
    SpiritCase{"甲子 丙寅 甲子 癸酉", 咸池, H, true, 0, 0}, SpiritCase{"甲子 丙寅 甲子 癸酉", 咸池, H, false, 0, 1},
    SpiritCase{"甲子 丙寅 甲子 丁卯", 咸池, H, true, 0, 1}, SpiritCase{"丁卯 丙寅 甲子 甲子", 咸池, Y, false, 0, 0},
    SpiritCase{"甲子 丙寅 甲子 庚午", 外桃, H, true}, SpiritCase{"甲子 丙寅 甲子 辛未", 外桃, H, false},
    SpiritCase{"甲子 丙寅 甲子 甲子", 孤辰, M, true}, SpiritCase{"丙寅 庚寅 甲子 甲戌", 孤辰, M, false},
    SpiritCase{"甲子 丙寅 甲子 甲戌", 寡宿, H, true}, SpiritCase{"丙寅 庚寅 甲子 甲戌", 寡宿, H, false},
    SpiritCase{"甲子 丙寅 甲子 丁卯", 紅鸞, H, true}, SpiritCase{"乙丑 丙寅 甲子 丁卯", 紅鸞, H, false},
    SpiritCase{"甲子 丙寅 甲子 癸酉", 天喜, H, true}, SpiritCase{"乙丑 丙寅 甲子 癸酉", 天喜, H, false}};

const SpiritCase ByMonthCases[] = {
    SpiritCase{"甲子 丙寅 甲子 乙亥", 月將, H, true, 0, 0, 3}, SpiritCase{"甲子 丙寅 甲子 乙亥", 月將, H, false, 0, 0, 2},
    SpiritCase{"乙丑 丙寅 甲子 甲子", 天醫, Y, true}, SpiritCase{"乙丑 丁卯 甲子 甲子", 天醫, Y, false},
    SpiritCase{"甲子 丙寅 甲子 甲子", 月德, M, true}, SpiritCase{"甲子 丁卯 甲子 甲子", 月德, M, false},
    SpiritCase{"辛未 丙寅 甲子 甲子", 月德合, Y, true}, SpiritCase{"壬申 丙寅 甲子 甲子", 月德合, Y, false},
    SpiritCase{"丁卯 丙寅 甲子 甲子", 天德, Y, true}, SpiritCase{"丁卯 丁卯 甲子 甲子", 天德, Y, false},
    SpiritCase{"壬申 丙寅 甲子 甲子", 天德合, Y, true}, SpiritCase{"壬申 丁卯 甲子 甲子", 天德合, Y, false}};

const SpiritCase ByNaYinAndNumberCases[] = {
    SpiritCase{"甲戌 丙寅 甲子 甲子", 天羅, Y, true}, SpiritCase{"壬戌 丙寅 甲子 甲子", 天羅, Y, false},
    SpiritCase{"壬辰 丙寅 甲子 甲子", 地網, Y, true}, SpiritCase{"甲辰 丙寅 甲子 甲子", 地網, Y, false},
    SpiritCase{"甲辰 丙寅 甲子 甲子", 十惡大敗, Y, true}, SpiritCase{"丙辰 丙寅 甲子 甲子", 十惡大敗, Y, false}};

INSTANTIATE_TEST_SUITE_P(ByDayPillar, SpiritCases, ::testing::ValuesIn(ByDayPillarCases));
INSTANTIATE_TEST_SUITE_P(ByDayStem, SpiritCases, ::testing::ValuesIn(ByDayStemCases));
INSTANTIATE_TEST_SUITE_P(ByDecade, SpiritCases, ::testing::ValuesIn(ByDecadeCases));
INSTANTIATE_TEST_SUITE_P(ByBranchGroups, SpiritCases, ::testing::ValuesIn(ByBranchGroupsCases));
INSTANTIATE_TEST_SUITE_P(ByMonth, SpiritCases, ::testing::ValuesIn(ByMonthCases));
INSTANTIATE_TEST_SUITE_P(ByNaYinAndNumber, SpiritCases, ::testing::ValuesIn(ByNaYinAndNumberCases));

TEST(Spirits, EverySpiritHasACaseThatCarriesItAndANearMiss) {
    bool carried[SpiritCount] = {}, missed[SpiritCount] = {};
    auto note = [&](const auto& cases) {
        for (const SpiritCase& c : cases) (c.Carried ? carried : missed)[c.Which] = true;
    };
    note(ByDayPillarCases);
    note(ByDayStemCases);
    note(ByDecadeCases);
    note(ByBranchGroupsCases);
    note(ByMonthCases);
    note(ByNaYinAndNumberCases);
    for (int s = 0; s < SpiritCount; ++s) {
        EXPECT_TRUE(carried[s]) << SpiritName(static_cast<Spirit>(s));
        EXPECT_TRUE(missed[s]) << SpiritName(static_cast<Spirit>(s));
    }
}

TEST(Spirits, PillarsThatMayNotCarryThemNeverDo) {
    // Charts over every day pillar: the day never carries the decade voids, nor
    // 華蓋/驛馬/劫煞/亡神 under the day-branch basis; the month never carries 天醫.
    for (int day = 0; day < 60; ++day) {
        const std::string text = "甲子 丙寅 " + PillarText(day) + " 甲子";
        const auto rec = test::NatalOf(text, EngineOptions{1, 0, 0, CommonRatHour, MainProgramReading});
        for (Spirit s : {六甲空亡, 孤虛, 四大空亡, 華蓋, 驛馬, 劫煞, 亡神})
            EXPECT_FALSE(HasSpirit(rec->Natal, DayPillar, s)) << text << ' ' << SpiritName(s);
        for (int month = 0; month < 60; month += 7) {
            const auto m = test::NatalOf("甲子 " + PillarText(month) + " " + PillarText(day) + " 甲子");
            EXPECT_FALSE(HasSpirit(m->Natal, MonthPillar, 天醫));
            EXPECT_EQ(m->Natal.SpiritMaskA[MonthPillar] & 0x3FFu, 0u);
            EXPECT_EQ(m->Natal.SpiritMaskB[MonthPillar] & 0x3FFFu, 0u);
        }
    }
}

TEST(Spirits, ARenDayMasterMarksWuAndSiAsNoblemen) {
    const auto rec = test::NatalOf("甲午 乙巳 壬子 甲子");
    EXPECT_TRUE(HasSpirit(rec->Natal, YearPillar, 天乙貴人));
    EXPECT_TRUE(HasSpirit(rec->Natal, MonthPillar, 天乙貴人));
    EXPECT_FALSE(HasSpirit(rec->Natal, DayPillar, 天乙貴人));
}

}  // namespace
}  // namespace qv

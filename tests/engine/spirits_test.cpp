// The forty spirits: each has a chart that carries it and a near miss.
#include <gtest/gtest.h>

#include "chart_builder.h"
#include "engine/chart/spirits.h"

namespace qv {
namespace {

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

// Index values K1 + K2 · sqrt(a + b + c), worked by hand.
#include <gtest/gtest.h>

#include "chart_builder.h"
#include "engine/chart/ganzhi.h"
#include "engine/analysis/index_values.h"

namespace qv {
namespace {

using namespace gz;

// 甲子 甲寅 甲子 甲子 with the default parameters (BTYPE 0, BBase 70, BADD 70, CBASE 20):
// 甲: a = 4 stems + 0.5 (main of 寅) = 4.5; b = 0.7 (month 甲寅 all wood) + 4 · 0.7
// (four wood stems, wood hidden in 寅); c = 0.2 (wood is 旺 in 寅): x = 8.2 -> 106.
// 丙: a = 0.3, c = 0.1 (相) -> 39.  戊: a = 0.2 -> 33.  癸: a = 3 (子 counts 1) -> 72.  庚: 20.
TEST(IndexValues, WorkedChartWithSameElementMonthPillar) {
    auto rec = test::ChartOf("甲子 甲寅 甲子 甲子");
    const ChartBlock& n = rec->Natal;
    EXPECT_EQ(n.StemIndex[甲], 106);
    EXPECT_EQ(n.StemIndex[丙], 39);
    EXPECT_EQ(n.StemIndex[戊], 33);
    EXPECT_EQ(n.StemIndex[癸], 72);
    EXPECT_EQ(n.StemIndex[庚], 20);
    EXPECT_EQ(n.ElementIndex[木], 106);
    EXPECT_EQ(n.ElementIndex[水], 72);
    // Ten-god order from the day stem 甲: 比肩 is 甲, 正印 is 癸.
    EXPECT_EQ(n.TenGodIndex[0], 106);
    EXPECT_EQ(n.TenGodIndex[3], 72);
}

// 甲子 丙寅 甲子 甲子: the month pillar is fire over wood, so no base element;
// 甲: 3.5 + 3 · 0.7 + 0.2 = 5.8 -> 92.  丙: 1.3 + 0.7 + 0.1 = 2.1 -> 63.
TEST(IndexValues, WorkedChartWithMixedMonthPillar) {
    auto rec = test::ChartOf("甲子 丙寅 甲子 甲子");
    EXPECT_EQ(rec->Natal.StemIndex[甲], 92);
    EXPECT_EQ(rec->Natal.StemIndex[丙], 63);
    EXPECT_EQ(rec->Natal.ElementIndex[火], 63);
}

TEST(IndexValues, DayBaseAndPeriodForm) {
    auto rec = test::ChartOf("甲子 丙寅 甲寅 甲子");
    ScoringParameters p = DefaultScoringParameters;
    p.BTYPE = 1;  // the day pillar 甲寅 is wood over wood: wood gets BBase
    ChartBlock b = rec->Natal;
    ComputeIndexValues(b, p, true);
    // 甲: 3 + 0.5 + 0.5 = 4; b = 0.7 + 3 · 0.7; c = 0.2: 7 -> 99.
    EXPECT_EQ(b.StemIndex[甲], 99);
    // The period form leaves the seasonal term out: 6.8 -> 98.
    ComputeIndexValues(b, p, false);
    EXPECT_EQ(b.StemIndex[甲], 98);
}

}  // namespace
}  // namespace qv

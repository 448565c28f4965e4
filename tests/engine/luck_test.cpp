// Luck start and luck pillars.
#include <gtest/gtest.h>

#include "chart_builder.h"
#include "engine/chart/luck.h"

namespace qv {
namespace {

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

}  // namespace
}  // namespace qv

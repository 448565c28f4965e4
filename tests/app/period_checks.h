// What must hold after any click on the chart view, checked apart from the
// selection code: the row of Flow and the selected pillar in it.
#pragma once

#include <gtest/gtest.h>

#include <random>
#include <utility>

#include "chart_period.h"

namespace qv::test {

// A random point of the 1024 x 768 page on a kind button or on the period row.
inline std::pair<int, int> RandomClickPoint(std::mt19937& rng) {
    if (rng() % 3 == 0) return {10 + int(rng() % 70), 2 + 54 * int(rng() % 3) + int(rng() % 50)};
    return {91 + int(rng() % 480), 2 + 440 + int(rng() % 121)};
}

// The pillar of a lunar year counted from 1984 甲子.
inline int PillarOfYear(int year) { return ((year - 1984) % 60 + 60) % 60; }

// Flow holds the row of the chosen kind and the selected cell is the selected
// pillar; the evaluation of a half pillar has its hand-worked cases with the engine.
inline void ExpectFlowOnSelection(const ChartRecord& rec, const ChartBlock& natal) {
    const PeriodSelection& p = rec.Period;
    if (rec.ChartKind == NatalKind) {
        EXPECT_EQ(p.Cell, -1);
        return;
    }
    ASSERT_GE(p.Cell, 0);
    ASSERT_LT(p.Cell, 12);
    const ChartBlock& flow = rec.Flow;
    EXPECT_EQ(flow.LuckStem[p.Cell], p.Stem);
    EXPECT_EQ(flow.LuckBranch[p.Cell], p.Branch);
    const int shift = rec.BirthYearBoundary == 1 ? 1 : rec.BirthYearBoundary == 2 ? -1 : 0;
    for (int k = 0; k < 12; ++k) {
        const int pillar = PillarOfYear(rec.Birth.LunarYear + p.FirstAge + k - 1 - shift);
        const bool luck = rec.ChartKind == LuckKind;
        EXPECT_EQ(flow.LuckStem[k], luck ? natal.LuckStem[k] : pillar % 10) << "cell " << k;
        EXPECT_EQ(flow.LuckBranch[k], luck ? natal.LuckBranch[k] : pillar % 12) << "cell " << k;
    }
    if (rec.ChartKind == LuckKind) {
        EXPECT_EQ(p.Age, (p.UpperHalf ? natal.LuckStartAge : natal.LuckStartAgeMid) + 10 * p.Cell);
    } else {
        EXPECT_GE(p.FirstAge, 1);
        EXPECT_LE(p.FirstAge, LastFirstAge);
        EXPECT_EQ(p.Age, p.FirstAge + p.Cell);
    }
}

}  // namespace qv::test

// Scores, index values, climate balance, combinations and strength, on hand-worked charts.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>

#include "chart_builder.h"
#include "engine/analysis/combinations.h"
#include "engine/analysis/index_values.h"
#include "engine/chart/ganzhi.h"
#include "engine/chart/symbols.h"

namespace qv {
namespace {

using namespace gz;
using test::ChartOf;

std::vector<int> Strength(const ChartBlock& b) { return {b.StrengthScore, b.StrengthScore + 5}; }
std::vector<int> Relations(const ChartBlock& b) { return {b.BranchRelation, b.BranchRelation + 4}; }
std::vector<int> AllRelations(const ChartBlock& b) { return {b.BranchRelation, b.BranchRelation + 5}; }
std::vector<int> Branches(const ChartBlock& b) { return {b.Branch, b.Branch + 4}; }

TEST(DisplayedScores, VisibleStemsSixteenHiddenStemsTheirFactors) {
    const auto rec = ChartOf("甲子 丙寅 甲子 甲子");
    const ChartBlock& n = rec->Natal;
    // Three 甲 and the month's 甲 (12); 丙 and the month's 丙 (7); 戊 5; 癸 under three 子.
    EXPECT_EQ(n.StemScore[甲], 60);
    EXPECT_EQ(n.StemScore[丙], 23);
    EXPECT_EQ(n.StemScore[戊], 5);
    EXPECT_EQ(n.StemScore[癸], 48);
    EXPECT_EQ(std::vector<int>(n.ElementScore, n.ElementScore + 5), (std::vector<int>{48, 60, 23, 5, 0}));
    // 比肩 60, 正印 48, 偏財 5, 食神 23.
    EXPECT_EQ(std::vector<int>(n.TenGodScore, n.TenGodScore + 10), (std::vector<int>{60, 0, 0, 48, 0, 0, 5, 0, 23, 0}));
}

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

TEST(ClimateBalance, WarmthValuesInTenths) {
    EXPECT_EQ(ChartOf("甲子 丙寅 甲子 甲子")->Natal.ClimateBalance, -20);
    // 壬 month stem in 寅: 甲 乙 and the spring branches weigh 1.2.
    EXPECT_EQ(ChartOf("甲辰 壬寅 乙卯 丙子")->Natal.ClimateBalance, 70);
    // A metal month stem boosts nothing: 3 - 1 + 1 - 7 + (2 + 5 + 1 - 7).
    EXPECT_EQ(ChartOf("甲辰 庚午 戊申 壬子")->Natal.ClimateBalance, (3 - 1 + 1 - 5 + 2 + 5 - 1 - 7) * 10);
}

TEST(StemCombinations, PairTransformsByTheBranchesUnderIt) {
    EXPECT_EQ(StemUnionElement(甲, 己), 土);
    EXPECT_EQ(StemUnionElement(癸, 戊), 火);
    EXPECT_EQ(StemUnionElement(甲, 庚), -1);
    EXPECT_TRUE(StemPairTransforms(甲, 戌, 己, 巳));
    EXPECT_TRUE(StemPairTransforms(己, 辰, 甲, 巳) == false);  // 辰 must stand under 甲 when 巳 is under 己
    EXPECT_TRUE(StemPairTransforms(甲, 辰, 己, 巳));
    EXPECT_TRUE(StemPairTransforms(壬, 寅, 丁, 亥));
    EXPECT_FALSE(StemPairTransforms(丁, 卯, 壬, 子));
    constexpr int Rewrites[9][3] = {{甲, 土, 戊}, {己, 土, 己}, {乙, 金, 辛}, {丙, 水, 壬}, {辛, 水, 癸},
                                    {丁, 木, 乙}, {壬, 木, 甲}, {戊, 火, 丙}, {癸, 火, 丁}};
    for (const auto& r : Rewrites) EXPECT_EQ(TransformedStem(r[0], r[1]), r[2]) << r[0];
}

// 甲戌 over 己巳 transform into earth; 巳 and 寅 punish each other; the climate
// balance 110 calls for climate stems, and the strong fire day master is served by water.
TEST(CombinationAnalysis, TransformedStemsPunishmentAndClimateReading) {
    const auto rec = ChartOf("甲戌 己巳 丙寅 戊子");
    const ChartBlock& n = rec->Natal;
    const ChartBlock& t = rec->Transformed;
    EXPECT_EQ(rec->HasTransformed, 1);
    EXPECT_EQ(rec->StemUnionCount, 1);
    EXPECT_EQ(std::vector<int>(t.Stem, t.Stem + 4), (std::vector<int>{戊, 己, 丙, 戊}));
    EXPECT_EQ(t.StemUnion[0], 土);
    EXPECT_EQ(t.StemUnion[1], 土);
    EXPECT_EQ(t.StemUnion[2], -1);
    EXPECT_EQ(Relations(t), (std::vector<int>{-1, 9, 9, -1}));
    EXPECT_EQ(Strength(n), (std::vector<int>{16, 14, 36, 52, 0}));
    EXPECT_EQ(std::vector<int>(rec->ReferenceStrength, rec->ReferenceStrength + 5),
              (std::vector<int>{16, 14, 23, 43, 0}));
    EXPECT_EQ(n.SameParty, 50);
    EXPECT_EQ(n.OtherParty, 16);
    EXPECT_EQ(n.ClimateBalance, 110);
    // The transformed chart has its own symbols: 戊 over 戌 is 食神 from 丙.
    EXPECT_EQ(t.StemGod[0], 8);
    EXPECT_EQ(t.StemElement[0], 土);
}

TEST(CombinationAnalysis, DirectionalTrioTransformsTheEarthBranch) {
    const auto rec = ChartOf("甲寅 丁卯 戊辰 壬子");
    const ChartBlock& t = rec->Transformed;
    EXPECT_EQ(Relations(t), (std::vector<int>{1, 1, 1, -1}));
    // 辰 is the day branch: it alone becomes 寅.
    EXPECT_EQ(Branches(t), (std::vector<int>{寅, 卯, 寅, 子}));
    // Wood: 12 for the trio, 15 for 甲寅, 5 for 乙 revealed by 甲, 9 + 16 + 24 + 16.
    EXPECT_EQ(Strength(rec->Natal), (std::vector<int>{25, 97, 9, 9, 0}));
}

TEST(CombinationAnalysis, HarmonyTrioTransformsTombThenBirthBranch) {
    const auto rec = ChartOf("辛亥 辛卯 丁未 庚子");
    EXPECT_EQ(Relations(rec->Transformed), (std::vector<int>{2, 2, 2, -1}));
    EXPECT_EQ(Branches(rec->Transformed), (std::vector<int>{寅, 卯, 寅, 子}));
    EXPECT_EQ(Strength(rec->Natal), (std::vector<int>{16, 65, 9, 0, 27}));
}

TEST(CombinationAnalysis, TrioNeedsEachBranchExactlyOnce) {
    const auto rec = ChartOf("丙午 甲午 丁巳 丁未");
    for (int kind : Relations(rec->Transformed)) EXPECT_NE(kind, 1);
}

TEST(CombinationAnalysis, PairTestKeepsBothPairsOrNeither) {
    // 寅卯 and 子丑 both combine: both count twice (in the gains and the reference).
    const auto both = ChartOf("甲寅 丁卯 壬子 癸丑");
    EXPECT_EQ(Relations(both->Transformed), (std::vector<int>{3, 3, 5, 5}));
    EXPECT_EQ(Branches(both->Transformed), (std::vector<int>{寅, 卯, 未, 丑}));
    EXPECT_EQ(Strength(both->Natal), (std::vector<int>{14, 76, 5, 43, 0}));
    // 丁壬 combine without transforming: their factors drop to 5.
    EXPECT_EQ(std::vector<int>(both->Natal.StemFactor, both->Natal.StemFactor + 4), (std::vector<int>{9, 5, 5, 9}));
    EXPECT_EQ(both->Natal.SameParty, 14);
    EXPECT_EQ(both->Natal.OtherParty, 48);

    // 子戌 do not combine: the pair test leaves no trace, the adjacent scan
    // finds 寅卯 and its gains stay out of the reference.
    const auto one = ChartOf("甲寅 丁卯 壬子 庚戌");
    EXPECT_EQ(Relations(one->Transformed), (std::vector<int>{3, 3, -1, -1}));
    EXPECT_EQ(one->HasTransformed, 0);
    EXPECT_EQ(Strength(one->Natal), (std::vector<int>{21, 76, 5, 16, 9}));
    EXPECT_EQ(std::vector<int>(one->ReferenceStrength, one->ReferenceStrength + 5),
              (std::vector<int>{21, 41, 5, 16, 9}));
}

TEST(CombinationAnalysis, SnakeAndMonkeyDoNotUniteBesideATiger) {
    const auto tiger = ChartOf("庚寅 辛巳 壬申 丙午");
    EXPECT_EQ(Relations(tiger->Transformed), (std::vector<int>{7, 7, 7, -1}));
    EXPECT_EQ(tiger->HasTransformed, 0);
    const auto noTiger = ChartOf("庚子 辛巳 壬申 丙午");
    // 巳申 unite; 子 and 午, left over, punish each other.
    EXPECT_EQ(Relations(noTiger->Transformed), (std::vector<int>{11, 5, 5, 11}));
    EXPECT_EQ(Branches(noTiger->Transformed), (std::vector<int>{子, 亥, 子, 午}));
}

// A relation is recorded on the pillars that formed it, even where another
// pillar holds the same branch or an earlier relation rewrote one.
TEST(CombinationAnalysis, RelationsStayOnThePillarsThatFormedThem) {
    const struct {
        const char* Pillars;
        std::vector<int> Relations;
    } cases[] = {
        {"甲子 庚午 丙戌 己亥", {6, 6, -1, -1, -1}},    // the clash 子午
        {"甲辰 戊辰 丙寅 丙申", {8, 8, 6, 6, -1}},      // 辰辰 punish themselves; 寅申 clash
        {"甲子 辛未 丙寅 庚寅", {12, 12, -1, -1, -1}},  // the harm 子未
        {"己丑 戊辰 戊戌 己未", {7, -1, 7, 7, -1}},     // 丑戌未 together: earth loses twelve
        {"丙寅 丙申 壬子 壬寅", {6, 6, -1, -1, -1}},    // 寅申 of year and month; the hour's 寅 takes no part
        {"辛巳 庚寅 戊子 丁巳", {9, 9, -1, -1, -1}},    // the punishment pair 巳寅; the hour's 巳 takes no part
        {"丙辰 壬辰 己酉 戊辰", {8, 5, 5, 8, -1}},      // 辰酉 of month and day unite; the others' 辰 punish
        {"甲子 庚午 甲子 乙亥", {6, 6, 3, 3, -1}},      // 子亥 of day and hour half directional; 子午 clash
        {"庚寅 辛巳 壬申 壬寅", {-1, 7, 7, 7, -1}},     // of two 寅, 寅巳申 takes the one nearer the day
        // 寅亥 of day and hour unite (亥 becomes 卯); then 子 and 卯 of year and month punish each other.
        {"辛卯 庚子 甲寅 乙亥", {11, 11, 5, 5, -1}},
    };
    for (const auto& c : cases) EXPECT_EQ(AllRelations(ChartOf(c.Pillars)->Transformed), c.Relations) << c.Pillars;
    EXPECT_EQ(Branches(ChartOf("辛卯 庚子 甲寅 乙亥")->Transformed), (std::vector<int>{卯, 子, 寅, 卯}));
}

// --- What a relation kind means, written out from its definition ---------------

struct KindSets {
    int Kind;
    std::vector<std::vector<int>> Sets;  // the branch sets that make a relation of this kind
    bool Neighbours;                     // a pair must stand on neighbouring pillars
};

const std::vector<KindSets>& RelationKinds() {
    static const std::vector<KindSets> kinds = {
        {1, {{寅, 卯, 辰}, {巳, 午, 未}, {申, 酉, 戌}, {亥, 子, 丑}}, false},
        {2, {{亥, 卯, 未}, {寅, 午, 戌}, {巳, 酉, 丑}, {申, 子, 辰}}, false},
        {3, {{寅, 卯}, {巳, 午}, {申, 酉}, {亥, 子}}, true},
        {5, {{子, 丑}, {寅, 亥}, {卯, 戌}, {辰, 酉}, {巳, 申}, {午, 未}}, true},
        {6, {{子, 午}, {丑, 未}, {寅, 申}, {卯, 酉}, {辰, 戌}, {巳, 亥}}, true},
        {7, {{寅, 巳, 申}, {丑, 戌, 未}, {子, 午, 卯}}, false},
        {8, {{辰, 辰}, {午, 午}, {酉, 酉}, {亥, 亥}}, false},
        {9, {{寅, 巳}, {寅, 申}, {巳, 申}}, false},
        {10, {{丑, 未}, {丑, 戌}, {未, 戌}}, false},
        {11, {{子, 卯}, {子, 午}, {卯, 午}}, false},
        {12, {{子, 未}, {丑, 午}, {寅, 巳}, {卯, 辰}, {申, 亥}, {酉, 戌}}, true},
    };
    return kinds;
}

// Whether the branches, in any order, are one of the kind's sets.
bool IsSetOf(const KindSets& kind, std::vector<int> branches) {
    std::sort(branches.begin(), branches.end());
    for (std::vector<int> set : kind.Sets) {
        std::sort(set.begin(), set.end());
        if (set == branches) return true;
    }
    return false;
}

// Whether the pillars holding a kind can have formed relations of that kind:
// one set of three branches, or pairs that are sets of the kind (on
// neighbouring pillars where the kind asks for it).
bool PillarsFormTheKind(const KindSets& kind, const std::vector<int>& pillars, const ChartBlock& natal) {
    auto branchOf = [&](int p) { return static_cast<int>(natal.Branch[p]); };
    if (kind.Sets.front().size() == 3) {
        return pillars.size() == 3 && IsSetOf(kind, {branchOf(pillars[0]), branchOf(pillars[1]), branchOf(pillars[2])});
    }
    auto pairs = [&](int a, int b) {
        return (!kind.Neighbours || pillars[b] - pillars[a] == 1) &&
               IsSetOf(kind, {branchOf(pillars[a]), branchOf(pillars[b])});
    };
    if (pillars.size() == 2) return pairs(0, 1);
    if (pillars.size() == 4) {
        return (pairs(0, 1) && pairs(2, 3)) || (pairs(0, 2) && pairs(1, 3)) || (pairs(0, 3) && pairs(1, 2));
    }
    return false;
}

// --- Properties over random charts ---------------------------------------------

// Relations are found on the natal branches, so a pillar's natal branch is the
// one it brought to the relation recorded on it.
TEST(CombinationProperties, EveryRecordedPillarTookPartInARelationOfItsKind) {
    std::mt19937 rng(14);
    int related = 0;
    for (int i = 0; i < 3000; ++i) {
        const std::string pillars = test::RandomPillars(rng);
        const auto rec = ChartOf(pillars);
        const ChartBlock& t = rec->Transformed;
        ASSERT_EQ(t.BranchRelation[4], -1) << pillars;
        int covered = 0;
        for (const KindSets& kind : RelationKinds()) {
            std::vector<int> holding;
            for (int p = 0; p < 4; ++p) {
                if (t.BranchRelation[p] == kind.Kind) holding.push_back(p);
            }
            if (holding.empty()) continue;
            ++related;
            covered += static_cast<int>(holding.size());
            ASSERT_TRUE(PillarsFormTheKind(kind, holding, rec->Natal)) << pillars << " kind " << kind.Kind;
        }
        // No pillar holds a kind outside the table.
        ASSERT_EQ(covered, 4 - static_cast<int>(std::count(t.BranchRelation, t.BranchRelation + 4, -1))) << pillars;
    }
    EXPECT_GT(related, 1500);
}

// The element scores add up to the sixty-four points of the eight characters
// and the hidden stems' factors. (The parties and the ten-god order are the
// hand-worked charts' to check.)
TEST(CombinationProperties, ElementScoresAddUpToEveryCharactersPoints) {
    std::mt19937 rng(99);
    for (int i = 0; i < 3000; ++i) {
        const std::string pillars = test::RandomPillars(rng);
        const auto rec = ChartOf(pillars, static_cast<int>(i & 1));
        const ChartBlock& n = rec->Natal;
        int total = 0, hidden = 0;
        for (int e = 0; e < 5; ++e) total += n.ElementScore[e];
        for (int p = 0; p < 4; ++p)
            for (int j = 0; j < 3; ++j) hidden += n.HiddenStem[p][j] ? n.HiddenFactor[p][j] : 0;
        ASSERT_EQ(total, 64 + hidden) << pillars;
    }
}

TEST(CombinationProperties, TransformedKeepsWhatNoCombinationTouched) {
    std::mt19937 rng(5);
    int transformed = 0;
    for (int i = 0; i < 3000; ++i) {
        const std::string pillars = test::RandomPillars(rng);
        const auto rec = ChartOf(pillars);
        const ChartBlock& n = rec->Natal;
        const ChartBlock& t = rec->Transformed;
        if (!rec->HasTransformed) {
            ASSERT_EQ(std::memcmp(&n, &t, sizeof n), 0) << pillars;
            continue;
        }
        ++transformed;
        bool branchCombined = false;
        for (int p = 0; p < 4; ++p) {
            const int kind = t.BranchRelation[p];
            branchCombined |= kind == 1 || kind == 2 || kind == 5;
        }
        for (int p = 0; p < 4; ++p) {
            if (t.StemUnion[p] < 0) {
                ASSERT_EQ(t.Stem[p], n.Stem[p]) << pillars;
            }
            if (t.Branch[p] != n.Branch[p]) {
                // Only trios and six harmonies rewrite branches: to the first branch
                // of the new element, or to the harmony's partner of that element.
                constexpr int HarmonyRewrite[12] = {未, 丑, 寅, 巳, 申, 亥, 午, 巳, 子, 酉, 午, 卯};
                const int b = t.Branch[p];
                const bool first = b == 亥 || b == 寅 || b == 巳 || b == 未 || b == 申;
                ASSERT_TRUE(branchCombined && (first || b == HarmonyRewrite[n.Branch[p]])) << pillars;
            }
        }
    }
    EXPECT_GT(transformed, 300);
}

}  // namespace
}  // namespace qv

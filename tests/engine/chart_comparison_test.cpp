// Two charts against each other: hand-worked pairs, and random pairs against
// the almanac lists of the relations the analysis knows.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "chart_builder.h"
#include "engine/analysis/chart_comparison.h"

namespace qv {
namespace {

using test::ChartOf;

const char* const PillarNames[4] = {"年", "月", "日", "時"};

std::string KindName(int kind) {
    switch (kind) {
        case DirectionalTrio: return "三會";
        case HarmonyTrio: return "三合";
        case HalfDirectional: return "半會";
        case SixHarmony: return "六合";
        case Clash: return "沖";
        case TriplePunishment: return "三刑";
        case SelfPunishment: return "自刑";
        case Harm: return "害";
        default: return "刑";
    }
}

std::string PillarsText(unsigned mask) {
    std::string s;
    for (int p = 0; p < 4; ++p) s += (mask >> p & 1) ? PillarNames[p] : "";
    return s;
}

// "六合 年-日": the kind, A's pillars, B's pillars; with the sides swapped when asked.
std::vector<std::string> BranchLinks(const ChartComparison& c, bool swapped) {
    std::vector<std::string> out;
    for (int i = 0; i < c.BranchCount; ++i) {
        const BranchLink& l = c.Branches[i];
        out.push_back(KindName(l.Kind) + " " + PillarsText(swapped ? l.PillarsB : l.PillarsA) + "-" +
                      PillarsText(swapped ? l.PillarsA : l.PillarsB));
    }
    std::sort(out.begin(), out.end());
    return out;
}

std::vector<std::string> Sorted(std::vector<std::string> v) {
    std::sort(v.begin(), v.end());
    return v;
}

ChartComparison Compare(const ChartRecord& a, const ChartRecord& b) {
    ChartComparison c{};
    CompareCharts(a.Natal, b.Natal, c);
    return c;
}

// A's pillars 年月時 stand on 子 and B's on 寅, which relate to nothing the
// other chart's day pillar brings, so each row shows the relations it names.
TEST(ChartComparison, HandWorkedBranchRelationsBothWays) {
    struct Row {
        const char *A, *B;
        std::vector<std::string> Links;
    };
    const Row rows[] = {
        {"甲子 甲子 甲子 甲子", "丙寅 丙寅 丙寅 丙寅", {}},
        {"甲子 甲子 甲辰 甲子", "丙寅 丙寅 乙酉 丙寅", {"六合 日-日"}},
        {"甲子 甲子 甲午 甲子", "丙寅 丙寅 丙子 丙寅", {"沖 日-日", "刑 日-日"}},
        {"甲子 甲子 甲寅 甲子", "丙寅 丙寅 丁巳 丙寅", {"刑 日-日", "害 日-日"}},
        {"甲子 甲子 乙酉 甲子", "丙寅 丙寅 丙戌 丙寅", {"害 日-日"}},
        {"甲子 甲子 甲辰 甲子", "丙寅 丙寅 丙辰 丙寅", {"自刑 日-日"}},
        {"甲子 甲子 甲辰 甲子", "丙寅 丙寅 丙申 丙寅", {"三合 年月日時-日"}},
        {"甲子 甲子 乙卯 甲子", "丙寅 丙寅 丙辰 丙寅",
         {"三會 日-年月日時", "半會 日-年", "半會 日-月", "半會 日-時", "害 日-日"}},
        {"甲子 甲子 丁未 乙丑", "丙寅 丙寅 丙戌 丙寅", {"三刑 日時-日", "刑 日-日", "刑 時-日"}},
        {"甲子 甲子 甲子 甲子", "乙丑 丙寅 丙寅 丙寅", {"六合 年-年", "六合 月-年", "六合 日-年", "六合 時-年"}},
    };
    for (const Row& row : rows) {
        const auto a = ChartOf(row.A), b = ChartOf(row.B);
        EXPECT_EQ(BranchLinks(Compare(*a, *b), false), Sorted(row.Links)) << row.A << " / " << row.B;
        EXPECT_EQ(BranchLinks(Compare(*b, *a), true), Sorted(row.Links)) << row.B << " / " << row.A;
    }
    const ChartComparison zodiac = Compare(*ChartOf("甲子 甲子 甲子 甲子"), *ChartOf("乙丑 丙寅 丙寅 丙寅"));
    ASSERT_EQ(zodiac.YearRelationCount, 1);
    EXPECT_EQ(zodiac.YearRelations[0].Kind, SixHarmony);
    EXPECT_EQ(zodiac.YearRelations[0].Element, 3);  // 子丑 土
    const ChartComparison trio = Compare(*ChartOf("甲子 甲子 乙卯 甲子"), *ChartOf("丙寅 丙寅 丙辰 丙寅"));
    EXPECT_EQ(trio.Summary.BranchHarmonies, 4);
    EXPECT_EQ(trio.Summary.Harms, 1);
    EXPECT_EQ(trio.Summary.Clashes + trio.Summary.Punishments + trio.Summary.StemCombinations, 0);
}

TEST(ChartComparison, StemCombinationsTenGodsAndNaYin) {
    // 甲辰 over 己巳 transforms to earth; 戊子 over 癸亥 leans to fire but stays.
    const auto a = ChartOf("甲辰 戊子 丙子 丙子"), b = ChartOf("己巳 癸亥 丙寅 丙寅");
    const ChartComparison c = Compare(*a, *b);
    ASSERT_EQ(c.StemCount, 2);
    EXPECT_EQ((std::vector<int>{c.Stems[0].PillarA, c.Stems[0].PillarB, c.Stems[0].Element, c.Stems[0].Transforms}),
              (std::vector<int>{YearPillar, YearPillar, 3, 1}));
    EXPECT_EQ((std::vector<int>{c.Stems[1].PillarA, c.Stems[1].PillarB, c.Stems[1].Element, c.Stems[1].Transforms}),
              (std::vector<int>{MonthPillar, MonthPillar, 2, 0}));
    EXPECT_EQ(c.Summary.StemCombinations, 2);
    EXPECT_EQ(c.NaYin, NaYinBGeneratesA);  // 大林木 feeds 覆燈火

    struct GodRow {
        const char *A, *B;
        int GodOfB, GodOfA;
        NaYinRelation NaYin;
    };
    const GodRow gods[] = {
        {"甲子 甲子 甲子 甲子", "己巳 丙寅 己巳 丙寅", 7, 5, NaYinAControlsB},  // 正財 / 正官; 海中金 cuts 大林木
        {"甲子 甲子 甲子 甲子", "丙寅 丙寅 丙寅 丙寅", 8, 2, NaYinBControlsA},  // 食神 / 偏印; 爐中火 melts 海中金
        {"甲子 甲子 甲子 甲子", "甲子 丙寅 乙酉 丙寅", 1, 1, NaYinSame},        // 劫財 both ways
    };
    for (const GodRow& g : gods) {
        const ChartComparison r = Compare(*ChartOf(g.A), *ChartOf(g.B));
        EXPECT_EQ((std::vector<int>{r.GodOfBFromA, r.GodOfAFromB, r.NaYin}), (std::vector<int>{g.GodOfB, g.GodOfA, g.NaYin}))
            << g.B;
    }
}

TEST(ChartComparison, RolesMeasuredByTheOtherChartsElementScores) {
    // The element scores of 甲子 丙寅 甲子 甲子 are 水 48, 木 60, 火 23, 土 5, 金 0 (of 136).
    const int scores[5] = {48, 60, 23, 5, 0};
    const auto a = ChartOf("庚申 戊午 丙午 壬辰"), b = ChartOf("甲子 丙寅 甲子 甲子");
    const ChartComparison c = Compare(*a, *b);
    for (int r = 0; r < 5; ++r) {
        const int e = a->Natal.Roles[r];
        EXPECT_EQ(c.AInB[r].Element, e);
        EXPECT_EQ(c.AInB[r].Score, scores[e]);
        EXPECT_EQ(c.AInB[r].Strong, e <= 1) << r;  // above 136 / 5
    }
    EXPECT_EQ(c.StrengthA.Strong, a->Natal.IsStrong != 0);
    EXPECT_EQ(c.StrengthB.SameParty, b->Natal.SameParty);
}

// The relations as the almanacs list them, by kind.
struct AlmanacList {
    int Kind;
    const char* Members;  // branch groups separated by blanks
};
const AlmanacList Almanac[] = {
    {HalfDirectional, "寅卯 巳午 申酉 亥子"},
    {SixHarmony, "子丑 寅亥 卯戌 辰酉 巳申 午未"},
    {Clash, "子午 丑未 寅申 卯酉 辰戌 巳亥"},
    {PunishmentTigerSnakeMonkey, "寅巳 寅申 巳申"},
    {PunishmentOxDogGoat, "丑未 丑戌 未戌"},
    {PunishmentRatRabbitHorse, "子卯 子午 卯午"},
    {SelfPunishment, "辰辰 午午 酉酉 亥亥"},
    {Harm, "子未 丑午 寅巳 卯辰 申亥 酉戌"},
    {DirectionalTrio, "寅卯辰 巳午未 申酉戌 亥子丑"},
    {HarmonyTrio, "亥卯未 寅午戌 巳酉丑 申子辰"},
    {TriplePunishment, "寅巳申 丑戌未 子午卯"},
};

std::vector<std::vector<int>> GroupsOf(const char* members) {
    std::vector<std::vector<int>> groups(1);
    for (std::string_view s = members; !s.empty();) {
        if (s[0] == ' ') {
            groups.emplace_back();
            s.remove_prefix(1);
            continue;
        }
        groups.back().push_back(test::IndexOfText(s.substr(0, 3), text_base::Branch, 12));
        s.remove_prefix(3);
    }
    return groups;
}

unsigned PillarsWith(const ChartBlock& b, int branch) {
    unsigned m = 0;
    for (int p = 0; p < 4; ++p) m |= (b.Branch[p] == branch) << p;
    return m;
}

// The links the almanac expects between the charts, as "kind maskA maskB".
std::multiset<std::string> AlmanacLinks(const ChartBlock& a, const ChartBlock& b) {
    std::multiset<std::string> out;
    for (const AlmanacList& list : Almanac) {
        for (const auto& g : GroupsOf(list.Members)) {
            const std::string kind = std::to_string(list.Kind) + " ";
            if (g.size() == 2) {
                for (int p = 0; p < 4; ++p)
                    for (int q = 0; q < 4; ++q)
                        if ((a.Branch[p] == g[0] && b.Branch[q] == g[1]) || (a.Branch[p] == g[1] && b.Branch[q] == g[0]))
                            out.insert(kind + std::to_string(1 << p) + " " + std::to_string(1 << q));
                continue;
            }
            unsigned inA = 0, inB = 0;
            int held = 0, heldA = 0, heldB = 0;
            for (int branch : g) {
                held += (PillarsWith(a, branch) | PillarsWith(b, branch)) != 0;
                heldA += PillarsWith(a, branch) != 0, heldB += PillarsWith(b, branch) != 0;
                inA |= PillarsWith(a, branch), inB |= PillarsWith(b, branch);
            }
            if (held == 3 && heldA < 3 && heldB < 3) out.insert(kind + std::to_string(inA) + " " + std::to_string(inB));
        }
    }
    return out;
}

TEST(ChartComparison, RandomPairsListExactlyTheAlmanacRelations) {
    std::mt19937 rng(34);
    for (int i = 0; i < 500; ++i) {
        const auto a = ChartOf(test::RandomPillars(rng)), b = ChartOf(test::RandomPillars(rng));
        const ChartComparison c = Compare(*a, *b);
        std::multiset<std::string> listed;
        for (int k = 0; k < c.BranchCount; ++k) {
            const BranchLink& l = c.Branches[k];
            listed.insert(std::to_string(l.Kind) + " " + std::to_string(l.PillarsA) + " " + std::to_string(l.PillarsB));
        }
        ASSERT_EQ(listed, AlmanacLinks(a->Natal, b->Natal)) << i;
        int stemPairs = 0;
        for (int p = 0; p < 4; ++p)
            for (int q = 0; q < 4; ++q) stemPairs += std::abs(a->Natal.Stem[p] - b->Natal.Stem[q]) == 5;
        ASSERT_EQ(c.StemCount, stemPairs) << i;
        EXPECT_EQ(c.Summary.Harmonious() + c.Summary.Conflicting(),
                  c.StemCount + c.BranchCount + c.Summary.FavourableSupplied + c.Summary.UnfavourableSupplied);
    }
}

}  // namespace
}  // namespace qv

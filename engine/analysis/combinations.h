// Scores of the natal chart, the combinations of stems and branches that
// make the transformed chart (變盤), and the strength of the day master.
#pragma once

#include "engine/chart/chart_record.h"

namespace qv {

// Kinds recorded in BranchRelation.
enum BranchRelationKind : int16_t {
    NoRelation = -1,
    DirectionalTrio = 1,  // 三會
    HarmonyTrio = 2,      // 三合
    HalfDirectional = 3,
    SixHarmony = 5,  // 六合
    Clash = 6,       // 沖
    TriplePunishment = 7,
    SelfPunishment = 8,
    PunishmentTigerSnakeMonkey = 9,  // within 寅巳申
    PunishmentOxDogGoat = 10,        // within 丑戌未
    PunishmentRatRabbitHorse = 11,   // within 子卯午
    Harm = 12,                       // 害
};

// A relation of three branches: a directional trio, a harmony trio (the
// element they make) or a three-branch punishment (element -1).
struct BranchTrio {
    int Branches[3];
    int Element;
    BranchRelationKind Kind;
};
// The trios in the order the analysis tries them, then the punishments.
inline constexpr int BranchTrioCount = 11;
const BranchTrio& BranchTrioAt(int i);

// Every relation two branches make by the pair kinds of the analysis (half
// directional pair, six harmony, clash, punishment pair, harm), wherever they
// stand; returns how many were written.
struct BranchPairRelation {
    BranchRelationKind Kind;
    int Element;  // of a combination, else -1
};
inline constexpr int MaxPairRelations = 3;
int BranchPairRelations(int x, int y, BranchPairRelation (&out)[MaxPairRelations]);

// The element two stems combine into (甲己 土, 乙庚 金, 丙辛 水, 丁壬 木,
// 戊癸 火), or -1 when they do not differ by five.
int StemUnionElement(int stemA, int stemB);

// The element of a six harmony (六合) of two branches, or -1.
int SixHarmonyElement(int branchA, int branchB);
// Whether a combining pair of stems transforms, by the branches under them.
bool StemPairTransforms(int stemA, int branchA, int stemB, int branchB);

// The stem a combining stem becomes when its pair transforms into element:
// the stem of that element with the same polarity (甲 -> 戊, 丁 -> 乙, ...).
int TransformedStem(int stem, int element);

// 陰陽氣合 of Natal in tenths, stored in Natal.ClimateBalance.
void ComputeClimateBalance(ChartRecord& rec);

// Displayed scores: StemScore, ElementScore and TenGodScore of the block.
void ComputeScores(ChartBlock& block);

enum class CombinationMode {
    Natal,   // writes Transformed, Natal's StrengthScore, ReferenceStrength and HasTransformed
    Scratch  // writes Scratch only (the fortune computations)
};

// The first relation a period branch makes with the four branches of a block,
// by rank: a trio it completes, a six harmony, a half directional pair, a
// clash, a punishment, a harm.
struct PeriodBranchRelation {
    BranchRelationKind Kind = NoRelation;
    int Element = -1;           // of a combination
    int Pillars[2] = {-1, -1};  // the block's pillars taking part
};
PeriodBranchRelation RelationWithPeriodBranch(const ChartBlock& block, int branch);

// Stem and branch combinations of the natal chart and the strength scores.
void AnalyseCombinations(ChartRecord& rec, CombinationMode mode);

// SameParty (the day master's element and its resource) and OtherParty
// (its wealth and officer) of the block's StrengthScore, for a day master of
// element dayElement.
void ComputeStrength(ChartBlock& block, int dayElement);

}  // namespace qv

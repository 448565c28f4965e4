// Two people's natal charts read against each other (命盤對照, 合婚): the ten
// gods of the day masters, every combination and relation between a stem or
// branch of one and one of the other, the zodiac pair, the Na Yin of the
// years, and how each chart carries the other's favourable and unfavourable
// elements. Only relations are listed and counted; no overall score is made.
#pragma once

#include <cstdint>

#include "engine/chart/chart_record.h"
#include "engine/analysis/combinations.h"

namespace qv {

// A stem of A and a stem of B that combine (五合).
struct StemLink {
    uint8_t PillarA, PillarB;
    int8_t Element;   // the element the pair leans to
    bool Transforms;  // the branches under them let it transform
};

// A branch relation between the charts: a pair (one pillar each side) or a
// trio completed only by branches of both (the pillars holding its branches).
struct BranchLink {
    BranchRelationKind Kind;
    int8_t Element;              // of a combination, else -1
    uint8_t PillarsA, PillarsB;  // bit p set: pillar p takes part
};

// How strongly one chart carries an element of the other's roles.
struct RoleSupport {
    uint8_t Element;
    int16_t Score;  // the carrying chart's element score
    bool Strong;    // above the average of that chart's five element scores
};

enum NaYinRelation : int8_t { NaYinSame, NaYinAGeneratesB, NaYinBGeneratesA, NaYinAControlsB, NaYinBControlsA };

// Harmonious against conflicting findings, each kind counted.
struct ComparisonSummary {
    int StemCombinations = 0;
    int BranchHarmonies = 0;     // 三會, 三合, 半會, 六合
    int FavourableSupplied = 0;  // 用神 and 喜神 of one strongly in the other
    int Clashes = 0, Punishments = 0, Harms = 0;
    int UnfavourableSupplied = 0;  // 忌神 and 仇神 of one strongly in the other
    int Harmonious() const { return StemCombinations + BranchHarmonies + FavourableSupplied; }
    int Conflicting() const { return Clashes + Punishments + Harms + UnfavourableSupplied; }
};

struct DayMasterStrength {
    bool Strong;
    int16_t SameParty, OtherParty;
};

inline constexpr int MaxStemLinks = 16;
inline constexpr int MaxBranchLinks = 16 * MaxPairRelations + BranchTrioCount;

struct ChartComparison {
    uint8_t GodOfBFromA, GodOfAFromB;  // ten god of the other's day stem
    StemLink Stems[MaxStemLinks];
    int StemCount;
    BranchLink Branches[MaxBranchLinks];
    int BranchCount;
    uint8_t ZodiacA, ZodiacB;  // the year branches
    BranchPairRelation YearRelations[MaxPairRelations];
    int YearRelationCount;
    uint8_t NaYinElementA, NaYinElementB;
    NaYinRelation NaYin;
    RoleSupport AInB[5], BInA[5];  // by role 用神 … 仇神 of the first-named chart
    DayMasterStrength StrengthA, StrengthB;
    ComparisonSummary Summary;
};

enum class RelationTone { Harmonious, Conflicting };
RelationTone ToneOf(BranchRelationKind kind);

// The comparison of two analysed natal charts (their Natal blocks).
void CompareCharts(const ChartBlock& a, const ChartBlock& b, ChartComparison& out);

// The comparison's words.
int RelationKindText(BranchRelationKind kind);  // 三會 … 害

}  // namespace qv

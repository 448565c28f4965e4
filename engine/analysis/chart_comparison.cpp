#include "engine/analysis/chart_comparison.h"

#include "engine/texts/text_ids.h"

#include "engine/chart/symbols.h"

namespace qv {
namespace {

constexpr bool IsFavourableRole(int role) { return role <= 1; }
constexpr bool IsUnfavourableRole(int role) { return role >= 3; }

uint8_t Bit(int pillar) { return static_cast<uint8_t>(1u << pillar); }

// The pillars of the block whose branch is b.
uint8_t PillarsHolding(const ChartBlock& block, int b) {
    uint8_t mask = 0;
    for (int p = 0; p < 4; ++p) mask |= block.Branch[p] == b ? Bit(p) : 0;
    return mask;
}

void FindStemLinks(const ChartBlock& a, const ChartBlock& b, ChartComparison& out) {
    out.StemCount = 0;
    for (int p = 0; p < 4; ++p) {
        for (int q = 0; q < 4; ++q) {
            const int element = StemUnionElement(a.Stem[p], b.Stem[q]);
            if (element < 0) continue;
            const bool transforms = StemPairTransforms(a.Stem[p], a.Branch[p], b.Stem[q], b.Branch[q]);
            out.Stems[out.StemCount++] = StemLink{static_cast<uint8_t>(p), static_cast<uint8_t>(q),
                                                  static_cast<int8_t>(element), transforms};
        }
    }
}

void AddBranchLink(ChartComparison& out, BranchRelationKind kind, int element, uint8_t pillarsA, uint8_t pillarsB) {
    out.Branches[out.BranchCount++] = BranchLink{kind, static_cast<int8_t>(element), pillarsA, pillarsB};
}

// A trio between the charts needs branches of both: one that either chart
// completes alone is that chart's own.
void FindTrios(const ChartBlock& a, const ChartBlock& b, ChartComparison& out) {
    for (int t = 0; t < BranchTrioCount; ++t) {
        const BranchTrio& trio = BranchTrioAt(t);
        uint8_t inA = 0, inB = 0;
        bool present = true, allInA = true, allInB = true;
        for (int branch : trio.Branches) {
            const uint8_t ma = PillarsHolding(a, branch), mb = PillarsHolding(b, branch);
            present = present && (ma | mb) != 0;
            allInA = allInA && ma != 0;
            allInB = allInB && mb != 0;
            inA |= ma;
            inB |= mb;
        }
        if (present && !allInA && !allInB) AddBranchLink(out, trio.Kind, trio.Element, inA, inB);
    }
}

void FindBranchLinks(const ChartBlock& a, const ChartBlock& b, ChartComparison& out) {
    out.BranchCount = 0;
    FindTrios(a, b, out);
    for (int p = 0; p < 4; ++p) {
        for (int q = 0; q < 4; ++q) {
            BranchPairRelation found[MaxPairRelations];
            const int n = BranchPairRelations(a.Branch[p], b.Branch[q], found);
            for (int i = 0; i < n; ++i) AddBranchLink(out, found[i].Kind, found[i].Element, Bit(p), Bit(q));
        }
    }
}

NaYinRelation NaYinRelationOf(int a, int b) {
    // Elements run 水 木 火 土 金: each generates the next and controls the one after.
    if (a == b) return NaYinSame;
    if ((a + 1) % 5 == b) return NaYinAGeneratesB;
    if ((b + 1) % 5 == a) return NaYinBGeneratesA;
    if ((a + 2) % 5 == b) return NaYinAControlsB;
    return NaYinBControlsA;
}

void FindRoleSupport(const ChartBlock& roles, const ChartBlock& carrier, RoleSupport (&out)[5]) {
    int total = 0;
    for (int e = 0; e < 5; ++e) total += carrier.ElementScore[e];
    for (int r = 0; r < 5; ++r) {
        const int element = roles.Roles[r] % 5;
        const int16_t score = carrier.ElementScore[element];
        out[r] = RoleSupport{static_cast<uint8_t>(element), score, 5 * score > total};
    }
}

DayMasterStrength StrengthOf(const ChartBlock& block) {
    return DayMasterStrength{block.IsStrong != 0, block.SameParty, block.OtherParty};
}

ComparisonSummary Summarise(const ChartComparison& c) {
    ComparisonSummary s;
    s.StemCombinations = c.StemCount;
    for (int i = 0; i < c.BranchCount; ++i) {
        const BranchRelationKind kind = c.Branches[i].Kind;
        if (ToneOf(kind) == RelationTone::Harmonious) ++s.BranchHarmonies;
        else if (kind == Clash) ++s.Clashes;
        else if (kind == Harm) ++s.Harms;
        else ++s.Punishments;
    }
    for (const RoleSupport* side : {c.AInB, c.BInA}) {
        for (int r = 0; r < 5; ++r) {
            if (!side[r].Strong) continue;
            s.FavourableSupplied += IsFavourableRole(r);
            s.UnfavourableSupplied += IsUnfavourableRole(r);
        }
    }
    return s;
}

}  // namespace

RelationTone ToneOf(BranchRelationKind kind) {
    const bool combines = kind == DirectionalTrio || kind == HarmonyTrio || kind == HalfDirectional || kind == SixHarmony;
    return combines ? RelationTone::Harmonious : RelationTone::Conflicting;
}

int RelationKindText(BranchRelationKind kind) {
    switch (kind) {
        case DirectionalTrio: return text_base::RelationKind + 0;
        case HarmonyTrio: return text_base::RelationKind + 1;
        case HalfDirectional: return text_base::RelationKind + 2;
        case SixHarmony: return text_base::RelationKind + 3;
        case Clash: return text_base::RelationKind + 4;
        case TriplePunishment: return text_base::RelationKind + 5;
        case SelfPunishment: return text_base::RelationKind + 6;
        case Harm: return text_base::RelationKind + 8;
        default: return text_base::RelationKind + 7;  // the punishment pairs
    }
}

void CompareCharts(const ChartBlock& a, const ChartBlock& b, ChartComparison& out) {
    out.GodOfBFromA = static_cast<uint8_t>(TenGod(a.Stem[DayPillar], b.Stem[DayPillar]));
    out.GodOfAFromB = static_cast<uint8_t>(TenGod(b.Stem[DayPillar], a.Stem[DayPillar]));
    FindStemLinks(a, b, out);
    FindBranchLinks(a, b, out);
    out.ZodiacA = a.Branch[YearPillar];
    out.ZodiacB = b.Branch[YearPillar];
    out.YearRelationCount = BranchPairRelations(out.ZodiacA, out.ZodiacB, out.YearRelations);
    out.NaYinElementA = static_cast<uint8_t>(NaYinElementOf(a.NaYin[YearPillar]));
    out.NaYinElementB = static_cast<uint8_t>(NaYinElementOf(b.NaYin[YearPillar]));
    out.NaYin = NaYinRelationOf(out.NaYinElementA, out.NaYinElementB);
    FindRoleSupport(a, b, out.AInB);
    FindRoleSupport(b, a, out.BInA);
    out.StrengthA = StrengthOf(a);
    out.StrengthB = StrengthOf(b);
    out.Summary = Summarise(out);
}

}  // namespace qv

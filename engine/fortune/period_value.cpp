// The overall value of a period pillar: the pillar is laid over the natal
// chart, its stem or its branch acts on the natal shares, and the change of
// the favourable elements' scores minus that of the unfavourable ones is the
// value.
#include <cmath>

#include "engine/analysis/combinations.h"
#include "engine/fortune/fortune.h"
#include "engine/chart/ganzhi.h"
#include "engine/analysis/index_values.h"
#include "engine/fortune/potential.h"
#include "engine/chart/symbols.h"

namespace qv {
namespace {

using namespace gz;

constexpr int StemPoints = 16;
constexpr int SlotPoints[3] = {8, 5, 3};
constexpr double SlotIndex[3] = {0.5, 0.3, 0.2};
constexpr int PeriodSlot = 4;  // the period pillar's place after the four natal ones

// Change of a natal share by its element x against the period element e, in
// ninths of a stem's share, by (x - e) mod 5: the same element, the one e
// produces, the one e controls, the one that controls e, the one that produces e.
constexpr int ElementEffect[5] = {9, 7, -7, -2, -4};

int ElementEffectOf(int x, int e) { return ElementEffect[((x - e) % 5 + 5) % 5]; }

struct Share {
    double Points = 0, Index = 0;
    void Scale(double f) {
        Points *= f;
        Index *= f;
    }
};

// A stem of the chart with the score points and index factor it brings.
struct Holder {
    int Stem = -1;
    Share Value;
};

struct PeriodWork {
    explicit PeriodWork(ChartBlock& w) : W(w) {}
    ChartBlock& W;
    Holder Stems[5];      // the four natal stems, then the period stem
    Holder Hidden[5][3];  // natal hidden stems, then those of the period branch
    double Gain[5] = {};  // by element, from the period branch's relations
};

bool SingleHiddenBranch(int branch) { return branch == 子 || branch == 卯 || branch == 酉; }

// Hidden stems of a branch with 8, 5, 3 points and 0.5, 0.3, 0.2 factors by
// slot, a missing slot's share going to the main stem.
void FillHiddenHolders(Holder out[3], const uint8_t hidden[3], int branch) {
    for (int j = 0; j < 3; ++j) {
        out[j] = hidden[j] != 0 ? Holder{hidden[j] - 1, {double(SlotPoints[j]), SlotIndex[j]}} : Holder{};
    }
    for (int j = 1; j < 3; ++j) {
        if (hidden[j] == 0) {
            out[0].Value.Points += SlotPoints[j];
            out[0].Value.Index += SlotIndex[j];
        }
    }
    if (SingleHiddenBranch(branch)) {
        out[0].Value.Index = 1;
        for (int j = 1; j < 3; ++j) out[j].Value.Index = 0;
    }
}

// The natal stems and hidden stems, the branches as the combinations left them.
PeriodWork StartWork(ChartRecord& rec, bool useScratch) {
    ChartBlock& w = useScratch ? rec.Scratch : rec.Flow;
    w = rec.Natal;
    for (int p = 0; p < 4; ++p) {
        w.Branch[p] = rec.Transformed.Branch[p];
        w.BranchElement[p] = rec.Transformed.BranchElement[p];
    }
    for (int i = 0; i < 5; ++i) w.StemUnion[i] = w.BranchRelation[i] = NoRelation;
    PeriodWork work{w};
    for (int p = 0; p < 4; ++p) {
        work.Stems[p] = Holder{w.Stem[p], {double(StemPoints), 1.0}};
        FillHiddenHolders(work.Hidden[p], w.HiddenStem[p], rec.Natal.Branch[p]);
    }
    return work;
}

// Scores by element of the holders, the period's ones left out.
void NatalReference(const PeriodWork& work, double s[5]) {
    for (int p = 0; p < 4; ++p) {
        s[StemElement(work.Stems[p].Stem)] += work.Stems[p].Value.Points;
        for (const Holder& h : work.Hidden[p]) {
            if (h.Stem >= 0) s[StemElement(h.Stem)] += h.Value.Points;
        }
    }
}

bool InNatalStemUnion(const ChartBlock& natal, int p) {
    return (p > 0 && StemUnionElement(natal.Stem[p], natal.Stem[p - 1]) >= 0) ||
           (p < 3 && StemUnionElement(natal.Stem[p], natal.Stem[p + 1]) >= 0);
}

// Rewrites a natal stem (slot -1) or main hidden stem of pillar p into the
// combination's element.
void Transform(PeriodWork& work, int p, int slot, int element) {
    Holder& h = slot < 0 ? work.Stems[p] : work.Hidden[p][slot];
    h.Stem = TransformedStem(h.Stem, element);
    if (slot < 0) {
        work.W.Stem[p] = static_cast<uint8_t>(h.Stem);
        work.W.StemElement[p] = static_cast<uint8_t>(element);
        work.W.StemUnion[p] = static_cast<int16_t>(element);
        work.W.StemUnion[PeriodSlot] = static_cast<int16_t>(element);
    } else {
        work.W.HiddenStem[p][slot] = static_cast<uint8_t>(h.Stem + 1);
        work.W.HiddenElement[p][slot] = static_cast<uint8_t>(element);
    }
}

// The period stem meets the natal stems that combine with it, year to hour;
// returns the pillar whose stem it took, or -1.
int CombineWithNatalStems(PeriodWork& work, const ChartRecord& rec, int a, int b) {
    const ChartBlock& natal = rec.Natal;
    int n = 0, m = 0;
    for (int p = 0; p < 4; ++p) {
        n += StemUnionElement(natal.Stem[p], a) >= 0;
        m += natal.Stem[p] == a;
    }
    for (int p = 0; p < 4; ++p) {
        const int stem = natal.Stem[p];
        const int element = StemUnionElement(stem, a);
        if (element < 0) continue;
        if (n == m + 1) {
            // A stem already of the new element stays as it is, and so does one whose pair does not transform.
            if (!StemPairTransforms(stem, natal.Branch[p], a, b) || StemElement(stem) == element) continue;
            Transform(work, p, -1, element);
            return p;
        }
        if (n >= 2 && m >= 1 && InNatalStemUnion(natal, p)) {
            --n;
            continue;
        }
        work.Stems[p].Value.Scale(0.5);
        work.Stems[PeriodSlot].Value.Scale(0.5);
        return p;
    }
    return -1;
}

void ApplyEffectToHidden(Holder& h, int e) {
    if (h.Stem >= 0) h.Value.Scale(1 + ElementEffectOf(StemElement(h.Stem), e) / 9.0);
}

// A main hidden stem that combines with the period stem transforms or halves;
// every other hidden stem feels the period element.
void ActOnHiddenStems(PeriodWork& work, const ChartRecord& rec, int a, int b) {
    const int e = StemElement(a);
    for (int p = 0; p < 4; ++p) {
        Holder& main = work.Hidden[p][0];
        const int element = main.Stem >= 0 ? StemUnionElement(main.Stem, a) : -1;
        if (element >= 0) {
            if (StemPairTransforms(main.Stem, rec.Natal.Branch[p], a, b)) {
                Transform(work, p, 0, element);
            } else {
                main.Value.Scale(0.5);
            }
        } else {
            ApplyEffectToHidden(main, e);
        }
        for (int j = 1; j < 3; ++j) ApplyEffectToHidden(work.Hidden[p][j], e);
    }
}

constexpr int RelationGain(BranchRelationKind kind) {
    switch (kind) {
        case DirectionalTrio: return 12;
        case HarmonyTrio: return 9;
        case HalfDirectional: return 8;
        case SixHarmony: return 4;
        case Clash: return -4;
        default: return -2;  // punishments and harm
    }
}

// The period branch as a fifth branch: a combination it makes gains its
// element what the natal analysis gives such a combination; a clash,
// punishment or harm costs the elements of both branches.
void RelatePeriodBranch(PeriodWork& work, int branch) {
    const PeriodBranchRelation r = RelationWithPeriodBranch(work.W, branch);
    if (r.Kind == NoRelation) return;
    work.W.BranchRelation[PeriodSlot] = r.Kind;
    const int gain = RelationGain(r.Kind);
    for (int p : r.Pillars) {
        if (p < 0) continue;
        work.W.BranchRelation[p] = r.Kind;
        if (gain < 0) work.Gain[work.W.BranchElement[p]] += gain;
    }
    if (gain < 0) {
        work.Gain[BranchElementOf(branch)] += gain;
    } else {
        work.Gain[r.Element] += gain;
    }
}

int StemOfElement(int element, int polarity) { return 2 * ((element + 4) % 5) + polarity; }

// Totals per stem, the scores and index values of the work block, and the value.
void FinishWork(PeriodWork& work, ChartRecord& rec, const double natalScores[5]) {
    double points[10] = {};
    StemShares index{};
    auto add = [&](const Holder& h) {
        if (h.Stem < 0) return;
        points[h.Stem] += h.Value.Points;
        index.Stem[h.Stem] += h.Value.Index;
    };
    for (int p = 0; p < 5; ++p) {
        add(work.Stems[p]);
        for (const Holder& h : work.Hidden[p]) add(h);
    }
    for (int e = 0; e < 5; ++e) {
        for (int polarity = 0; polarity < 2; ++polarity) points[StemOfElement(e, polarity)] += work.Gain[e] / 2;
    }
    ChartBlock& w = work.W;
    const int d = w.Stem[DayPillar];
    int scores[5] = {};
    for (int s = 0; s < 10; ++s) {
        w.StemScore[s] = static_cast<int16_t>(std::lround(points[s] < 0 ? 0 : points[s]));
        w.TenGodScore[TenGod(d, s)] = w.StemScore[s];
        scores[StemElement(s)] += w.StemScore[s];
    }
    for (int e = 0; e < 5; ++e) w.ElementScore[e] = w.StrengthScore[e] = static_cast<int16_t>(scores[e]);
    const uint8_t* roles = rec.Natal.Roles;
    const int good = scores[roles[0]] + scores[roles[1]];
    const int bad = scores[roles[3]] + scores[roles[4]];
    const bool strong = rec.Natal.IsStrong != 0;
    w.SameParty = static_cast<int16_t>(strong ? bad : good);
    w.OtherParty = static_cast<int16_t>(strong ? good : bad);
    const double goodBefore = natalScores[roles[0]] + natalScores[roles[1]];
    const double badBefore = natalScores[roles[3]] + natalScores[roles[4]];
    w.PeriodValue = static_cast<int16_t>(std::lround((good - goodBefore) - (bad - badBefore)));
    ComputeIndexValuesFrom(w, index, rec.Scoring, false);
    // The record keeps the potentials of the period on show (Flow), which its
    // window compares with the natal ones; the fortune tables' many periods
    // in Scratch must not overwrite them.
    if (&w == &rec.Flow) ComputePotentials(rec, FlowPotentials);
}

struct CommandRule {
    int Stem[3];
    int Limit[2];  // -1: the stem before rules to the end
};
// By month number 1 寅 … 12 丑.
constexpr CommandRule CommandRules[12] = {
    {{戊, 丙, 甲}, {7, 14}},  {{甲, 乙, -1}, {10, -1}}, {{乙, 癸, 戊}, {9, 12}},  {{戊, 庚, 丙}, {7, 14}},
    {{丙, 己, 丁}, {10, 19}}, {{丁, 乙, 己}, {9, 12}},  {{戊, 壬, 庚}, {7, 14}},  {{庚, 辛, -1}, {10, -1}},
    {{辛, 丁, 戊}, {9, 12}},  {{戊, 甲, 壬}, {7, 14}},  {{壬, 癸, -1}, {10, -1}}, {{癸, 辛, 己}, {9, 12}},
};

}  // namespace

int CommandStem(const MonthPart& part) {
    const int m = part.MonthNumber < 1 || part.MonthNumber > 12 ? 12 : part.MonthNumber;
    const CommandRule& rule = CommandRules[m - 1];
    auto before = [&](int limit) { return part.Day < limit || (part.Day == limit && part.Hour < 1); };
    if (before(rule.Limit[0])) return rule.Stem[0];
    if (rule.Limit[1] < 0 || before(rule.Limit[1])) return rule.Stem[1];
    return rule.Stem[2];
}

void EvaluateStem(ChartRecord& rec, int stem, int branch, bool useScratch) {
    PeriodWork work = StartWork(rec, useScratch);
    double natalScores[5] = {};
    NatalReference(work, natalScores);
    work.Stems[PeriodSlot] = Holder{stem, {double(StemPoints), 1.0}};
    const int combined = CombineWithNatalStems(work, rec, stem, branch);
    const int e = StemElement(stem);
    for (int p = 0; p < 4; ++p) {
        if (p == combined || InNatalStemUnion(rec.Natal, p)) continue;
        const int effect = ElementEffectOf(rec.Natal.StemElement[p], e);
        work.Stems[p].Value.Points += effect;
        work.Stems[p].Value.Index += effect / 9.0;
    }
    ActOnHiddenStems(work, rec, stem, branch);
    FinishWork(work, rec, natalScores);
}

// The branch side: the period branch brings its hidden stems (or, in a flow
// month, the whole weight of the stem in command), relates to the natal
// branches as a fifth branch, and its element acts on the natal hidden stems
// as a period stem's would; branches do not act on the stems above them.
void EvaluateBranch(ChartRecord& rec, int /*stem*/, int branch, bool useScratch, const MonthPart& part) {
    PeriodWork work = StartWork(rec, useScratch);
    double natalScores[5] = {};
    NatalReference(work, natalScores);
    if (part.MonthNumber < 0) {
        const HiddenStems h = HiddenStemsOf(branch, rec.Options.SkyBase);
        FillHiddenHolders(work.Hidden[PeriodSlot], h.Slot, branch);
    } else {
        work.Hidden[PeriodSlot][0] = Holder{CommandStem(part), {double(StemPoints), 1.0}};
    }
    RelatePeriodBranch(work, branch);
    const int e = BranchElementOf(branch);
    for (int p = 0; p < 4; ++p) {
        for (Holder& h : work.Hidden[p]) ApplyEffectToHidden(h, e);
    }
    FinishWork(work, rec, natalScores);
}

}  // namespace qv

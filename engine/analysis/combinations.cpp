#include "engine/analysis/combinations.h"

#include <cmath>

#include "engine/chart/ganzhi.h"
#include "engine/chart/symbols.h"

namespace qv {
namespace {

using namespace gz;

// --- Tables -----------------------------------------------------------------

// Transformation of a combining stem pair, by the smaller stem (甲 ... 戊):
// the branch under the smaller stem is KeyUnderSmaller and the one under the
// larger in LargerWith, or the one under the larger is KeyUnderLarger and the
// one under the smaller in SmallerWith.
struct StemPairRule {
    int KeyUnderSmaller;
    unsigned LargerWith;
    int KeyUnderLarger;
    unsigned SmallerWith;
};
constexpr StemPairRule StemPairRules[5] = {
    {戌, BranchSet({巳, 未}), 巳, BranchSet({辰, 午})},      // 甲己 土
    {酉, BranchSet({辰, 申, 戌}), 辰, BranchSet({丑, 未})},  // 乙庚 金
    {申, BranchSet({丑, 巳, 亥}), 丑, BranchSet({子, 辰})},  // 丙辛 水
    {未, BranchSet({寅, 子, 辰}), 寅, BranchSet({卯, 亥})},  // 丁壬 木
    {午, BranchSet({巳, 卯, 未}), 巳, BranchSet({寅, 戌})},  // 戊癸 火
};

constexpr int StemWarmth[10] = {3, 1, 7, 5, 1, -1, -1, -3, -5, -7};
constexpr int BranchWarmth[12] = {-7, -6, 3, 1, 2, 7, 5, 6, -1, -3, -2, -5};

// By the element of the month stem: the season group whose branches, and
// whose stems of one element, weigh 1.2 in the climate balance.
struct WarmthBoost {
    unsigned Season;
    int StemElement;
};
constexpr WarmthBoost WarmthBoosts[5] = {
    {BranchSet({寅, 卯, 辰}), 木}, {BranchSet({巳, 午, 未}), 火}, {BranchSet({申, 酉, 戌}), 金},
    {BranchSet({亥, 子, 丑}), 水}, {0, -1},
};

// The branch a transformed branch becomes: the first listed branch of its element.
constexpr int FirstBranchOf[5] = {亥, 寅, 巳, 未, 申};

// Directional: the earth branch last; harmony: birth, middle, tomb.
using Trio = BranchTrio;
constexpr Trio Trios[8] = {
    {{寅, 卯, 辰}, 木, DirectionalTrio}, {{巳, 午, 未}, 火, DirectionalTrio}, {{申, 酉, 戌}, 金, DirectionalTrio},
    {{亥, 子, 丑}, 水, DirectionalTrio}, {{亥, 卯, 未}, 木, HarmonyTrio},     {{寅, 午, 戌}, 火, HarmonyTrio},
    {{巳, 酉, 丑}, 金, HarmonyTrio},     {{申, 子, 辰}, 水, HarmonyTrio},
};

struct BranchPair {
    int A, B, Element;
};
constexpr BranchPair HalfDirectionalPairs[4] = {{寅, 卯, 木}, {巳, 午, 火}, {申, 酉, 金}, {亥, 子, 水}};

// Six harmonies pair a branch with 13 - branch (mod 12). By branch: the
// element of its pair, and the branch it is rewritten to in Transformed.
constexpr int SixHarmonyElements[12] = {土, 土, 木, 火, 金, 水, 火, 火, 水, 金, 火, 木};
constexpr int SixHarmonyRewrite[12] = {未, 丑, 寅, 巳, 申, 亥, 午, 巳, 子, 酉, 午, 卯};

constexpr Trio PunishmentTrios[3] = {
    {{寅, 巳, 申}, -1, TriplePunishment}, {{丑, 戌, 未}, -1, TriplePunishment}, {{子, 午, 卯}, -1, TriplePunishment}};

constexpr unsigned SelfPunishing = BranchSet({辰, 午, 酉, 亥});
struct PunishmentGroup {
    unsigned Branches;
    BranchRelationKind Kind;
};
constexpr PunishmentGroup PunishmentGroups[3] = {
    {BranchSet({寅, 巳, 申}), PunishmentTigerSnakeMonkey},
    {BranchSet({丑, 戌, 未}), PunishmentOxDogGoat},
    {BranchSet({子, 卯, 午}), PunishmentRatRabbitHorse},
};

constexpr int MonthHiddenBonus[3] = {5, 3, 2};
constexpr uint8_t StartStemFactor = 9, FailedUnionStemFactor = 5;
constexpr uint8_t StartBranchFactor[4] = {16, 24, 16, 16};
constexpr int AdjacentPairs[3][2] = {{YearPillar, MonthPillar}, {MonthPillar, DayPillar}, {DayPillar, HourPillar}};
// Relations are matched to pillars in this order.
constexpr int RelationOrder[4] = {DayPillar, HourPillar, MonthPillar, YearPillar};

bool InSet(unsigned set, int branch) { return (set >> branch) & 1u; }

// Extra gain by the number of other pillars that stand in the new element:
// base for one, three more for each further one, up to three.
int Bonus(int pillars, int base) { return pillars == 0 ? 0 : base + 3 * ((pillars > 3 ? 3 : pillars) - 1); }

// --- The working state of one analysis ----------------------------------------

struct Analysis {
    const ChartBlock& Source;  // Natal
    ChartBlock& Target;        // Transformed or Scratch
    int Gain[5] = {}, Gain2[5] = {}, Loss[5] = {};
    bool Used[4] = {};

    int SourceBranch(int p) const { return Source.Branch[p]; }

    // A relation of three branches goes to the pillars from..to, not yet used
    // up, that hold them: each branch once, the day pillar first.
    void RecordTrio(BranchRelationKind kind, const int (&branches)[3], int from, int to) {
        bool matched[3] = {};
        for (int p : RelationOrder) {
            if (p < from || p > to || Used[p]) continue;
            for (int i = 0; i < 3; ++i) {
                if (!matched[i] && SourceBranch(p) == branches[i]) {
                    Target.BranchRelation[p] = kind;
                    matched[i] = true;
                    break;
                }
            }
        }
    }
    void RecordPair(BranchRelationKind kind, int p, int q) {
        Target.BranchRelation[p] = Target.BranchRelation[q] = kind;
    }

    void AddGain(int element, int amount, bool toGain2) {
        Gain[element] += amount;
        if (toGain2) Gain2[element] += amount;
    }

    void TransformBranch(int p, int element, int newBranch) {
        Target.Branch[p] = static_cast<uint8_t>(newBranch);
        Target.BranchElement[p] = static_cast<uint8_t>(element);
    }

    // Pillars other than the day whose branch (and, when asked, stem) stand in the element.
    int OtherPillarsIn(int element, bool stemToo) const {
        int n = 0;
        for (int p : {YearPillar, MonthPillar, HourPillar}) {
            n += Target.BranchElement[p] == element && (!stemToo || Target.StemElement[p] == element);
        }
        return n;
    }
};

// --- Stems --------------------------------------------------------------------

void CombineStems(Analysis& a, int16_t& unionCount) {
    bool justTransformed = false;
    for (const auto& pair : AdjacentPairs) {
        const int p = pair[0], q = pair[1];
        if (justTransformed) {  // a transformed stem does not combine again
            justTransformed = false;
            continue;
        }
        const int element = StemUnionElement(a.Source.Stem[p], a.Source.Stem[q]);
        if (element < 0) continue;
        if (StemPairTransforms(a.Source.Stem[p], a.SourceBranch(p), a.Source.Stem[q], a.SourceBranch(q))) {
            for (int slot : {p, q}) {
                a.Target.Stem[slot] = static_cast<uint8_t>(TransformedStem(a.Source.Stem[slot], element));
                a.Target.StemElement[slot] = static_cast<uint8_t>(element);
                a.Target.StemUnion[slot] = static_cast<int16_t>(element);
            }
            ++unionCount;
            justTransformed = true;
            continue;
        }
        // Two equal stems contending for one partner leave the union undecided.
        const bool contended = p <= MonthPillar && a.Source.Stem[p + 2] == a.Source.Stem[p];
        if (!contended) a.Target.StemFactor[p] = a.Target.StemFactor[q] = FailedUnionStemFactor;
    }
}

// --- Branch trios -------------------------------------------------------------

bool TrioStandsOnce(const Analysis& a, const Trio& trio, int from, int to) {
    for (int b : trio.Branches) {
        int count = 0;
        for (int p = from; p <= to; ++p) count += a.SourceBranch(p) == b;
        if (count != 1) return false;
    }
    return true;
}

void ApplyDirectionalTrio(Analysis& a, const Trio& trio) {
    const int m = trio.Element;
    const int earth = trio.Branches[2];
    if (a.SourceBranch(DayPillar) == earth) {
        a.TransformBranch(DayPillar, m, FirstBranchOf[m]);
    } else {
        for (int p : {YearPillar, MonthPillar, HourPillar}) {
            if (a.SourceBranch(p) == earth) a.TransformBranch(p, m, FirstBranchOf[m]);
        }
    }
    a.AddGain(m, 12, true);
    a.AddGain(m, Bonus(a.OtherPillarsIn(m, true), 15), false);
}

// The day branch transforms when it is the birth or tomb branch; then the
// pillars holding the one of those two not yet used, two transformations at most.
void ApplyHarmonyTrio(Analysis& a, const Trio& trio) {
    const int m = trio.Element;
    const int birth = trio.Branches[0], tomb = trio.Branches[2];
    bool birthUsed = false, tombUsed = false;
    int left = 2;
    auto transform = [&](int p) {
        birthUsed |= a.SourceBranch(p) == birth;
        tombUsed |= a.SourceBranch(p) == tomb;
        a.TransformBranch(p, m, FirstBranchOf[m]);
        --left;
    };
    if (a.SourceBranch(DayPillar) == birth || a.SourceBranch(DayPillar) == tomb) transform(DayPillar);
    for (int p : {YearPillar, MonthPillar, HourPillar}) {
        const int b = a.SourceBranch(p);
        if (left > 0 && ((b == birth && !birthUsed) || (b == tomb && !tombUsed))) transform(p);
    }
    a.AddGain(m, 9, true);
    a.AddGain(m, Bonus(a.OtherPillarsIn(m, true), 12), false);
}

// The pillars from..to on which the trio stands: all four for the natal
// chart, three in a row for the fortune computations.
bool TrioStands(const Analysis& a, const Trio& trio, CombinationMode mode, int& from, int& to) {
    if (mode == CombinationMode::Natal) {
        from = YearPillar;
        to = HourPillar;
        return TrioStandsOnce(a, trio, from, to);
    }
    for (int start : {YearPillar, MonthPillar}) {
        if (TrioStandsOnce(a, trio, start, start + 2)) {
            from = start;
            to = start + 2;
            return true;
        }
    }
    return false;
}

bool ApplyFirstTrio(Analysis& a, CombinationMode mode) {
    for (const Trio& trio : Trios) {
        int from = 0, to = 0;
        if (!TrioStands(a, trio, mode, from, to)) continue;
        a.RecordTrio(trio.Kind, trio.Branches, from, to);
        if (trio.Kind == DirectionalTrio) {
            ApplyDirectionalTrio(a, trio);
        } else {
            ApplyHarmonyTrio(a, trio);
        }
        return true;
    }
    return false;
}

// --- Branch pairs -------------------------------------------------------------

int HalfDirectionalElementOf(int x, int y) {
    for (const BranchPair& pair : HalfDirectionalPairs) {
        if ((x == pair.A && y == pair.B) || (x == pair.B && y == pair.A)) return pair.Element;
    }
    return -1;
}

int SixHarmonyElementOf(int x, int y) { return (x + y) % 12 == 1 ? SixHarmonyElements[x] : -1; }

// Where the gains of a pair go: the first pair test counts everything twice.
struct PairGains {
    bool BaseToGain2, BonusToGain2;
};

void ApplyHalfDirectional(Analysis& a, int p, int q, int w, PairGains gains) {
    a.AddGain(w, 8, gains.BaseToGain2);
    a.RecordPair(HalfDirectional, p, q);
    a.AddGain(w, Bonus(a.OtherPillarsIn(w, false), 11), gains.BonusToGain2);
    a.Used[p] = a.Used[q] = true;
}

void ApplySixHarmony(Analysis& a, int p, int q, int f, PairGains gains) {
    a.AddGain(f, 4, gains.BaseToGain2);
    a.RecordPair(SixHarmony, p, q);
    for (int slot : {p, q}) a.TransformBranch(slot, f, SixHarmonyRewrite[a.SourceBranch(slot)]);
    a.AddGain(f, Bonus(a.OtherPillarsIn(f, false), 7), gains.BonusToGain2);
    a.Used[p] = a.Used[q] = true;
}

// Year-month and day-hour as half directional pairs or six harmonies, kept only when both combine.
bool ApplyPairTest(Analysis& a) {
    constexpr int Pairs[2][2] = {{YearPillar, MonthPillar}, {DayPillar, HourPillar}};
    for (const auto& pair : Pairs) {
        const int x = a.SourceBranch(pair[0]), y = a.SourceBranch(pair[1]);
        if (HalfDirectionalElementOf(x, y) < 0 && SixHarmonyElementOf(x, y) < 0) return false;
    }
    for (const auto& pair : Pairs) {
        const int x = a.SourceBranch(pair[0]), y = a.SourceBranch(pair[1]);
        if (const int w = HalfDirectionalElementOf(x, y); w >= 0) {
            ApplyHalfDirectional(a, pair[0], pair[1], w, {true, true});
        } else {
            ApplySixHarmony(a, pair[0], pair[1], SixHarmonyElementOf(x, y), {true, true});
        }
    }
    return true;
}

// Whether a pillar (one not yet used up, when asked) holds the branch.
bool HoldsBranch(const Analysis& a, int branch, bool unusedOnly) {
    for (int p = 0; p < 4; ++p) {
        if (a.SourceBranch(p) == branch && !(unusedOnly && a.Used[p])) return true;
    }
    return false;
}

void ApplyAdjacentHalfDirectionals(Analysis& a) {
    for (const auto& pair : AdjacentPairs) {
        const int p = pair[0], q = pair[1];
        if (a.Used[p] || a.Used[q]) continue;
        if (const int w = HalfDirectionalElementOf(a.SourceBranch(p), a.SourceBranch(q)); w >= 0) {
            ApplyHalfDirectional(a, p, q, w, {false, false});
        }
    }
}

void ApplyAdjacentSixHarmonies(Analysis& a) {
    for (const auto& pair : AdjacentPairs) {
        const int p = pair[0], q = pair[1];
        if (a.Used[p] || a.Used[q]) continue;
        const int x = a.SourceBranch(p), y = a.SourceBranch(q);
        const int f = SixHarmonyElementOf(x, y);
        if (f < 0) continue;
        // 寅 clashes 申 and harms 巳, so it breaks their union.
        if ((x == 巳 || x == 申) && HoldsBranch(a, 寅, false)) continue;
        ApplySixHarmony(a, p, q, f, {true, false});
    }
}

// --- Punishments, clashes, harms ----------------------------------------------

bool ApplyTriplePunishment(Analysis& a) {
    for (const Trio& trio : PunishmentTrios) {
        bool all = true;
        for (int b : trio.Branches) all = all && HoldsBranch(a, b, true);
        if (!all) continue;
        for (int b : trio.Branches) a.Loss[BranchElementOf(b)] += 4;
        a.RecordTrio(TriplePunishment, trio.Branches, YearPillar, HourPillar);
        return true;
    }
    return false;
}

void LosePair(Analysis& a, int p, int q, BranchRelationKind kind, int amount) {
    a.Loss[a.Target.BranchElement[p]] += amount;
    a.Loss[a.Target.BranchElement[q]] += amount;
    a.RecordPair(kind, p, q);
    a.Used[p] = a.Used[q] = true;
}

BranchRelationKind PunishmentKindOf(int x, int y) {
    if (x == y) return InSet(SelfPunishing, x) ? SelfPunishment : NoRelation;
    for (const PunishmentGroup& group : PunishmentGroups) {
        if (InSet(group.Branches, x) && InSet(group.Branches, y)) return group.Kind;
    }
    return NoRelation;
}

void ApplyClashesPunishmentsAndHarms(Analysis& a) {
    for (const auto& pair : AdjacentPairs) {
        const int p = pair[0], q = pair[1];
        if (!a.Used[p] && !a.Used[q] && (a.SourceBranch(p) + 12 - a.SourceBranch(q)) % 12 == 6) {
            LosePair(a, p, q, Clash, 4);
        }
    }
    for (int p = 0; p < 4; ++p) {
        for (int q = p + 1; q < 4; ++q) {
            if (a.Used[p] || a.Used[q]) continue;
            const BranchRelationKind kind = PunishmentKindOf(a.SourceBranch(p), a.SourceBranch(q));
            if (kind != NoRelation) LosePair(a, p, q, kind, 2);
        }
    }
    for (const auto& pair : AdjacentPairs) {
        const int p = pair[0], q = pair[1];
        if (!a.Used[p] && !a.Used[q] && (a.SourceBranch(p) + a.SourceBranch(q)) % 12 == 7) LosePair(a, p, q, Harm, 2);
    }
}

void AnalyseBranchPairs(Analysis& a) {
    if (ApplyPairTest(a)) return;
    ApplyAdjacentHalfDirectionals(a);
    ApplyAdjacentSixHarmonies(a);
    if (!ApplyTriplePunishment(a)) ApplyClashesPunishmentsAndHarms(a);
}

// --- Gains of the month's hidden stems and the base factors -------------------

void AddRevealedMonthStems(Analysis& a) {
    for (int slot = 0; slot < 3; ++slot) {
        const int hidden = a.Source.HiddenStem[MonthPillar][slot];
        if (hidden == 0) continue;
        const int element = StemElement(hidden - 1);
        for (int p = 0; p < 4; ++p) {
            if (a.Target.StemElement[p] == element) a.Gain[element] += MonthHiddenBonus[slot];
        }
    }
}

void AddBaseFactors(Analysis& a) {
    for (int p = 0; p < 4; ++p) {
        a.AddGain(a.Target.StemElement[p], a.Target.StemFactor[p], true);
        a.Gain[a.Target.BranchElement[p]] += a.Target.BranchFactor[p];
        a.Gain2[a.Target.BranchElement[p]] += 16;
    }
}

void StartTarget(ChartBlock& target, const ChartBlock& natal) {
    for (int p = 0; p < 4; ++p) {
        target.StemFactor[p] = StartStemFactor;
        target.BranchFactor[p] = StartBranchFactor[p];
    }
    for (int i = 0; i < 5; ++i) target.StemUnion[i] = target.BranchRelation[i] = NoRelation;
    target.ClimateBalance = natal.ClimateBalance;
}

bool PillarsDiffer(const ChartBlock& a, const ChartBlock& b) {
    for (int p = 0; p < 4; ++p) {
        if (a.Stem[p] != b.Stem[p] || a.Branch[p] != b.Branch[p]) return true;
    }
    return false;
}

// The natal block keeps what the analysis found about its own pillars.
void CopyFindingsToNatal(ChartBlock& natal, const ChartBlock& target) {
    for (int p = 0; p < 4; ++p) {
        natal.StemFactor[p] = target.StemFactor[p];
        natal.BranchFactor[p] = target.BranchFactor[p];
    }
    for (int i = 0; i < 5; ++i) {
        natal.StemUnion[i] = target.StemUnion[i];
        natal.BranchRelation[i] = target.BranchRelation[i];
    }
}

}  // namespace

int StemUnionElement(int stemA, int stemB) {
    if (stemA - stemB != 5 && stemB - stemA != 5) return -1;
    return ((stemA < stemB ? stemA : stemB) + 3) % 5;
}

int SixHarmonyElement(int branchA, int branchB) { return SixHarmonyElementOf(branchA, branchB); }

int BranchPairRelations(int x, int y, BranchPairRelation (&out)[MaxPairRelations]) {
    int n = 0;
    auto add = [&](BranchRelationKind kind, int element) {
        if (kind != NoRelation) out[n++] = BranchPairRelation{kind, element};
    };
    if (const int w = HalfDirectionalElementOf(x, y); w >= 0) add(HalfDirectional, w);
    if (const int f = SixHarmonyElementOf(x, y); f >= 0) add(SixHarmony, f);
    if ((x + 12 - y) % 12 == 6) add(Clash, -1);
    add(PunishmentKindOf(x, y), -1);
    if ((x + y) % 12 == 7) add(Harm, -1);
    return n;
}

const BranchTrio& BranchTrioAt(int i) { return i < 8 ? Trios[i] : PunishmentTrios[i - 8]; }

bool StemPairTransforms(int stemA, int branchA, int stemB, int branchB) {
    if (StemUnionElement(stemA, stemB) < 0) return false;
    const bool aSmaller = stemA < stemB;
    const int smaller = aSmaller ? stemA : stemB;
    const int underSmaller = aSmaller ? branchA : branchB;
    const int underLarger = aSmaller ? branchB : branchA;
    const StemPairRule& rule = StemPairRules[smaller];
    return (underSmaller == rule.KeyUnderSmaller && InSet(rule.LargerWith, underLarger)) ||
           (underLarger == rule.KeyUnderLarger && InSet(rule.SmallerWith, underSmaller));
}

int TransformedStem(int stem, int element) { return 2 * ((element + 4) % 5) + stem % 2; }

void ComputeClimateBalance(ChartRecord& rec) {
    ChartBlock& n = rec.Natal;
    const int monthBranch = n.Branch[MonthPillar];
    const WarmthBoost& boost = WarmthBoosts[StemElement(n.Stem[MonthPillar])];
    const bool boosted = InSet(boost.Season, monthBranch);
    double sum = 0;
    for (int p = 0; p < 4; ++p) {
        const bool stemBoost = boosted && StemElement(n.Stem[p]) == boost.StemElement;
        const bool branchBoost = boosted && InSet(boost.Season, n.Branch[p]);
        sum += StemWarmth[n.Stem[p]] * (stemBoost ? 1.2 : 1.0);
        sum += BranchWarmth[n.Branch[p]] * (branchBoost ? 1.2 : 1.0);
    }
    n.ClimateBalance = static_cast<int16_t>(std::lround(sum * 10));
}

void ComputeScores(ChartBlock& block) {
    int stems[10] = {}, elements[5] = {};
    auto add = [&](int stem, int amount) {
        stems[stem] += amount;
        elements[StemElement(stem)] += amount;
    };
    for (int p = 0; p < 4; ++p) {
        add(block.Stem[p], 16);
        for (int j = 0; j < 3; ++j) {
            if (block.HiddenStem[p][j] != 0) add(block.HiddenStem[p][j] - 1, block.HiddenFactor[p][j]);
        }
    }
    const int d = block.Stem[DayPillar];
    for (int s = 0; s < 10; ++s) {
        block.StemScore[s] = static_cast<int16_t>(stems[s]);
        block.TenGodScore[TenGod(d, s)] = static_cast<int16_t>(stems[s]);
    }
    for (int e = 0; e < 5; ++e) block.ElementScore[e] = static_cast<int16_t>(elements[e]);
}

void AnalyseCombinations(ChartRecord& rec, CombinationMode mode) {
    const bool natalMode = mode == CombinationMode::Natal;
    if (!natalMode) rec.Scratch = rec.Natal;
    ChartBlock& target = natalMode ? rec.Transformed : rec.Scratch;
    if (natalMode) ComputeClimateBalance(rec);
    StartTarget(target, rec.Natal);
    Analysis a{rec.Natal, target};
    int16_t unionCount = 0;
    CombineStems(a, unionCount);
    if (!ApplyFirstTrio(a, mode)) AnalyseBranchPairs(a);
    AddRevealedMonthStems(a);
    AddBaseFactors(a);
    ChartBlock& strengthBlock = natalMode ? rec.Natal : rec.Scratch;
    for (int e = 0; e < 5; ++e) strengthBlock.StrengthScore[e] = static_cast<int16_t>(a.Gain[e] - a.Loss[e]);
    if (!natalMode) return;
    for (int e = 0; e < 5; ++e) rec.ReferenceStrength[e] = static_cast<int16_t>(a.Gain2[e] - a.Loss[e]);
    rec.StemUnionCount = unionCount;
    rec.HasTransformed = PillarsDiffer(rec.Natal, rec.Transformed) ? 1 : 0;
    CopyFindingsToNatal(rec.Natal, rec.Transformed);
}

namespace {

// Two block branches, on different pillars, that make the trio with the period branch.
bool CompletesTrio(const ChartBlock& block, const Trio& trio, int branch, int pillars[2]) {
    int found = 0;
    for (int b : trio.Branches) {
        if (b == branch) continue;
        for (int p : RelationOrder) {
            if (block.Branch[p] == b && (found == 0 || pillars[0] != p)) {
                pillars[found++] = p;
                break;
            }
        }
    }
    return found == 2;
}

// The first pillar, nearest the day first, whose branch makes a pair relation with the period branch.
template <typename Test>
PeriodBranchRelation FirstPairWith(const ChartBlock& block, Test test) {
    for (int p : RelationOrder) {
        const PeriodBranchRelation r = test(block.Branch[p]);
        if (r.Kind != NoRelation) return PeriodBranchRelation{r.Kind, r.Element, {p, -1}};
    }
    return {};
}

}  // namespace

PeriodBranchRelation RelationWithPeriodBranch(const ChartBlock& block, int branch) {
    for (const Trio& trio : Trios) {
        bool holds = false;
        for (int b : trio.Branches) holds = holds || b == branch;
        PeriodBranchRelation r{trio.Kind, trio.Element, {-1, -1}};
        if (holds && CompletesTrio(block, trio, branch, r.Pillars)) return r;
    }
    using Found = PeriodBranchRelation;
    const auto pairTests = {
        +[](int b, int x) { const int f = SixHarmonyElementOf(b, x); return Found{f < 0 ? NoRelation : SixHarmony, f, {}}; },
        +[](int b, int x) {
            const int f = HalfDirectionalElementOf(b, x);
            return Found{f < 0 ? NoRelation : HalfDirectional, f, {}};
        },
        +[](int b, int x) { return Found{(b + 12 - x) % 12 == 6 ? Clash : NoRelation, -1, {}}; },
        +[](int b, int x) { return Found{PunishmentKindOf(b, x), -1, {}}; },
        +[](int b, int x) { return Found{(b + x) % 12 == 7 ? Harm : NoRelation, -1, {}}; },
    };
    for (auto test : pairTests) {
        const Found r = FirstPairWith(block, [&](int x) { return test(branch, x); });
        if (r.Kind != NoRelation) return r;
    }
    return {};
}

void ComputeStrength(ChartBlock& block, int dayElement) {
    const int16_t* s = block.StrengthScore;
    block.SameParty = static_cast<int16_t>(s[dayElement] + s[(dayElement + 4) % 5]);
    block.OtherParty = static_cast<int16_t>(s[(dayElement + 2) % 5] + s[(dayElement + 3) % 5]);
}

}  // namespace qv

#include "engine/chart/symbols.h"

#include "engine/calendar/calendar.h"

namespace qv {
namespace {

constexpr uint8_t None = 0;
// By branch: main, middle and residual stems, stem + 1. The second stems of
// 子, 卯 and 酉 count only when the option asks for two.
constexpr uint8_t HiddenStemTable[12][3] = {
    {10, 9, None}, {6, 8, 10}, {1, 3, 5}, {2, 1, None}, {5, 2, 10}, {3, 5, 7},
    {4, 6, None},  {6, 2, 4},  {7, 9, 5}, {8, 7, None}, {5, 8, 4},  {9, 1, None},
};

constexpr int BranchElements[12] = {0, 3, 1, 1, 3, 2, 2, 3, 4, 4, 3, 0};

// Branch of 長生 for each day stem.
constexpr int StageStart[10] = {1, 6, 10, 9, 10, 9, 7, 0, 4, 3};

// The Na Yin elements repeat every fifteen pairs of pillars.
constexpr uint8_t NaYinElements[15] = {4, 2, 1, 3, 4, 2, 0, 3, 4, 1, 0, 3, 2, 1, 0};

// 旺 相 休 囚 死 by season: 寅卯, 巳午, 申酉, 亥子, and the earth months.
constexpr uint8_t SeasonalStates[5][5] = {
    {1, 2, 0, 4, 3}, {2, 3, 1, 0, 4}, {4, 0, 3, 2, 1}, {0, 1, 4, 3, 2}, {3, 4, 2, 1, 0},
};

bool OptionalSecondStem(int branch) { return branch == 0 || branch == 3 || branch == 9; }

int SeasonRow(int monthNumber) {
    if (monthNumber % 3 == 0) return 4;  // 辰 未 戌 丑
    return (monthNumber - 1) / 3;
}

// Factors by pillar kind (other, month) for one-, two- and three-stem branches.
constexpr uint8_t SingleFactors[2][3] = {{16, 0, 0}, {24, 0, 0}};
constexpr uint8_t DoubleFactors[2][3] = {{11, 5, 0}, {17, 7, 0}};
constexpr uint8_t TripleFactors[2][3] = {{8, 5, 3}, {12, 7, 5}};

const uint8_t (&FactorsFor(int branch, int skyBase))[2][3] {
    const bool cardinal = branch == 0 || branch == 3 || branch == 6 || branch == 9;
    if (cardinal) return skyBase ? DoubleFactors : SingleFactors;
    if (branch == 11) return DoubleFactors;
    return TripleFactors;
}

void MarkVoidsOf(ChartRecord& rec, int stem, int branch) {
    const int k = FloorMod(branch - stem, 12);
    rec.VoidMarks[(k + 10) % 12] = NotApplicable;
    rec.VoidMarks[(k + 11) % 12] = NotApplicable;
}

}  // namespace

int BranchElementOf(int branch) { return BranchElements[branch]; }

HiddenStems HiddenStemsOf(int branch, int skyBase) {
    HiddenStems h{{HiddenStemTable[branch][0], HiddenStemTable[branch][1], HiddenStemTable[branch][2]}};
    if (OptionalSecondStem(branch) && skyBase != 1) h.Slot[1] = None;
    return h;
}

int MainHiddenStem(int branch) { return HiddenStemTable[branch][0] - 1; }

int NaYinElementOf(int naYin) { return NaYinElements[naYin % 15]; }

int NaYinElement(int stem, int branch) { return NaYinElementOf(SexagenaryOf(stem, branch) / 2); }

int StageOf(int dayStem, int branch) {
    const int start = StageStart[dayStem];
    return dayStem % 2 == 0 ? (start + branch) % 12 : FloorMod(start - branch, 12);
}

void FillHiddenStemsAndGods(ChartBlock& block, int skyBase) {
    const int d = block.Stem[DayPillar];
    for (int p = 0; p < 4; ++p) {
        const HiddenStems h = HiddenStemsOf(block.Branch[p], skyBase);
        for (int j = 0; j < 3; ++j) {
            block.HiddenStem[p][j] = h.Slot[j];
            const bool filled = h.Slot[j] != None;
            block.HiddenElement[p][j] = filled ? static_cast<uint8_t>(StemElement(h.Slot[j] - 1)) : NotApplicable;
            block.HiddenGod[p][j] = filled ? static_cast<uint8_t>(TenGod(d, h.Slot[j] - 1)) : NotApplicable;
        }
        block.StemGod[p] = p == DayPillar ? NotApplicable : static_cast<uint8_t>(TenGod(d, block.Stem[p]));
        block.StemElement[p] = static_cast<uint8_t>(StemElement(block.Stem[p]));
        block.BranchElement[p] = static_cast<uint8_t>(BranchElementOf(block.Branch[p]));
    }
}

void FillStages(ChartBlock& block) {
    for (int p = 0; p < 4; ++p) block.Stage[p] = static_cast<uint8_t>(StageOf(block.Stem[DayPillar], block.Branch[p]));
}

void FillSeasonElements(ChartBlock& block) {
    const int row = SeasonRow(MonthNumber(block.Branch[MonthPillar]));
    for (int i = 0; i < 5; ++i) block.SeasonElement[i] = SeasonalStates[row][i];
}

void FillRelationElements(ChartBlock& block) {
    const int e = StemElement(block.Stem[DayPillar]);
    constexpr int Offsets[5] = {0, 1, 4, 3, 2};
    for (int i = 0; i < 5; ++i) block.RelationElement[i] = static_cast<uint8_t>((e + Offsets[i]) % 5);
}

void FillHiddenFactors(ChartBlock& block, int skyBase) {
    for (int p = 0; p < 4; ++p) {
        const auto& factors = FactorsFor(block.Branch[p], skyBase);
        for (int j = 0; j < 3; ++j) block.HiddenFactor[p][j] = factors[p == MonthPillar ? 1 : 0][j];
    }
}

void FillVoidMarks(ChartRecord& rec) {
    for (uint8_t& mark : rec.VoidMarks) mark = 0;
    MarkVoidsOf(rec, rec.Natal.Stem[YearPillar], rec.Natal.Branch[YearPillar]);
    MarkVoidsOf(rec, rec.Natal.Stem[DayPillar], rec.Natal.Branch[DayPillar]);
}

}  // namespace qv

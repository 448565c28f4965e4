// The symbols under each pillar: hidden stems, ten gods, twelve stages,
// seasonal states, relation elements, hidden-stem factors, void branches.
#pragma once

#include "engine/chart/chart_record.h"

namespace qv {

// Element of a stem: 甲乙 木 ... 壬癸 水.
constexpr int StemElement(int stem) { return (stem / 2 + 1) % 5; }
int BranchElementOf(int branch);

// Ten god of stem s seen from day stem d (0 比肩 ... 9 傷官).
constexpr int TenGod(int dayStem, int stem) {
    int t = ((dayStem - 2 * (stem / 2)) % 10 + 10) % 10;
    if (stem % 2 == 1) t += (dayStem % 2 == 0) ? 1 : -1;
    return (t % 10 + 10) % 10;
}

// The branch's hidden stems as stem + 1 (0 = none) under the hidden-stem option.
struct HiddenStems {
    uint8_t Slot[3];
};
HiddenStems HiddenStemsOf(int branch, int skyBase);
// The branch's main hidden stem (本氣).
int MainHiddenStem(int branch);

// Element of a Na Yin (0-29): 海中金 metal ... 大海水 water.
int NaYinElementOf(int naYin);
// The element (0 水 … 4 金) the Na Yin of a stem and branch belongs to.
int NaYinElement(int stem, int branch);

// Twelve-stage index of a branch for a day stem.
int StageOf(int dayStem, int branch);

// Month number from the month branch: 寅 = 1 ... 丑 = 12.
constexpr int MonthNumber(int monthBranch) { return monthBranch > 1 ? monthBranch - 1 : monthBranch + 11; }

// Hidden stems, their elements and ten gods, the stems' ten gods (from the
// block's own day stem), and the elements of the stems and branches.
void FillHiddenStemsAndGods(ChartBlock& block, int skyBase);
// Stages of the four branches (natal chart).
void FillStages(ChartBlock& block);
// Element that is 旺, 相, 休, 囚, 死 in the month of the block's month branch.
void FillSeasonElements(ChartBlock& block);
// Self, output, resource, officer and wealth elements of the block's day stem.
void FillRelationElements(ChartBlock& block);
// Weights of the hidden stems in the displayed scores.
void FillHiddenFactors(ChartBlock& block, int skyBase);
// 空亡 from the natal year and day pillars.
void FillVoidMarks(ChartRecord& rec);

}  // namespace qv

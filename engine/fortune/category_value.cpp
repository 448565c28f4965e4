// Category values (事業, 財運, 愛情, 遷移, …): a ten-god table per category and
// day-master strength, adjusted by how the period pillar meets the natal
// pillars the category looks at.
#include "engine/analysis/combinations.h"
#include "engine/fortune/fortune.h"
#include "engine/chart/ganzhi.h"
#include "engine/chart/symbols.h"

namespace qv {
namespace {

using namespace gz;

struct CategoryRule {
    int Category;
    int RowCount;                 // 4: rows by strength and sex
    int8_t Table[4][10];          // by ten god 比肩 … 傷官
    bool Stems[4], Branches[4];   // natal pillars the category looks at
};

constexpr CategoryRule CategoryRules[] = {
    {3, 4,
     {{40, 50, 30, 20, -50, -40, -30, -20, 10, -10},
      {-40, -50, -30, -20, 10, -10, 50, 40, 20, 30},
      {30, 20, 40, 50, -50, -40, -30, -20, 10, -10},
      {-20, -30, -10, 10, 40, 50, 20, 30, -50, -40}},
     {false, false, false, false}, {false, true, true, true}},
    {9, 2,
     {{30, 20, 40, 50, -50, -40, -30, -20, 10, -10}, {10, -10, -30, -20, 40, 50, -50, -40, 30, 20}},
     {false, false, false, false}, {false, true, true, false}},
    {5, 2,
     {{40, 50, 20, 30, -30, -20, -50, -40, 10, -10}, {-40, -50, -30, -20, -10, 10, 50, 40, 20, 30}},
     {true, false, false, false}, {true, false, true, false}},
    {8, 2,
     {{50, 40, 20, 30, -40, -50, -10, 10, -20, -30}, {-20, -30, -50, -40, 40, 50, 10, -10, 30, 20}},
     {false, true, false, true}, {false, true, false, false}},
    {4, 4,
     {{30, 20, -10, 10, -50, -40, -30, -20, 40, 50},
      {-20, -30, -10, 10, 40, 50, 20, 30, -40, -50},
      {30, 20, 50, 40, -50, -40, -30, -20, 10, -10},
      {-20, -30, -50, -40, -10, 10, 20, 30, 40, 50}},
     {false, false, false, true}, {false, false, false, true}},
    {7, 2,
     {{30, 20, 40, 50, -50, -40, -20, -30, 10, -10}, {-20, -30, -40, -50, 10, -10, 50, 40, 20, 30}},
     {false, false, false, false}, {true, false, true, false}},
};

const CategoryRule* RuleOf(int category) {
    for (const CategoryRule& rule : CategoryRules) {
        if (rule.Category == category) return &rule;
    }
    return nullptr;
}

int RowOf(const ChartRecord& rec, const CategoryRule& rule) {
    const int strong = rec.Natal.IsStrong != 0;
    return rule.RowCount == 4 ? strong + 2 * (rec.Person.sex & 1) : strong;
}

int TableValue(const ChartRecord& rec, const CategoryRule& rule, int stem) {
    return rule.Table[RowOf(rec, rule)][TenGod(rec.Natal.Stem[DayPillar], stem)];
}

// +1 for a favourable element, -1 for an unfavourable one, 0 for the rest.
// 閒神 counts as favourable where it tempers the birth season: 火 in a water
// season, 水 in a fire season.
int Judge(const ChartRecord& rec, int element) {
    const uint8_t* roles = rec.Natal.Roles;
    if (element == roles[0] || element == roles[1]) return 1;
    if (element == roles[3] || element == roles[4]) return -1;
    const int season = rec.BirthSeason;
    if (element == roles[2] && ((season == 水 && element == 火) || (season == 火 && element == 水))) return 1;
    return 0;
}

constexpr int CombinationStep = 50;

// A natal element x against the period element e, by (x - e) mod 5, when x is
// favourable and when it is unfavourable.
constexpr int FavourableStep[5] = {30, 30, -30, -20, -20};
constexpr int UnfavourableStep[5] = {-30, -30, 30, 30, 30};

int StepOf(int judged, int x, int e) {
    const int rel = ((x - e) % 5 + 5) % 5;
    return judged > 0 ? FavourableStep[rel] : judged < 0 ? UnfavourableStep[rel] : 0;
}

int StemAdjustment(const ChartRecord& rec, const CategoryRule& rule, int stem) {
    const int e = StemElement(stem);
    int sum = 0;
    for (int p = 0; p < 4; ++p) {
        if (!rule.Stems[p]) continue;
        const int x = rec.Natal.StemElement[p];
        const int union_ = StemUnionElement(rec.Natal.Stem[p], stem);
        if (union_ >= 0) {
            sum += CombinationStep * Judge(rec, union_);
        } else if (rec.Transformed.StemElement[p] != x) {
            sum += CombinationStep * Judge(rec, rec.Transformed.StemElement[p]);
        } else {
            sum += StepOf(Judge(rec, x), x, e);
        }
    }
    return sum;
}

// The period branch against each natal branch the category looks at: a six
// harmony judges its element (±50); a clash breaks the natal branch, costing
// 30 when its element is favourable and gaining 30 when it is not; otherwise
// the natal branch's element meets the period branch's as a stem's would.
int BranchAdjustment(const ChartRecord& rec, const CategoryRule& rule, int branch) {
    const int e = BranchElementOf(branch);
    int sum = 0;
    for (int p = 0; p < 4; ++p) {
        if (!rule.Branches[p]) continue;
        const int natal = rec.Natal.Branch[p];
        const int x = BranchElementOf(natal);
        if (const int f = SixHarmonyElement(natal, branch); f >= 0) {
            sum += CombinationStep * Judge(rec, f);
        } else if ((natal + 12 - branch) % 12 == 6) {
            sum -= 30 * Judge(rec, x);
        } else {
            sum += StepOf(Judge(rec, x), x, e);
        }
    }
    return sum;
}

}  // namespace

int CategoryTableValue(const ChartRecord& rec, int category, int tenGod) {
    const CategoryRule* rule = RuleOf(category);
    return rule == nullptr || tenGod < 0 || tenGod > 9 ? 0 : rule->Table[RowOf(rec, *rule)][tenGod];
}

PillarParts CategoryParts(const ChartRecord& rec, int category, int stem, int branch) {
    const CategoryRule* rule = RuleOf(category);
    if (rule == nullptr) return {0, 0};
    const int adjustment = BranchAdjustment(rec, *rule, branch);
    if (category == TravelCategory) return {0, adjustment};
    return {TableValue(rec, *rule, stem) + StemAdjustment(rec, *rule, stem),
            TableValue(rec, *rule, MainHiddenStem(branch)) + adjustment};
}

int PillarValue(ChartRecord& rec, int category, int stem, int branch, const MonthPart& part) {
    PillarParts parts{};
    if (category == OverallCategory) {
        EvaluateStem(rec, stem, branch, true);
        parts.Stem = rec.Scratch.PeriodValue;
        EvaluateBranch(rec, stem, branch, true, part);
        parts.Branch = rec.Scratch.PeriodValue;
    } else {
        parts = CategoryParts(rec, category, stem, branch);
        if (category == TravelCategory) return parts.Branch;
    }
    // The stem's share by how the elements meet: it produces the branch 3,
    // is produced 7, controls 6, is controlled 4, the same element 5.
    constexpr int StemShare[5] = {5, 3, 6, 4, 7};
    const int w = StemShare[((BranchElementOf(branch) - StemElement(stem)) % 5 + 5) % 5];
    return ((10 - w) * parts.Branch + w * parts.Stem + 5) / 10;
}

int CategoryBaseline(ChartRecord& rec, int category) {
    const CategoryRule* rule = RuleOf(category);
    if (rule == nullptr) return 0;
    AnalyseCombinations(rec, CombinationMode::Scratch);
    int s = 0, b = 0, roads = 0;
    for (int p = 0; p < 4; ++p) {
        if (rule->Stems[p]) s += TableValue(rec, *rule, rec.Transformed.Stem[p]);
        const int branch = rec.Scratch.Branch[p];
        if (rule->Branches[p]) b += TableValue(rec, *rule, MainHiddenStem(branch));
        // 寅 巳 申 亥, the travelling branches: strongest under the year and day.
        if (branch == 寅 || branch == 巳 || branch == 申 || branch == 亥) {
            roads += (p == YearPillar || p == DayPillar) ? 50 : 30;
        }
    }
    return category == TravelCategory ? b + roads : (b + 10 * s + 5) / 10;
}

}  // namespace qv

#include "engine/fortune/levels.h"

#include <algorithm>
#include <cstring>

#include "engine/texts/string_table.h"

namespace qv {
namespace {

// Feeling index of each level without and with the mark: only 優, 好, 順 and
// 累 have a turning form (變優, 變好, 變順, 變累).
constexpr int8_t PlainFeeling[LevelCount] = {0, 1, 2, 4, 6, 8, 9, 10, 11, 12, 14, 15};
constexpr int8_t TurningFeeling[LevelCount] = {0, 1, 3, 5, 7, 8, 9, 10, 11, 13, 14, 15};

// Per category: the chart explanation and the first entry of the ten-band
// commentary set, by period kind (luck pillars, ten years, months, days).
struct CategoryTexts {
    int Category;
    int Explanation[PeriodKindCount];
    int CommentarySet[PeriodKindCount];
};
constexpr CategoryTexts TextsByCategory[] = {
    {1, {586, 592, 694, 700}, {598, 598, 598, 598}},        // 本命
    {9, {587, 593, 695, 701}, {608, 608, 608, 608}},        // 事業
    {7, {588, 594, 696, 702}, {618, 618, 618, 618}},        // 遷移
    {5, {589, 595, 697, 703}, {628, 628, 628, 628}},        // 財運
    {6, {590, 596, 698, 704}, {638, 638, 638, 638}},        // 健康
    {3, {591, 597, 699, 705}, {648, 738, NoText, NoText}},  // 愛情: per luck pillar, per year
};

// Lowest value of each commentary band, best band first.
constexpr int BandFloor[] = {41, 31, 21, 11, 0, -10, -20, -30, -40, -999};
constexpr int BandCeiling = 999;

// Sixteen-level commentaries per period kind. Three of the sets keep the
// text of 變累 before the one of 累.
struct FeelingSet {
    int First;
    bool TiredTurningFirst;
};
constexpr FeelingSet FeelingSets[PeriodKindCount] = {{659, true}, {675, false}, {706, true}, {722, true}};
constexpr int TiredFeeling = 12;         // 累
constexpr int TiredTurningFeeling = 13;  // 變累

// Travel activity words by ten-god pair (比劫, 印, 官殺, 財, 食傷).

const CategoryTexts* FindCategory(int category) {
    for (const CategoryTexts& c : TextsByCategory)
        if (c.Category == category) return &c;
    return nullptr;
}

bool ValidPeriodKind(int periodKind) { return periodKind >= 0 && periodKind < PeriodKindCount; }

// Whole steps in value, limited to five either way; limiting first keeps the
// negation safe for any int.
int StepsUpTo5(int value, int step) { return std::clamp(value / step, -5, 5); }

Feeling Falling(int value, int change, int step) {
    const int d = -StepsUpTo5(change, step);
    if (value >= 0 || d != 0) return {6 + d, d == 3};
    return {7, false};  // a small fall below zero reads 不順
}

Feeling Rising(int value, int change, int step, bool exemptFirst) {
    const int u = change / step;
    int v = u;
    bool turning = false;
    if (value > step) {
        // A rise larger than the value's own level turns one level short.
        if (u > 0 && !exemptFirst && LevelOf(value, step) < u) {
            v = u - 1;
            turning = v >= 1 && v <= 3;
        }
    } else if (u > 4) {
        v = u - 1;
    } else {
        v = std::min(u, 3);
        turning = v > 0;
    }
    return {5 - std::min(v, 5), turning};
}

}  // namespace

int LevelOf(int value, int step) {
    if (step <= 0 || value == UnbornValue) return NoLevel;
    const int q = StepsUpTo5(value, step);
    return value >= 0 ? 5 - q : 6 - q;
}

Feeling FeelingOf(int value, int change, int step, bool exemptFirst) {
    if (step <= 0 || value == UnbornValue) return {NoLevel, false};
    return change < 0 ? Falling(value, change, step) : Rising(value, change, step, exemptFirst);
}

int FeelingIndex(int level, bool turning) {
    if (level < 0 || level >= LevelCount) return -1;
    return turning ? TurningFeeling[level] : PlainFeeling[level];
}

int ExplanationText(int category, int periodKind) {
    const CategoryTexts* c = FindCategory(category);
    if (!c || !ValidPeriodKind(periodKind)) return NoText;
    return c->Explanation[periodKind];
}

int CommentaryBand(int value) {
    if (value > BandCeiling) return -1;
    for (int i = 0; i < static_cast<int>(std::size(BandFloor)); ++i)
        if (value >= BandFloor[i]) return i;
    return -1;
}

int CommentaryText(int category, int periodKind, int value) {
    const CategoryTexts* c = FindCategory(category);
    const int band = CommentaryBand(value);
    if (!c || !ValidPeriodKind(periodKind) || band < 0) return NoText;
    const int first = c->CommentarySet[periodKind];
    return first == NoText ? NoText : first + band;
}

int FeelingText(int periodKind, int feelingIndex) {
    if (!ValidPeriodKind(periodKind) || feelingIndex < 0 || feelingIndex >= FeelingCount) return NoText;
    const FeelingSet& set = FeelingSets[periodKind];
    int entry = feelingIndex;
    if (set.TiredTurningFirst && feelingIndex == TiredFeeling) entry = TiredTurningFeeling;
    if (set.TiredTurningFirst && feelingIndex == TiredTurningFeeling) entry = TiredFeeling;
    return set.First + entry;
}

LabelText::LabelText(int firstId, int secondId) {
    Append(StringText(firstId));
    Append(StringText(secondId));
}

// Whole words only: a word that does not fit is left out rather than cut.
void LabelText::Append(std::string_view word) {
    if (word.empty() || word.size() > sizeof(Bytes) - Size) return;
    std::memcpy(Bytes + Size, word.data(), word.size());
    Size = static_cast<uint8_t>(Size + word.size());
}

LabelText FeelingLabel(Feeling feeling) {
    if (feeling.Level < 0 || feeling.Level >= LevelCount) return {};
    return {feeling.Turning ? TurningMarkText : NoText, LevelWordText + feeling.Level};
}

// The feeling word follows the strength of g on either side: 50 快樂 … 10
// 普通, −10 不順 … −50 最累 (0 counts as 普通).
TravelLabel TravelLabelIds(int tenGod, bool isStrong, int g) {
    if (tenGod < 0 || tenGod > 9) return {NoText, NoText};
    const int activity = (isStrong ? StrongActivityText : WeakActivityText) + tenGod / 2;
    const int tens = std::clamp(g / 10, -5, 5);
    const int word = tens > 0 ? PlainTravelWord + 1 - tens : PlainTravelWord - tens;
    return {activity, word};
}

LabelText TravelLabelText(TravelLabel label) { return {label.ActivityText, label.FeelingWordText}; }

}  // namespace qv

// Verbal levels of fortune values: twelve levels (最優 … 最累), sixteen
// feelings with the turning mark 變, and the string numbers of the stock
// texts that go with a chart, a value band and a feeling.
#pragma once

#include <cstdint>
#include <string_view>

#include "engine/texts/text_ids.h"

namespace qv {

inline constexpr int LevelCount = 12;    // L 0 最優 … 11 最累
inline constexpr int FeelingCount = 16;  // F 0 最優 … 15 最累
inline constexpr int NoLevel = -1;       // a period before birth, or bad input
inline constexpr int NoText = 0;         // no string-table entry applies
inline constexpr int UnbornValue = 9999;  // fortune value of a period before birth


// Period kinds of the fortune charts.
enum PeriodKind : int { LuckPillarPeriods = 0, TenYearPeriods = 1, MonthPeriods = 2, DayPeriods = 3 };
inline constexpr int PeriodKindCount = 4;

struct Feeling {
    int Level;     // 0–11, or NoLevel
    bool Turning;  // the level reads with 變 before it
};

// Level of a value; step is the size of one level (10 in every chart).
int LevelOf(int value, int step);

// Feeling of a bar from its value and its change against the bar before.
// exemptFirst: the bar is the first of its chart and may not take the
// turning rule of a rising value (see FirstBarExempt).
Feeling FeelingOf(int value, int change, int step, bool exemptFirst);

// Whether the first bar of a chart skips the turning rule: always in the
// luck-pillar chart, in the other charts unless the record's flag is negative.
constexpr bool FirstBarExempt(int periodKind, int16_t firstBarFlag) {
    return periodKind == LuckPillarPeriods || firstBarFlag >= 0;
}

// Feeling index F (0–15) of a level and mark; -1 for a level outside 0–11.
int FeelingIndex(int level, bool turning);

// String numbers of the chart explanation, the ten-band commentary of a
// value and the sixteen-level commentary of a feeling; NoText when none.
int ExplanationText(int category, int periodKind);
int CommentaryText(int category, int periodKind, int value);
int FeelingText(int periodKind, int feelingIndex);

// Commentary band of a value: 0 (41 and above) … 9 (−41 … −999); -1 beyond ±999.
int CommentaryBand(int value);

// A label of at most two string-table words, held without allocation.
class LabelText {
public:
    LabelText() = default;
    LabelText(int firstId, int secondId);
    std::string_view View() const { return {Bytes, Size}; }

private:
    void Append(std::string_view word);
    char Bytes[32] = {};
    uint8_t Size = 0;
};

// The feeling label under a bar: the level word, "變" + word when turning,
// empty for a period before birth.
LabelText FeelingLabel(Feeling feeling);

// Travel-chart label (category 7): the activity word from the ten god of the
// branch's main hidden stem, and the feeling word from the travel row value g
// of that ten god for the day master's strength.
struct TravelLabel {
    int ActivityText;
    int FeelingWordText;
};
TravelLabel TravelLabelIds(int tenGod, bool isStrong, int g);
LabelText TravelLabelText(TravelLabel label);

}  // namespace qv

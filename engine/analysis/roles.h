// How a chart is read: special patterns (格局), climate stems (中用神), the
// bridging element, the strength reading, and from them the five roles
// 用神 喜神 閒神 忌神 仇神.
#pragma once

#include "engine/chart/chart_record.h"

namespace qv {

enum PatternKind : int16_t {
    NoPattern = -1,
    炎上格 = 0,
    潤下格 = 1,
    從革格 = 2,
    稼檣格 = 3,
    取直仁壽格 = 4,
    棄命從財格 = 5,
    棄命從殺格 = 6,
};

enum ReadingKindValue : int16_t { ByPattern = 0, ByClimate = 1, ByBridge = 2, ByStrength = 3 };

enum class RoleMode {
    Natal,       // reads and writes Natal
    Transformed  // Transformed, with the strength scores of Natal
};

// Strength, reading kind, pattern, climate stems, roles and IsStrong.
void SelectRoles(ChartRecord& rec, RoleMode mode);

// Sets Pattern and returns true when one holds for a day master of element
// dayElement; other is the block the wealth pattern also looks at.
bool TestPattern(ChartBlock& block, const ChartBlock& other, int dayElement);

// True when the climate balance reaches the threshold (in tenths) either way.
bool TestClimate(const ChartBlock& block, int threshold);

// ClimateStem and ClimateStemsMore for the block's day stem and month.
void FillClimateStems(ChartBlock& block);

// When the stems hold exactly two elements that one element can reconcile,
// puts it into Roles[0] and returns true.
bool TestBridge(ChartBlock& block);

}  // namespace qv

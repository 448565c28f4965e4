// Choosing days (擇日): the days of a range in order of one or two persons'
// day fortune values, each with its pillar and its relation to each person's
// day branch; days that clash with a day branch come last.
#pragma once

#include <cstdint>

#include "engine/calendar/calendar.h"
#include "engine/chart/chart_record.h"
#include "engine/analysis/combinations.h"

namespace qv {

struct BestDay {
    CivilDate Date;
    uint8_t Pillar;              // the day's sexagenary number
    int16_t Value;               // the lower of the persons' values
    int16_t Values[2];           // each person's day value (the second 0 for one person)
    BranchRelationKind Relation[2];  // the first relation with each person's day branch, by rank
    bool Clash;                  // the day branch clashes with a person's day branch
};

inline constexpr int MaxBestDays = 366;

struct BestDays {
    BestDay Days[MaxBestDays];
    int Count;
};

// The days from..to (both included, a year at most) for a fortune category.
// The day tables of the category in a and b (null for one person) are left
// holding the last month computed. False, with nothing listed, for a range
// that is backwards, longer than a year or outside the solar-term table.
bool FindBestDays(ChartRecord& a, ChartRecord* b, int category, const CivilDate& from, const CivilDate& to,
                  BestDays& out);

}  // namespace qv

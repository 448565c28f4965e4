// Fortune values: how each luck pillar, year of life, month and day goes for
// the person, overall and by category, as signed integers around 0.
#pragma once

#include "engine/calendar/calendar.h"
#include "engine/chart/chart_record.h"
#include "engine/fortune/levels.h"

namespace qv {

enum FortuneCategory : int {
    OverallCategory = 1,  // 本命
    LoveCategory = 3,     // 愛情
    Category4 = 4,
    WealthCategory = 5,   // 財運
    HealthCategory = 6,   // 健康: shown with the overall values
    TravelCategory = 7,   // 遷移
    Category8 = 8,
    CareerCategory = 9,   // 事業
    Category14 = 14,      // shown with the overall values
};

// The categories that have tables of their own, in the order of rec.Fortunes.
inline constexpr int FortuneCategories[FortuneCategoryCount] = {1, 3, 4, 5, 7, 8, 9};

// The set a category's charts draw; 6 and 14 draw the overall one. Null for
// any other code.
FortuneSet* FortuneSetOf(ChartRecord& rec, int category);
const FortuneSet* FortuneSetOf(const ChartRecord& rec, int category);

// Which hidden stem of a flow month's branch is in command: none (the whole
// branch acts) or the one for a day of the month.
struct MonthPart {
    int MonthNumber = -1;  // 1 寅 … 12 丑, -1 for the whole branch
    int Day = -1;          // days since the month's term began
    int Hour = -1;         // hours past those days
};
inline constexpr MonthPart WholeBranch{};

// The hidden stem in command for that part of the month (the stem itself).
int CommandStem(const MonthPart& part);

// The period pillar laid over the chart in Scratch (or Flow when useScratch is
// false): the overall value of its stem side, or branch side, in PeriodValue.
void EvaluateStem(ChartRecord& rec, int stem, int branch, bool useScratch);
void EvaluateBranch(ChartRecord& rec, int stem, int branch, bool useScratch, const MonthPart& part);

struct PillarParts {
    int Stem, Branch;
};
// Stem and branch part of a pillar for a category other than the overall one.
PillarParts CategoryParts(const ChartRecord& rec, int category, int stem, int branch);

// The category's table entry for a ten god, in the row of the natal chart's
// strength (and, for 3 and 4, the person's sex); 0 for a category without one.
int CategoryTableValue(const ChartRecord& rec, int category, int tenGod);

// The value of one pillar for a category: stem and branch parts mixed by how
// their elements relate. For the overall category this runs the evaluations
// in Scratch.
int PillarValue(ChartRecord& rec, int category, int stem, int branch, const MonthPart& part = WholeBranch);

// Base line of a category's charts from the natal chart (uses Scratch).
int CategoryBaseline(ChartRecord& rec, int category);

// LuckValue and YearValue of the category's set, and its baseline.
void ComputeLuckAndYearValues(ChartRecord& rec, int category);

// Every category's luck, year and baseline values, once per chart.
void ComputeFortuneTables(ChartRecord& rec);

// The ten years from the start of luck pillar `luck` (-1: from birth).
void ComputeTenYearValues(ChartRecord& rec, int category, int luck);
// The ten years from a year of life on (index 0 = the year of birth).
void ComputeTenYearValuesFrom(ChartRecord& rec, int category, int firstYearIndex);

// The year of birth of every table: the solar year, from 立春, that holds the
// birth (the Gregorian year before for a birth ahead of 立春), whose pillar is
// the natal year pillar. YearValue[0] is that year, age 1.
int BirthSolarYear(const ChartRecord& rec);

// Index into YearValue of the first year of luck pillar `luck` (-1: 0, the birth).
int LuckStartIndex(const ChartRecord& rec, int luck);
// Index of the luck pillar in force at a nominal age, -1 before the first.
int LuckPillarAt(const ChartRecord& rec, int age);

// Sexagenary number of a Gregorian year's pillar, as the year table counts years.
int YearPillarOf(int year);
// Start of month i (0 寅 … 11 丑) of a solar year; false when the table cannot place it.
bool FortuneMonthStart(const SolarTermTable& table, int year, int i, Moment& start);

// The travel chart's words for a period pillar: activity and feeling from the
// ten god of the branch's main hidden stem.
TravelLabel TravelLabelOfPillar(const ChartRecord& rec, int pillar);
// The travel row value g behind that feeling word.
int TravelValueOfPillar(const ChartRecord& rec, int pillar);

// The twelve months (by solar terms) of a year and the days of a month.
// False, leaving the tables as they were, when a date of the period cannot be
// turned into pillars.
bool ComputeMonthValues(ChartRecord& rec, int category, int year);
bool ComputeDayValues(ChartRecord& rec, int category, int year, int month);

}  // namespace qv

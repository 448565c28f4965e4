// Gregorian and Chinese lunar calendars, the solar terms and the four pillars.
// Pure functions: every routine takes the year it needs instead of patching a
// shared month table, so any number of callers may run side by side.
#pragma once

#include <cstdint>

#include "engine/chart/chart_record.h"
#include "engine/calendar/solar_terms.h"

namespace qv {

struct CivilDate {
    int Year, Month, Day;
    friend bool operator==(const CivilDate&, const CivilDate&) = default;
};

// A local clock moment to the minute.
struct Moment {
    int Year, Month, Day, Hour, Minute;
};

struct LunarDate {
    int Year, Month, Day;
    bool Leap;
    friend bool operator==(const LunarDate&, const LunarDate&) = default;
};

inline constexpr int LunarFirstYear = 1900;
inline constexpr int LunarLastYear = 2099;
inline constexpr int DayNumberLunarBase = 1900;  // base of the lunar conversions and AddDays
inline constexpr int MinutesPerDay = 1440;

// The remainder that is never negative: places in the cycles of stems,
// branches, pillars and weekdays.
constexpr int FloorMod(int a, int n) {
    const int r = a % n;
    return r < 0 ? r + n : r;
}

bool IsLeapYear(int year);
int YearLength(int year);
int MonthLength(int year, int month);
bool IsValidDate(int year, int month, int day);

// D plus the lengths of the months before M.
int DayOfYear(int year, int month, int day);

// Days from 1 January of the base year to the date, 1 January of the base counting as 1.
int32_t DayNumber(int baseYear, int year, int month, int day);
// Inverse of DayNumber for n >= 1.
CivilDate DateFromDayNumber(int baseYear, int32_t n);

// The month lengths of a lunar year in calendar order, the leap month placed
// directly after the regular month of the same number.
struct LunarYearMonths {
    uint8_t Length[13];
    int Count;      // 12 or 13
    int LeapMonth;  // 0 = none
    bool HasLeap;
};

bool LunarYearInRange(int lunarYear);
uint32_t LunarYearCode(int lunarYear);
LunarYearMonths LunarMonthLengths(int lunarYear);
int LunarMonthLength(int lunarYear, int month, bool isLeap);

// False when the date lies outside lunar 1900-2099 (from 31 January 1900) or is invalid.
bool SolarToLunar(const CivilDate& date, LunarDate& out);
// False when the lunar date does not exist in the table (month, day or leap flag).
bool LunarToSolar(const LunarDate& lunar, CivilDate& out);

CivilDate AddDays(const CivilDate& date, int days);

// The main program's rule that places the pillars of 23:00-24:00, and the one
// that decides whether such a birth's lunar date moves on, as the options read
// the rat-hour rule.
int PillarRatHourRule(const EngineOptions& options);
int LunarRatHourRule(const EngineOptions& options);

// Moves the lunar date of a birth at hour 23 (or 24) on to the next day under
// rat-hour rules 0 and 1. Returns true when the date was moved.
bool AdvanceLunarDay(LunarDate& lunar, int hour, int minute, int ratHourRule);

// Latest term at or before the moment, and the time since the latest month-opening term.
struct TermPlace {
    int Index;    // 0-23
    int Days;
    int Minutes;
};

// Distance to a neighbouring term.
struct TermSpan {
    int Index;    // term reached, 0-23
    int Days, Hours, Minutes;
};

// True when the table can place the moment: the year is covered and the moment
// is not before the table's first 小寒 (that would need the previous 大雪), and
// the next month-opening term after it is in the table too.
bool TableCanPlace(const SolarTermTable& table, const Moment& m);

TermPlace TermPosition(const SolarTermTable& table, const Moment& m);
TermSpan TermDistance(const SolarTermTable& table, const Moment& m, bool forward, bool monthTermsOnly);
int MonthPillarAt(const SolarTermTable& table, const Moment& m);
int SeasonOf(const SolarTermTable& table, const Moment& m);

// The hour as the pillars count it: 25 (unknown) stands for 12:00.
int PillarHour(int hour);
// Double-hour number: 0 for hour 0, ((hour - 1) / 2) + 1 otherwise (23 and 24 give 12).
int DoubleHourOf(int hour);

// The day and hour pillars of a day (its day number with base 1801) and a
// double hour under a rat-hour rule; double hour 12 is 23:00-24:00.
struct DayHourPillars {
    int Day, Hour;
};
DayHourPillars DayAndHourPillars(int32_t dayNumber, int doubleHour, int ratHourRule);

// The pillars of a moment under a rat-hour rule; false when the table cannot
// place it or the date or time is invalid.
bool MomentToPillars(const SolarTermTable& table, int ratHourRule, const Moment& m, PillarQuad& out);

// Converts a birth moment to its pillars under the record's rat-hour rule (as
// PillarRatHourRule reads it) and
// stores the term index, term position and weekday into the record. Returns
// false, storing nothing, when the table is missing or cannot place the moment
// or the date or time is invalid.
bool DateToPillars(ChartRecord& rec, PillarQuad& out, const Moment& m);

// Reads the local clock into rec.Now.
void ReadCurrentDateTime(ChartRecord& rec);

}  // namespace qv

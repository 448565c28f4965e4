// A Gregorian month as a perpetual calendar (萬年曆) shows it: every day with
// its lunar date, its pillars and the solar term that falls on it.
#pragma once

#include "engine/calendar/calendar.h"
#include "engine/calendar/solar_terms.h"

namespace qv {

inline constexpr int NoTerm = -1;

struct CalendarDay {
    CivilDate Date;
    int Weekday;           // 0 Sunday ... 6 Saturday
    bool HasLunar;         // false outside the lunar table (before 31 January 1900, after lunar 2099)
    LunarDate Lunar;       // valid only with HasLunar
    int YearPillar;        // sexagenary numbers 0-59, all as of 12:00 of the day
    int MonthPillar;
    int DayPillar;
    int Term;              // the term beginning on this day, or NoTerm
    int TermHour, TermMinute;
};

struct MonthCalendar {
    int Year = 0, Month = 0;
    int DayCount = 0;
    CalendarDay Days[31]{};
};

// The months a calendar can show: those the term table covers whole.
bool CalendarCoversMonth(const SolarTermTable& table, int year, int month);

// Fills every day of the month; false, leaving `out` as it was, when the table
// does not cover the month.
bool FillMonthCalendar(const SolarTermTable& table, int year, int month, MonthCalendar& out);

// The latest term that began on or before the day, and the whole days since
// (0 on the day it began); Index is NoTerm when that term lies before the table.
struct TermInForce {
    int Index;
    int Days;
};
TermInForce TermInForceOn(const SolarTermTable& table, const CivilDate& date);

// The double hours of a day: 子 (from 00:00), 丑 (01:00) ... 亥 (21:00), and
// the 子 hour from 23:00, whose day and hour pillars follow the rat-hour rule.
inline constexpr int DayHourSlots = 13;
inline constexpr int HourSlotStart[DayHourSlots] = {0, 1, 3, 5, 7, 9, 11, 13, 15, 17, 19, 21, 23};
struct DayHours {
    int HourPillar[DayHourSlots];
    int LateDayPillar;  // the day pillar the 23:00 hour counts under
};
DayHours HourPillarsOfDay(const CivilDate& date, int ratHourRule);

// The day pillar of a date (any proleptic Gregorian date).
int DayPillarOf(const CivilDate& date);

}  // namespace qv

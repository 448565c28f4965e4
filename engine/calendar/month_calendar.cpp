#include "engine/calendar/month_calendar.h"

namespace qv {
namespace {

int32_t PillarDayNumber(const CivilDate& d) { return DayNumber(SolarTermFirstYear, d.Year, d.Month, d.Day); }

// The year pillar changes at 立春 (term 2); at 12:00 of its day it has changed
// when the term began before noon.
int YearPillarAtNoon(const SolarTermTable& table, const CivilDate& d) {
    const TermMoment& spring = table.At(d.Year, 2);
    const bool beforeSpring = d.Month < spring.Month || (d.Month == spring.Month && d.Day < spring.Day) ||
                              (d.Month == spring.Month && d.Day == spring.Day && spring.Hour * 60 + spring.Minute > 12 * 60);
    return FloorMod(d.Year - 4 - (beforeSpring ? 1 : 0), 60);
}

}  // namespace

bool CalendarCoversMonth(const SolarTermTable& table, int year, int month) {
    return month >= 1 && month <= 12 && table.Covers(year);
}

int DayPillarOf(const CivilDate& date) { return DayAndHourPillars(PillarDayNumber(date), 0, CommonRatHour).Day; }

bool FillMonthCalendar(const SolarTermTable& table, int year, int month, MonthCalendar& out) {
    if (!CalendarCoversMonth(table, year, month)) return false;
    out.Year = year;
    out.Month = month;
    out.DayCount = MonthLength(year, month);
    const int32_t first = PillarDayNumber(CivilDate{year, month, 1});
    for (int i = 0; i < out.DayCount; ++i) {
        CalendarDay& day = out.Days[i];
        day.Date = CivilDate{year, month, i + 1};
        day.Weekday = FloorMod(first + i + 3, 7);
        day.HasLunar = SolarToLunar(day.Date, day.Lunar);
        if (!day.HasLunar) day.Lunar = LunarDate{0, 0, 0, false};
        day.YearPillar = YearPillarAtNoon(table, day.Date);
        // Before a year's 小寒 the month is the previous year's 子 month, which
        // needs nothing of the table: the first days of the table's first year have one too.
        day.MonthPillar = MonthPillarAt(table, Moment{year, month, i + 1, 12, 0});
        day.DayPillar = DayAndHourPillars(first + i, 0, CommonRatHour).Day;
        day.Term = NoTerm;
        day.TermHour = day.TermMinute = 0;
    }
    for (int t = 0; t < TermsPerYear; ++t) {
        const TermMoment& e = table.At(year, t);
        if (e.Month != month || e.Day < 1 || e.Day > out.DayCount) continue;
        CalendarDay& day = out.Days[e.Day - 1];
        day.Term = t;
        day.TermHour = e.Hour;
        day.TermMinute = e.Minute;
    }
    return true;
}

TermInForce TermInForceOn(const SolarTermTable& table, const CivilDate& date) {
    // At the day's last minute every term that began on the day is at or before it.
    const Moment end{date.Year, date.Month, date.Day, 23, 59};
    if (!table.Covers(date.Year)) return TermInForce{NoTerm, 0};
    const TermSpan span = TermDistance(table, end, false, false);
    if (span.Index < 0) return TermInForce{NoTerm, 0};
    return TermInForce{span.Index, span.Days};
}

DayHours HourPillarsOfDay(const CivilDate& date, int ratHourRule) {
    DayHours out{};
    const int32_t n = PillarDayNumber(date);
    for (int slot = 0; slot < DayHourSlots; ++slot)
        out.HourPillar[slot] = DayAndHourPillars(n, DoubleHourOf(HourSlotStart[slot]), ratHourRule).Hour;
    out.LateDayPillar = DayAndHourPillars(n, 12, ratHourRule).Day;
    return out;
}

}  // namespace qv

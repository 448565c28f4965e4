#include "engine/calendar/calendar.h"

#include <algorithm>
#include <array>
#include <ctime>

namespace qv {
namespace {

// One code per lunar year 1900-2099: bits 0-3 leap month, bits 4-15 the
// regular month sizes (0x8000 = month 1 has 30 days ... 0x0010 = month 12),
// bit 16 the leap month has 30 days.
constexpr uint32_t LunarYearTable[200] = {
    0x104BD8, 0x104AE0, 0x10A570, 0x1054D5, 0x10D260, 0x10D950, 0x116554, 0x1056A0, 0x109AD0, 0x1055D2,
    0x104AE0, 0x10A5B6, 0x10A4D0, 0x10D250, 0x11D295, 0x10B550, 0x1056A0, 0x10ADA2, 0x1095B0, 0x114977,
    0x1049B0, 0x10A4B0, 0x10B4B5, 0x106A50, 0x106D40, 0x11AB54, 0x102B60, 0x109570, 0x1052F2, 0x104970,
    0x106566, 0x10D4A0, 0x10EA50, 0x116A95, 0x105AD0, 0x102B60, 0x1186E3, 0x1092E0, 0x11C8D7, 0x10C950,
    0x10D4A0, 0x11D8A6, 0x10B550, 0x1056A0, 0x11A5B4, 0x1025D0, 0x1092D0, 0x10D2B2, 0x10A950, 0x10B557,
    0x106CA0, 0x10B550, 0x115355, 0x104DA0, 0x10A5B0, 0x114573, 0x1052B0, 0x10A9A8, 0x10E950, 0x106AA0,
    0x10AEA6, 0x10AB50, 0x104B60, 0x10AAE4, 0x10A570, 0x105260, 0x10F263, 0x10D950, 0x105B57, 0x1056A0,
    0x1096D0, 0x104DD5, 0x104AD0, 0x10A4D0, 0x10D4D4, 0x10D250, 0x10D558, 0x10B540, 0x10B6A0, 0x1195A6,
    0x1095B0, 0x1049B0, 0x10A974, 0x10A4B0, 0x10B27A, 0x106A50, 0x106D40, 0x10AF46, 0x10AB60, 0x109570,
    0x104AF5, 0x104970, 0x1064B0, 0x1074A3, 0x10EA50, 0x106B58, 0x105AC0, 0x10AB60, 0x1096D5, 0x1092E0,
    0x10C960, 0x10D954, 0x10D4A0, 0x10DA50, 0x107552, 0x1056A0, 0x10ABB7, 0x1025D0, 0x1092D0, 0x10CAB5,
    0x10A950, 0x10B4A0, 0x10BAA4, 0x10AD50, 0x1055D9, 0x104BA0, 0x10A5B0, 0x115176, 0x1052B0, 0x10A930,
    0x107954, 0x106AA0, 0x10AD50, 0x105B52, 0x104B60, 0x10A6E6, 0x10A4E0, 0x10D260, 0x10EA65, 0x10D530,
    // 2033: the leap month is 閏十一月 (22 December 2033 - 19 January 2034), not
    // one after month 7 as the old code 0x104BD7 had it.
    0x105AA0, 0x1076A3, 0x1096D0, 0x104AFB, 0x104AD0, 0x10A4D0, 0x11D0B6, 0x10D250, 0x10D520, 0x10DD45,
    0x10B5A0, 0x1056D0, 0x1055B2, 0x1049B0, 0x10A577, 0x10A4B0, 0x10AA50, 0x11B255, 0x106D20, 0x10ADA0,
    0x114B63, 0x109370, 0x1049F8, 0x104970, 0x1064B0, 0x1168A6, 0x10EA50, 0x106B20, 0x11A6C4, 0x10AAE0,
    0x1092E0, 0x10D2E3, 0x10C960, 0x10D557, 0x10D4A0, 0x10DA50, 0x105D55, 0x1056A0, 0x10A6D0, 0x1055D4,
    0x1052D0, 0x10A9B8, 0x10A950, 0x10B4A0, 0x10B6A6, 0x10AD50, 0x1055A0, 0x10ABA4, 0x10A5B0, 0x1052B0,
    0x10B273, 0x106930, 0x107337, 0x106AA0, 0x10AD50, 0x114B55, 0x104B60, 0x10A570, 0x1054E4, 0x10D160,
    0x10E968, 0x10D520, 0x10DAA0, 0x116AA6, 0x1056D0, 0x104AE0, 0x10A9D4, 0x10A4D0, 0x10D150, 0x10F252,
};

constexpr int LunarYearDays(uint32_t code) {
    int days = 12 * 29 + ((code & 0xF) ? ((code & 0x10000) ? 30 : 29) : 0);
    for (uint32_t bit = 0x8000; bit >= 0x10; bit >>= 1) days += (code & bit) ? 1 : 0;
    return days;
}

// Days from the lunar epoch (31 January 1900) to the first day of each lunar
// year, and to the day after lunar 2099: derived once from the codes above.
constexpr auto LunarYearStarts = [] {
    std::array<int32_t, 201> starts{};
    for (int i = 0; i < 200; ++i) starts[i + 1] = starts[i] + LunarYearDays(LunarYearTable[i]);
    return starts;
}();

constexpr int MonthDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

// Days since 1970-01-01 of a proleptic Gregorian date (after H. Hinnant).
constexpr int32_t DaysFromCivil(int y, int m, int d) {
    y -= m <= 2;
    const int era = (y >= 0 ? y : y - 399) / 400;
    const int yoe = y - era * 400;
    const int doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

constexpr CivilDate CivilFromDays(int32_t z) {
    z += 719468;
    const int era = (z >= 0 ? z : z - 146096) / 146097;
    const int doe = z - era * 146097;
    const int yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int y = yoe + era * 400;
    const int doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int mp = (5 * doy + 2) / 153;
    const int d = doy - (153 * mp + 2) / 5 + 1;
    const int m = mp + (mp < 10 ? 3 : -9);
    return CivilDate{y + (m <= 2), m, d};
}

// Moments within one year compare as (month, day, hour, minute); packing them
// keeps that order and makes the term scan a row of integer compares.
constexpr uint32_t MomentKey(int month, int day, int hour, int minute) {
    return (static_cast<uint32_t>(month) << 24) | (static_cast<uint32_t>(day) << 16) |
           (static_cast<uint32_t>(hour) << 8) | static_cast<uint32_t>(minute);
}

uint32_t TermKey(const TermMoment& t) { return MomentKey(t.Month, t.Day, t.Hour, t.Minute); }

int MinuteOfDay(int hour, int minute) { return hour * 60 + minute; }

// Terms counted across the whole table: 0 is the first year's 小寒.
struct TermRef {
    int Year;
    int Index;
};

TermRef Shift(TermRef t, int by) {
    const int g = t.Index + by;
    return TermRef{t.Year + (g >= 0 ? g / TermsPerYear : -((TermsPerYear - 1 - g) / TermsPerYear)),
                   FloorMod(g, TermsPerYear)};
}

bool InTable(const SolarTermTable& table, TermRef t) { return table.Covers(t.Year); }

// Latest term at or before the moment; before a year's 小寒 that is the previous year's 冬至.
TermRef LatestTermAtOrBefore(const SolarTermTable& table, const Moment& m) {
    const uint32_t key = MomentKey(m.Month, m.Day, m.Hour, m.Minute);
    const auto& row = table.Rows[m.Year - table.FirstYear];
    int found = -1;
    for (int i = 0; i < TermsPerYear && TermKey(row[i]) <= key; ++i) found = i;
    return found < 0 ? TermRef{m.Year - 1, TermsPerYear - 1} : TermRef{m.Year, found};
}

int32_t TermDayNumber(const SolarTermTable& table, TermRef t) {
    const TermMoment& e = table.At(t.Year, t.Index);
    return DaysFromCivil(t.Year, e.Month, e.Day);
}

int TermMinuteOfDay(const SolarTermTable& table, TermRef t) {
    const TermMoment& e = table.At(t.Year, t.Index);
    return MinuteOfDay(e.Hour, e.Minute);
}

// Days and minutes from `from` to `to`, a negative minute difference borrowing a day.
void SplitSpan(int32_t fromDay, int fromMinute, int32_t toDay, int toMinute, int& days, int& minutes) {
    days = static_cast<int>(toDay - fromDay);
    minutes = toMinute - fromMinute;
    if (minutes < 0) {
        minutes += 1440;
        days -= 1;
    }
}

TermRef MonthOpeningAtOrBefore(TermRef t) { return (t.Index % 2 == 0) ? t : Shift(t, -1); }

// Position of a lunar month in its year's month list (leap month right after its regular month).
int LunarMonthSlot(const LunarYearMonths& months, int month, bool leap) {
    if (months.HasLeap && (month > months.LeapMonth || (leap && month == months.LeapMonth))) return month;
    return month - 1;
}

void LunarFromSlot(const LunarYearMonths& months, int slot, int& month, bool& leap) {
    leap = months.HasLeap && slot == months.LeapMonth;
    month = (months.HasLeap && slot >= months.LeapMonth) ? slot : slot + 1;
}

}  // namespace

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int YearLength(int year) { return IsLeapYear(year) ? 366 : 365; }

int MonthLength(int year, int month) {
    if (month < 1 || month > 12) return 0;
    return (month == 2 && IsLeapYear(year)) ? 29 : MonthDays[month - 1];
}

bool IsValidDate(int year, int month, int day) {
    return month >= 1 && month <= 12 && day >= 1 && day <= MonthLength(year, month);
}

int DayOfYear(int year, int month, int day) {
    return static_cast<int>(DaysFromCivil(year, month, day) - DaysFromCivil(year, 1, 1)) + 1;
}

int32_t DayNumber(int baseYear, int year, int month, int day) {
    return DaysFromCivil(year, month, day) - DaysFromCivil(baseYear, 1, 1) + 1;
}

CivilDate DateFromDayNumber(int baseYear, int32_t n) { return CivilFromDays(DaysFromCivil(baseYear, 1, 1) + n - 1); }

bool LunarYearInRange(int lunarYear) { return lunarYear >= LunarFirstYear && lunarYear <= LunarLastYear; }

uint32_t LunarYearCode(int lunarYear) { return LunarYearTable[lunarYear - LunarFirstYear]; }

LunarYearMonths LunarMonthLengths(int lunarYear) {
    const uint32_t code = LunarYearCode(lunarYear);
    LunarYearMonths out{};
    out.LeapMonth = static_cast<int>(code & 0xF);
    out.HasLeap = out.LeapMonth != 0;
    int n = 0;
    for (int m = 1; m <= 12; ++m) {
        out.Length[n++] = (code & (1u << (16 - m))) ? 30 : 29;
        if (out.HasLeap && m == out.LeapMonth) out.Length[n++] = (code & 0x10000) ? 30 : 29;
    }
    out.Count = n;
    return out;
}

int LunarMonthLength(int lunarYear, int month, bool isLeap) {
    const uint32_t code = LunarYearCode(lunarYear);
    if (isLeap && static_cast<int>(code & 0xF) == month) return (code & 0x10000) ? 30 : 29;
    return (code & (1u << (16 - month))) ? 30 : 29;
}

bool SolarToLunar(const CivilDate& date, LunarDate& out) {
    if (!IsValidDate(date.Year, date.Month, date.Day)) return false;
    // Lunar year 1900 begins on 31 January 1900, day 31 of base 1900.
    int32_t remaining = DayNumber(LunarFirstYear, date.Year, date.Month, date.Day) - 31;
    if (remaining < 0 || remaining >= LunarYearStarts.back()) return false;
    const auto next = std::upper_bound(LunarYearStarts.begin(), LunarYearStarts.end(), remaining);
    const int year = LunarFirstYear + static_cast<int>(next - LunarYearStarts.begin()) - 1;
    remaining -= *(next - 1);
    const LunarYearMonths months = LunarMonthLengths(year);
    for (int slot = 0; slot < months.Count; ++slot) {
        if (remaining < months.Length[slot]) {
            out.Year = year;
            LunarFromSlot(months, slot, out.Month, out.Leap);
            out.Day = static_cast<int>(remaining) + 1;
            return true;
        }
        remaining -= months.Length[slot];
    }
    return false;
}

bool LunarToSolar(const LunarDate& lunar, CivilDate& out) {
    if (!LunarYearInRange(lunar.Year) || lunar.Month < 1 || lunar.Month > 12) return false;
    const LunarYearMonths months = LunarMonthLengths(lunar.Year);
    if (lunar.Leap && !(months.HasLeap && months.LeapMonth == lunar.Month)) return false;
    const int slot = LunarMonthSlot(months, lunar.Month, lunar.Leap);
    if (lunar.Day < 1 || lunar.Day > months.Length[slot]) return false;
    int32_t n = 30 + lunar.Day + LunarYearStarts[lunar.Year - LunarFirstYear];
    for (int s = 0; s < slot; ++s) n += months.Length[s];
    out = DateFromDayNumber(LunarFirstYear, n);
    return true;
}

CivilDate AddDays(const CivilDate& date, int days) {
    return CivilFromDays(DaysFromCivil(date.Year, date.Month, date.Day) + days);
}

namespace {

struct RatHourRules {
    int16_t Pillars, Lunar;
};

// The chart program's rules 0-2 in the main program's terms: its 早子時 keeps the
// day and takes the next day's 子 hour, and only its 一般子時 moves the lunar date.
constexpr RatHourRules ChartProgramRules[] = {
    {NightRatHour, NightRatHour},
    {CommonRatHour, CommonRatHour},
    {CommonRatHour, NightRatHour},
};

RatHourRules RulesOf(const EngineOptions& o) {
    const int rule = o.FirstTimeBase;
    if (o.Reading != ChartProgramReading) return {static_cast<int16_t>(rule), static_cast<int16_t>(rule)};
    return rule >= EarlyRatHour && rule <= NightRatHour ? ChartProgramRules[rule] : RatHourRules{CommonRatHour, CommonRatHour};
}

}  // namespace

int PillarRatHourRule(const EngineOptions& options) { return RulesOf(options).Pillars; }
int LunarRatHourRule(const EngineOptions& options) { return RulesOf(options).Lunar; }

bool AdvanceLunarDay(LunarDate& lunar, int hour, int minute, int ratHourRule) {
    if (ratHourRule != EarlyRatHour && ratHourRule != CommonRatHour) return false;
    if (!(hour == 24 || (hour == 23 && minute >= 0))) return false;
    if (!LunarYearInRange(lunar.Year)) return false;
    LunarYearMonths months = LunarMonthLengths(lunar.Year);
    int slot = LunarMonthSlot(months, lunar.Month, lunar.Leap);
    if (lunar.Day < months.Length[slot]) {
        ++lunar.Day;
        return true;
    }
    lunar.Day = 1;
    if (++slot == months.Count) {
        ++lunar.Year;
        slot = 0;
        if (LunarYearInRange(lunar.Year)) months = LunarMonthLengths(lunar.Year);
    }
    LunarFromSlot(months, slot, lunar.Month, lunar.Leap);
    return true;
}

bool TableCanPlace(const SolarTermTable& table, const Moment& m) {
    if (!table.Covers(m.Year)) return false;
    const uint32_t key = MomentKey(m.Month, m.Day, m.Hour, m.Minute);
    if (m.Year == table.FirstYear && key < TermKey(table.At(m.Year, 0))) return false;
    // From the last year's 大雪 on, the next month-opening term lies beyond the table.
    if (m.Year == table.LastYear && key >= TermKey(table.At(m.Year, 22))) return false;
    return true;
}

TermPlace TermPosition(const SolarTermTable& table, const Moment& m) {
    const TermRef latest = LatestTermAtOrBefore(table, m);
    const TermRef opening = MonthOpeningAtOrBefore(latest);
    TermPlace place{latest.Index, 0, 0};
    SplitSpan(TermDayNumber(table, opening), TermMinuteOfDay(table, opening), DaysFromCivil(m.Year, m.Month, m.Day),
              MinuteOfDay(m.Hour, m.Minute), place.Days, place.Minutes);
    return place;
}

TermSpan TermDistance(const SolarTermTable& table, const Moment& m, bool forward, bool monthTermsOnly) {
    if (!table.Covers(m.Year)) return TermSpan{-1, 0, 0, 0};
    const TermRef latest = LatestTermAtOrBefore(table, m);
    TermRef target = latest;
    if (forward) {
        target = Shift(latest, latest.Index % 2 == 0 ? 2 : 1);
    } else if (monthTermsOnly) {
        target = MonthOpeningAtOrBefore(latest);
    }
    if (!InTable(table, target)) return TermSpan{-1, 0, 0, 0};
    const int32_t momentDay = DaysFromCivil(m.Year, m.Month, m.Day);
    const int momentMinute = MinuteOfDay(m.Hour, m.Minute);
    int days = 0, minutes = 0;
    if (forward) {
        SplitSpan(momentDay, momentMinute, TermDayNumber(table, target), TermMinuteOfDay(table, target), days, minutes);
    } else {
        SplitSpan(TermDayNumber(table, target), TermMinuteOfDay(table, target), momentDay, momentMinute, days, minutes);
    }
    return TermSpan{target.Index, days, minutes / 60, minutes % 60};
}

int MonthPillarAt(const SolarTermTable& table, const Moment& m) {
    const int g = LatestTermAtOrBefore(table, m).Index;
    const int year = (g == 23 && m.Month < 3) ? m.Year - 1 : m.Year;
    return FloorMod(12 * year + g / 2 + 13, 60);
}

int SeasonOf(const SolarTermTable& table, const Moment& m) {
    constexpr int SeasonOpening[4] = {2, 8, 14, 20};    // 立春 立夏 立秋 立冬
    constexpr int EndingElement[4] = {0, 1, 2, 4};      // 水 before 立春, 木, 火, 金
    const int moment = DayOfYear(m.Year, m.Month, m.Day);
    for (int i = 0; i < 4; ++i) {
        const TermMoment& t = table.At(m.Year, SeasonOpening[i]);
        const int d = DayOfYear(m.Year, t.Month, t.Day) - moment;
        if (d < 0) continue;
        if (d < 18 || (d == 18 && MinuteOfDay(m.Hour, m.Minute) >= MinuteOfDay(t.Hour, t.Minute))) return 3;
        if (d > 0) return EndingElement[i];
    }
    return 0;
}

int PillarHour(int hour) { return hour == HourUnknown ? 12 : hour; }

int DoubleHourOf(int hour) { return hour == 0 ? 0 : ((hour - 1) / 2) + 1; }

DayHourPillars DayAndHourPillars(int32_t n, int doubleHour, int ratHourRule) {
    const int h0 = static_cast<int>(FloorMod(n - 1, 5)) * 12 + 12;
    const int nextRatHour = static_cast<int>(FloorMod(n, 5)) * 12 + 12;
    if (doubleHour < 12) return {FloorMod(n + 30, 60), FloorMod(doubleHour + h0, 60)};
    if (ratHourRule == EarlyRatHour) return {FloorMod(n + 31, 60), FloorMod(h0, 60)};
    if (ratHourRule == NightRatHour) return {FloorMod(n + 30, 60), FloorMod(nextRatHour, 60)};
    // 一般子時, also for a rule value only a hand-edited settings file can hold.
    return {FloorMod(n + 31, 60), FloorMod(nextRatHour, 60)};
}

bool MomentToPillars(const SolarTermTable& table, int ratHourRule, const Moment& given, PillarQuad& out) {
    if (!IsValidDate(given.Year, given.Month, given.Day)) return false;
    if (given.Hour < 0 || given.Hour > HourUnknown || given.Minute < 0 || given.Minute > 59) return false;
    const Moment m{given.Year, given.Month, given.Day, PillarHour(given.Hour), given.Minute};
    if (m.Hour > 24 || !TableCanPlace(table, m)) return false;

    const int32_t n = DayNumber(table.FirstYear, m.Year, m.Month, m.Day);
    const int doubleHour = DoubleHourOf(m.Hour);

    int year = FloorMod(m.Year - 4, 60);
    if (MomentKey(m.Month, m.Day, m.Hour, m.Minute) < TermKey(table.At(m.Year, 2))) year = FloorMod(year - 1, 60);

    const DayHourPillars dayHour = DayAndHourPillars(n, doubleHour, ratHourRule);
    out.Pillar[YearPillar] = static_cast<uint8_t>(year);
    out.Pillar[MonthPillar] = static_cast<uint8_t>(MonthPillarAt(table, m));
    out.Pillar[DayPillar] = static_cast<uint8_t>(dayHour.Day);
    out.Pillar[HourPillar] = static_cast<uint8_t>(dayHour.Hour);
    return true;
}

bool DateToPillars(ChartRecord& rec, PillarQuad& out, const Moment& given) {
    if (rec.SolarTerms == nullptr) return false;
    const SolarTermTable& table = *rec.SolarTerms;
    if (!MomentToPillars(table, PillarRatHourRule(rec.Options), given, out)) return false;
    const Moment m{given.Year, given.Month, given.Day, PillarHour(given.Hour), given.Minute};
    const TermPlace place = TermPosition(table, m);
    rec.TermIndex = static_cast<int16_t>(place.Index);
    rec.TermDays = static_cast<int16_t>(place.Days);
    rec.TermMinutes = static_cast<int16_t>(place.Minutes);
    rec.Weekday = static_cast<int16_t>(FloorMod(DayNumber(table.FirstYear, m.Year, m.Month, m.Day) + 3, 7));
    return true;
}

void ReadCurrentDateTime(ChartRecord& rec) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    rec.Now = LocalDateTime{static_cast<int16_t>(local.tm_year + 1900), static_cast<int16_t>(local.tm_mon + 1),
                            static_cast<int16_t>(local.tm_mday), static_cast<int16_t>(local.tm_hour),
                            static_cast<int16_t>(local.tm_min)};
}

}  // namespace qv

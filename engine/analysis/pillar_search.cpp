#include "engine/analysis/pillar_search.h"

#include <algorithm>

#include "engine/calendar/month_calendar.h"
#include "engine/texts/string_table.h"
#include "engine/texts/text_ids.h"

namespace qv {
namespace {

constexpr int BaseYear = SolarTermFirstYear;


ClockMinute TermMinute(const SolarTermTable& table, int year, int term) {
    const TermMoment& t = table.At(year, term);
    return ClockMinuteOf(Moment{year, t.Month, t.Day, t.Hour, t.Minute});
}

// 年上起月: the 寅 month of a 甲 or 己 year is 丙寅, and the stems run on from there.
bool MonthFollowsYear(int yearPillar, int monthPillar) {
    const int monthsFrom寅 = FloorMod(monthPillar % 12 - 2, 12);
    return monthPillar % 10 == (yearPillar % 5 * 2 + 2 + monthsFrom寅) % 10;
}

// Whether any day with this pillar carries this hour pillar under the rule:
// the rat-hour rules move the 23:00 hour between days, so the engine's own
// day-and-hour rule is asked over one cycle of days.
bool HourFollowsDay(int dayPillar, int hourPillar, int rule) {
    for (int n = 1; n <= 60; ++n)
        for (int slot = 0; slot < DayHourSlots; ++slot) {
            const DayHourPillars p = DayAndHourPillars(n, slot, rule);
            if (p.Day == dayPillar && p.Hour == hourPillar) return true;
        }
    return false;
}

bool IsPillar(int p) { return p >= 0 && p < 60; }

// The minutes from the first to the last year of the query that the table can place.
struct Span {
    ClockMinute First, Last;
};

Span PlaceableSpan(const SolarTermTable& table, const PillarQuery& q) {
    const ClockMinute tableFirst = TermMinute(table, table.FirstYear, 0);
    const ClockMinute tableLast = TermMinute(table, table.LastYear, 22) - 1;
    return {std::max(tableFirst, ClockMinuteOf(Moment{q.FirstYear, 1, 1, 0, 0})),
            std::min(tableLast, ClockMinuteOf(Moment{q.LastYear, 12, 31, 23, 59}))};
}

// Collects ranges in time order, joining one that starts right after the last.
class RangeSink {
public:
    explicit RangeSink(std::span<PillarRange> out) : out_(out) {}
    void Add(ClockMinute first, ClockMinute last) {
        if (first > last) return;
        if (found_ > 0 && previous_.Last + 1 == first) {
            previous_.Last = last;
        } else {
            ++found_;
            previous_ = {first, last};
        }
        if (found_ <= out_.size()) out_[found_ - 1] = previous_;
    }
    size_t Found() const { return found_; }

private:
    std::span<PillarRange> out_;
    size_t found_ = 0;
    PillarRange previous_{0, 0};
};

// The double hours of the days within [first, last] that carry the day (and
// hour) pillar.
void AddDaysAndHours(const PillarQuery& q, ClockMinute first, ClockMinute last, RangeSink& sink) {
    const int32_t firstDay = static_cast<int32_t>(first / MinutesPerDay);
    const int32_t lastDay = static_cast<int32_t>(last / MinutesPerDay);
    for (int32_t d = firstDay; d <= lastDay; ++d) {
        for (int slot = 0; slot < DayHourSlots; ++slot) {
            const DayHourPillars p = DayAndHourPillars(d + 1, slot, q.RatHourRule);
            if (p.Day != q.Pillar[DayPillar] || (q.Count == 4 && p.Hour != q.Pillar[HourPillar])) continue;
            const ClockMinute slotFirst = ClockMinute{d} * MinutesPerDay + HourSlotStart[slot] * 60;
            const ClockMinute slotEnd = slot + 1 < DayHourSlots ? ClockMinute{d} * MinutesPerDay + HourSlotStart[slot + 1] * 60
                                                                : ClockMinute{d + 1} * MinutesPerDay;
            sink.Add(std::max(first, slotFirst), std::min(last, slotEnd - 1));
        }
    }
}

}  // namespace

ClockMinute ClockMinuteOf(const Moment& m) {
    return (ClockMinute{DayNumber(BaseYear, m.Year, m.Month, m.Day)} - 1) * MinutesPerDay + m.Hour * 60 + m.Minute;
}

Moment MomentOfClockMinute(ClockMinute minute) {
    const CivilDate d = DateFromDayNumber(BaseYear, static_cast<int32_t>(minute / MinutesPerDay) + 1);
    const int ofDay = static_cast<int>(minute % MinutesPerDay);
    return Moment{d.Year, d.Month, d.Day, ofDay / 60, ofDay % 60};
}

PillarQueryProblem CheckPillarQuery(const SolarTermTable& table, const PillarQuery& q) {
    if (q.Count < 2 || q.Count > 4) return PillarQueryProblem::BadCount;
    for (int i = 0; i < q.Count; ++i)
        if (!IsPillar(q.Pillar[i])) return PillarQueryProblem::BadPillar;
    if (q.RatHourRule < EarlyRatHour || q.RatHourRule > NightRatHour) return PillarQueryProblem::BadPillar;
    if (table.FirstYear == 0 || q.FirstYear > q.LastYear || q.FirstYear < table.FirstYear ||
        q.LastYear > table.LastYear)
        return PillarQueryProblem::BadYearRange;
    if (!MonthFollowsYear(q.Pillar[YearPillar], q.Pillar[MonthPillar])) return PillarQueryProblem::MonthStemNotOfYear;
    if (q.Count == 4 && !HourFollowsDay(q.Pillar[DayPillar], q.Pillar[HourPillar], q.RatHourRule))
        return PillarQueryProblem::HourStemNotOfDay;
    return PillarQueryProblem::None;
}

PillarSearchResult FindPillarRanges(const SolarTermTable& table, const PillarQuery& q, std::span<PillarRange> out) {
    PillarSearchResult result;
    result.Problem = CheckPillarQuery(table, q);
    if (result.Problem != PillarQueryProblem::None) return result;
    const Span within = PlaceableSpan(table, q);
    // The solar year of Gregorian year y runs from its 立春; its 子 month opens
    // at its 大雪 and its 丑 month at the next year's 小寒.
    const int monthIndex = FloorMod(q.Pillar[MonthPillar] % 12 - 2, 12);
    const int firstSolarYear = q.FirstYear - 1 + FloorMod(q.Pillar[YearPillar] - (q.FirstYear - 1 - 4), 60);
    RangeSink sink(out);
    for (int y = firstSolarYear; y <= q.LastYear; y += 60) {
        const int openYear = monthIndex == 11 ? y + 1 : y;
        const int openTerm = monthIndex == 11 ? 0 : 2 + 2 * monthIndex;
        const int closeYear = monthIndex >= 10 ? y + 1 : y;
        const int closeTerm = (openTerm + 2) % TermsPerYear;
        if (!table.Covers(openYear) || !table.Covers(closeYear)) continue;
        const ClockMinute first = std::max(within.First, TermMinute(table, openYear, openTerm));
        const ClockMinute last = std::min(within.Last, TermMinute(table, closeYear, closeTerm) - 1);
        if (first > last) continue;
        if (q.Count == 2) {
            sink.Add(first, last);
        } else {
            AddDaysAndHours(q, first, last, sink);
        }
    }
    result.Found = sink.Found();
    return result;
}

bool LunarDateAt(const Moment& m, int ratHourRule, LunarDate& out) {
    if (!SolarToLunar(CivilDate{m.Year, m.Month, m.Day}, out)) return false;
    AdvanceLunarDay(out, m.Hour, m.Minute, ratHourRule);
    return true;
}

int PillarFromText(std::string_view text) {
    for (int stem = 0; stem < 10; ++stem) {
        const std::string_view stemText = StringText(text_base::Stem + stem);
        if (!text.starts_with(stemText)) continue;
        for (int branch = stem % 2; branch < 12; branch += 2)
            if (text.substr(stemText.size()) == StringText(text_base::Branch + branch))
                return FloorMod(6 * stem - 5 * branch, 60);  // ≡ stem (mod 10) and ≡ branch (mod 12)
    }
    return -1;
}

int PillarQueryProblemText(PillarQueryProblem p) {
    switch (p) {
        case PillarQueryProblem::BadCount: return PillarCountText;
        case PillarQueryProblem::BadPillar: return NotAPillarText;
        case PillarQueryProblem::BadYearRange: return YearRangeText;
        case PillarQueryProblem::MonthStemNotOfYear: return MonthNotOfYearText;
        case PillarQueryProblem::HourStemNotOfDay: return HourNotOfDayText;
        case PillarQueryProblem::None: break;
    }
    return 0;
}

}  // namespace qv

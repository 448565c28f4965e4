#include "engine/analysis/pillar_spans.h"

#include <algorithm>

#include "engine/calendar/month_calendar.h"

namespace qv {
namespace {


// The first minute after t at which a double hour (or the 23:00 hour) begins.
ClockMinute NextHourEdge(ClockMinute t) {
    const ClockMinute day = t / MinutesPerDay * MinutesPerDay;
    for (int start : HourSlotStart)
        if (day + start * 60 > t) return day + start * 60;
    return day + MinutesPerDay;
}

// The first 節 (a term of even index) after t, or far beyond when the table ends.
ClockMinute NextMonthTerm(const SolarTermTable& table, ClockMinute t) {
    const int year = MomentOfClockMinute(t).Year;
    for (int y = year; y <= year + 1 && table.Covers(y); ++y)
        for (int k = 0; k < TermsPerYear; k += 2) {
            const TermMoment& m = table.At(y, k);
            const ClockMinute at = ClockMinuteOf(Moment{y, m.Month, m.Day, m.Hour, m.Minute});
            if (at > t) return at;
        }
    return INT64_MAX;
}

bool SamePillars(const PillarQuad& a, const PillarQuad& b) {
    return std::equal(std::begin(a.Pillar), std::end(a.Pillar), std::begin(b.Pillar));
}

}  // namespace

unsigned PillarChanges(const PillarQuad& a, const PillarQuad& b) {
    unsigned changes = 0;
    if (a.Pillar[YearPillar] != b.Pillar[YearPillar]) changes |= YearChanged;
    if (a.Pillar[MonthPillar] != b.Pillar[MonthPillar]) changes |= MonthChanged;
    if (a.Pillar[DayPillar] != b.Pillar[DayPillar]) changes |= DayChanged;
    if (a.Pillar[HourPillar] != b.Pillar[HourPillar]) changes |= HourChanged;
    return changes;
}

PillarSpanResult SplitByPillars(const SolarTermTable& table, int rule, ClockMinute first, ClockMinute last,
                                std::span<PillarSpan> out) {
    PillarSpanResult result;
    PillarSpan current{};
    ClockMinute term = NextMonthTerm(table, first);
    for (ClockMinute t = first; t <= last;) {
        PillarQuad p{};
        if (!MomentToPillars(table, rule, MomentOfClockMinute(t), p)) return result;
        if (t >= term) term = NextMonthTerm(table, t);
        const ClockMinute next = std::min({NextHourEdge(t), term, last + 1});
        if (result.Found > 0 && SamePillars(p, current.Pillars)) {
            current.Last = next - 1;
        } else {
            current = {t, next - 1, p, result.Found > 0 ? PillarChanges(current.Pillars, p) : 0u};
            ++result.Found;
        }
        if (result.Found <= out.size()) out[result.Found - 1] = current;
        t = next;
    }
    result.Ok = true;
    return result;
}

}  // namespace qv

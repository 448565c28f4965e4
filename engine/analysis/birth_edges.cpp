#include "engine/analysis/birth_edges.h"

#include <cstdlib>

#include "engine/calendar/month_calendar.h"

namespace qv {
namespace {


ClockMinute TermAt(const SolarTermTable& table, int year, int term) {
    const TermMoment& m = table.At(year, term);
    return ClockMinuteOf(Moment{year, m.Month, m.Day, m.Hour, m.Minute});
}

// What changes between the minute before the edge and the edge; 0 when the
// table cannot place either.
unsigned ChangesAt(const SolarTermTable& table, int rule, ClockMinute edge) {
    PillarQuad before{}, after{};
    if (!MomentToPillars(table, rule, MomentOfClockMinute(edge - 1), before) ||
        !MomentToPillars(table, rule, MomentOfClockMinute(edge), after))
        return 0;
    return PillarChanges(before, after);
}

}  // namespace

size_t FindBirthEdges(const SolarTermTable& table, int rule, const Moment& m, const EdgeMargins& margins,
                      std::span<BirthEdge, 2> out) {
    size_t n = 0;
    const ClockMinute t = ClockMinuteOf(m);
    // Each month's 節 falls between its 4th and 8th day, so within any
    // margin under two days the only 節 near a birth is that of its own month.
    if (table.Covers(m.Year)) {
        const int term = (m.Month - 1) * 2;
        const ClockMinute at = TermAt(table, m.Year, term);
        if (std::llabs(at - t) <= margins.TermMinutes) {
            if (const unsigned changes = ChangesAt(table, rule, at))
                out[n++] = {term, 0, static_cast<int>(t - at), changes};
        }
    }
    // The nearest start of a double hour (and of the 23:00 hour), midnight counted.
    const ClockMinute day = t / MinutesPerDay * MinutesPerDay;
    const int ofDay = static_cast<int>(t - day);
    int nearest = 0;
    for (int start : HourSlotStart)
        if (std::abs(ofDay - start * 60) < std::abs(ofDay - nearest)) nearest = start * 60;
    if (std::abs(ofDay - MinutesPerDay) < std::abs(ofDay - nearest)) nearest = MinutesPerDay;
    if (std::abs(ofDay - nearest) <= margins.HourMinutes) {
        if (const unsigned changes = ChangesAt(table, rule, day + nearest))
            out[n++] = {NotATerm, nearest % MinutesPerDay, ofDay - nearest, changes};
    }
    return n;
}

}  // namespace qv

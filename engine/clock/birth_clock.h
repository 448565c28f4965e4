// From a birth time as people know it to the moment the chart is cast for.
// The chart's clock is that of UTC+8 to the minute, the clock the solar-term
// table keeps. A birth clock time of another zone (with its historical
// offsets and summer time) is turned into that clock; with true solar time,
// the Sun's own clock at the birthplace replaces it.
#pragma once

#include <cstdint>
#include <optional>

#include "engine/calendar/calendar.h"
#include "engine/clock/clock_zone.h"

namespace qv {

inline constexpr int ChartClockOffsetMinutes = 8 * 60;

// How a given birth clock time is read. The default reads it as the chart's
// own clock and changes nothing.
struct BirthClock {
    std::optional<ClockZone> Zone;   // the birthplace's zone; none: UTC+8
    bool SecondOfRepeated = false;    // of a clock time shown twice, the later one
    std::optional<double> SolarLongitude;  // degrees east: chart apparent solar time there

    bool Corrects() const { return Zone || SolarLongitude; }
};

enum class BirthClockFault {
    None,
    InvalidMoment,        // not a date and time of the day (hour 0-23)
    HourUnknown,          // a correction needs the hour of birth
    SkippedTime,          // the zone's clock never showed this time
    LongitudeOutOfRange,  // not within -180..180
};

struct ChartedMoment {
    BirthClockFault Fault = BirthClockFault::None;
    Moment Charted{};           // on the chart's clock: what DateToPillars takes
    int64_t UtcSeconds = 0;     // the birth instant, seconds since 1970 UTC
    int ZoneOffsetMinutes = ChartClockOffsetMinutes;  // the birth clock's offset from UTC
    bool DaylightSaving = false;
    bool Repeated = false;      // the given time was shown twice by the zone's clock
    double EquationMinutes = 0; // the equation of time used for solar time
};

// The chart's moment of a birth clock time read as `clock` says; when Fault
// is not None, Charted is not to be used.
ChartedMoment ChartMomentOf(const BirthClock& clock, const Moment& given);

// The birth clock's own edges, beside the chart's term and hour edges.
struct ClockEdges {
    bool Repeated = false;           // the zone's clock showed the given time twice
    std::optional<int> ClockChange;  // minutes from a change of the zone's clock within the margin
                                     // (its first minute on the other side), negative when the birth comes first
    std::optional<int> SolarShift;   // minutes true solar time moved the birth, when it moved its double hour
};

// The edges of the clock time `given`, read through `clock` as `charted`;
// none when it could not be read.
ClockEdges FindClockEdges(const BirthClock& clock, const Moment& given, const ChartedMoment& charted,
                          int marginMinutes);

// A date with an hour 0-23 and a minute 0-59.
bool IsClockTime(const Moment& m);

// Seconds since 1970 on a clock reading the moment, and back.
int64_t SecondsOfMoment(const Moment& m);
Moment MomentOfSeconds(int64_t seconds);

}  // namespace qv

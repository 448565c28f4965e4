#include "engine/clock/birth_clock.h"

#include <date/date.h>

#include <cmath>

#include "engine/chart/person_record.h"
#include "engine/clock/solar_time.h"

namespace qv {
namespace {

ChartedMoment Refused(BirthClockFault fault) {
    ChartedMoment out;
    out.Fault = fault;
    return out;
}

}  // namespace

int64_t SecondsOfMoment(const Moment& m) {
    const date::sys_days day{date::year{m.Year} / m.Month / m.Day};
    return static_cast<int64_t>(day.time_since_epoch().count()) * 86400 + m.Hour * 3600 + m.Minute * 60;
}

Moment MomentOfSeconds(int64_t seconds) {
    const int64_t days = seconds >= 0 ? seconds / 86400 : -((-seconds + 86399) / 86400);
    const int64_t ofDay = seconds - days * 86400;
    const date::year_month_day ymd{date::sys_days{date::days{days}}};
    return Moment{static_cast<int>(ymd.year()), static_cast<int>(static_cast<unsigned>(ymd.month())),
                  static_cast<int>(static_cast<unsigned>(ymd.day())), static_cast<int>(ofDay / 3600),
                  static_cast<int>(ofDay % 3600 / 60)};
}

bool IsClockTime(const Moment& m) {
    return IsValidDate(m.Year, m.Month, m.Day) && m.Hour >= 0 && m.Hour <= 23 && m.Minute >= 0 && m.Minute <= 59;
}

ChartedMoment ChartMomentOf(const BirthClock& clock, const Moment& given) {
    ChartedMoment out;
    out.Charted = given;
    if (!clock.Corrects()) return out;
    if (given.Hour == HourUnknown) return Refused(BirthClockFault::HourUnknown);
    if (!IsClockTime(given)) return Refused(BirthClockFault::InvalidMoment);
    if (clock.SolarLongitude && !(std::fabs(*clock.SolarLongitude) <= 180.0))
        return Refused(BirthClockFault::LongitudeOutOfRange);

    const int64_t local = SecondsOfMoment(given);
    out.UtcSeconds = local - ChartClockOffsetMinutes * 60;
    if (clock.Zone) {
        const ZoneReading reading = ReadZoneClock(*clock.Zone, local, clock.SecondOfRepeated);
        if (reading.Kind == LocalClockKind::Skipped) return Refused(BirthClockFault::SkippedTime);
        out.UtcSeconds = reading.UtcSeconds;
        out.ZoneOffsetMinutes = reading.OffsetMinutes;
        out.DaylightSaving = reading.DaylightSaving;
        out.Repeated = reading.Kind == LocalClockKind::Repeated;
    }
    int64_t shown = out.UtcSeconds + ChartClockOffsetMinutes * 60;
    if (clock.SolarLongitude) {
        // The Sun's clock at the birthplace, read at the middle of the birth
        // minute so that the result is the nearest whole minute.
        out.EquationMinutes = EquationOfTimeMinutes(out.UtcSeconds + 30);
        shown = out.UtcSeconds + 30 + std::llround(*clock.SolarLongitude * 240.0 + out.EquationMinutes * 60.0);
    }
    out.Charted = MomentOfSeconds(shown);
    return out;
}

ClockEdges FindClockEdges(const BirthClock& clock, const Moment& given, const ChartedMoment& charted,
                          int marginMinutes) {
    ClockEdges out;
    if (charted.Fault != BirthClockFault::None) return out;  // no moment, no edges
    const int64_t t = SecondsOfMoment(given);
    if (clock.Zone) {
        out.Repeated = charted.Repeated;
        for (int d = 1; d <= marginMinutes && !out.ClockChange; ++d)
            for (int sign : {-1, 1}) {
                const ChartedMoment c = ChartMomentOf(clock, MomentOfSeconds(t + sign * d * 60));
                if (c.Fault != BirthClockFault::None || c.ZoneOffsetMinutes != charted.ZoneOffsetMinutes) {
                    out.ClockChange = sign < 0 ? d - 1 : -d;
                    break;
                }
            }
    }
    if (clock.SolarLongitude && DoubleHourOf(given.Hour) != DoubleHourOf(charted.Charted.Hour))
        out.SolarShift = static_cast<int>((SecondsOfMoment(charted.Charted) - t) / 60);
    return out;
}

}  // namespace qv

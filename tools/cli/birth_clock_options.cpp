#include "birth_clock_options.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "chart_text.h"
#include "cli.h"
#include "clock_note.h"

namespace qv::cli {
namespace {

using ui::LongitudeDegreesText;
using ui::MomentText;
using ui::NoteOf;
using ui::ZoneClockText;

bool ParseLongitude(std::string_view text, double& out) {
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, out);
    return ec == std::errc{} && ptr == end && std::fabs(out) <= 180.0;
}

}  // namespace

bool TakeBirthClock(Args& args, BirthClock& clock) {
    clock = BirthClock{};
    clock.SecondOfRepeated = args.TakeFlag("--second-occurrence");
    if (const auto name = args.TakeValue("--zone")) {
        ClockZone zone;
        std::string problem;
        if (!FindClockZone(*name, zone, problem)) {
            Complain(problem);
            return false;
        }
        clock.Zone = zone;
    }
    if (const auto text = args.TakeValue("--solar-time")) {
        double longitude = 0;
        if (!ParseLongitude(*text, longitude)) {
            Complain("--solar-time takes the birthplace's longitude in degrees, -180 to 180 (east positive), not " +
                     *text);
            return false;
        }
        clock.SolarLongitude = longitude;
    }
    return true;
}

const char* BirthClockRefusal(BirthClockFault fault) {
    switch (fault) {
        case BirthClockFault::None: break;
        case BirthClockFault::InvalidMoment: return "no such date and time of day (hour 00-23)";
        case BirthClockFault::HourUnknown: return "--zone and --solar-time need the hour of birth";
        case BirthClockFault::SkippedTime:
            return "this clock time did not exist in the zone: the clock was set forward over it";
        case BirthClockFault::LongitudeOutOfRange: return "the longitude is not within -180 to 180";
    }
    return "";
}

void AppendCorrectionLines(std::string& out, const BirthClock& clock, const Moment& given, const ChartedMoment& m) {
    AppendPadded(out, "出生地", 8);
    out += MomentText(given);
    if (clock.Zone) {
        out += " " + ZoneClockText(NoteOf(clock.Zone->Name(), clock, given, m));
        if (m.Repeated) out += clock.SecondOfRepeated ? "（重複時刻之第二次）" : "（重複時刻之第一次）";
    } else {
        out += " 東八區";
    }
    out += '\n';
    AppendPadded(out, "排盤", 8);
    out += MomentText(m.Charted);
    if (clock.SolarLongitude) {
        char equation[48];
        std::snprintf(equation, sizeof equation, " 均時差 %+.1f 分", m.EquationMinutes);
        out += " 真太陽時 " + LongitudeDegreesText(*clock.SolarLongitude) + equation;
    } else {
        out += " 東八區";
    }
    out += '\n';
}

void AppendCorrectionJson(JsonObject& json, const BirthClock& clock, const Moment& given, const ChartedMoment& m) {
    json.Text("GivenClock", MomentText(given));
    if (clock.Zone) {
        json.Text("Zone", clock.Zone->Name());
        json.Field("ZoneOffsetMinutes", m.ZoneOffsetMinutes);
        json.Field("DaylightSaving", m.DaylightSaving);
        json.Field("RepeatedClockTime", m.Repeated);
        if (m.Repeated) json.Text("Occurrence", clock.SecondOfRepeated ? "second" : "first");
    }
    if (clock.SolarLongitude) {
        json.Field("SolarTimeLongitude", *clock.SolarLongitude);
        json.Field("EquationOfTimeMinutes", std::round(m.EquationMinutes * 100) / 100);
    }
}

}  // namespace qv::cli

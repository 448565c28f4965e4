#include "birth_edges_out.h"

#include <cstdlib>
#include <optional>

#include "cli.h"
#include "engine/texts/edge_words.h"
#include "json_out.h"
#include "engine/texts/string_table.h"

namespace qv::cli {
namespace {

constexpr const char* PillarKeys[4] = {"year", "month", "day", "hour"};
constexpr unsigned PillarBits[4] = {YearChanged, MonthChanged, DayChanged, HourChanged};

void AppendEdge(std::string& list, bool& first, std::string_view what, int minutes, unsigned decides) {
    if (!first) list += ',';
    first = false;
    JsonObject o(list);
    o.Text("what", what);
    o.Text("side", minutes < 0 ? "before" : "after");
    o.Field("minutes", std::abs(minutes));
    list += ",\"decides\":[";
    bool firstKey = true;
    for (int i = 0; i < 4; ++i)
        if (decides & PillarBits[i]) {
            list += firstKey ? "\"" : ",\"";
            list += PillarKeys[i];
            list += '"';
            firstKey = false;
        }
    list += ']';
}

// A change of the zone's clock (a new offset, or minutes it never showed)
// within the margin: the birth's minutes from the first minute on the other
// side of it, negative when the birth comes first.
std::optional<int> ClockChangeWithin(const BirthClock& clock, const Moment& given, const ChartedMoment& charted,
                                     int margin) {
    const ClockMinute t = ClockMinuteOf(given);
    for (int d = 1; d <= margin; ++d)
        for (int sign : {-1, 1}) {
            const ChartedMoment c = ChartMomentOf(clock, MomentOfClockMinute(t + sign * d));
            if (c.Fault != BirthClockFault::None || c.ZoneOffsetMinutes != charted.ZoneOffsetMinutes)
                return sign < 0 ? d - 1 : -d;
        }
    return std::nullopt;
}

}  // namespace

void AppendEdgesJson(JsonObject& json, const SolarTermTable& table, int rule, const BirthClock& clock,
                     const Moment& given, const ChartedMoment& charted) {
    const EdgeMargins margins;
    std::string& list = json.NestedKey("Edges");
    list += '[';
    bool first = true;
    BirthEdge edges[2];
    const size_t n = FindBirthEdges(table, rule, charted.Charted, margins, edges);
    for (size_t i = 0; i < n; ++i) AppendEdge(list, first, EdgeName(edges[i]), edges[i].Minutes, edges[i].Decides);
    if (clock.Zone) {
        if (charted.Repeated) AppendEdge(list, first, "repeated_clock_time", 0, 0);
        if (const auto d = ClockChangeWithin(clock, given, charted, margins.HourMinutes))
            AppendEdge(list, first, "clock_change", *d, 0);
    }
    if (clock.SolarLongitude && DoubleHourOf(given.Hour) != DoubleHourOf(charted.Charted.Hour)) {
        const auto shift = ClockMinuteOf(charted.Charted) - ClockMinuteOf(given);
        AppendEdge(list, first, "solar_time", static_cast<int>(shift), HourChanged);
    }
    list += ']';
}

}  // namespace qv::cli

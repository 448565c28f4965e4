#include "birth_edges_out.h"

#include <cstdlib>

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
    const ClockEdges own = FindClockEdges(clock, given, charted, margins.HourMinutes);
    if (own.Repeated) AppendEdge(list, first, "repeated_clock_time", 0, 0);
    if (own.ClockChange) AppendEdge(list, first, "clock_change", *own.ClockChange, 0);
    if (own.SolarShift) AppendEdge(list, first, "solar_time", *own.SolarShift, HourChanged);
    list += ']';
}

}  // namespace qv::cli

// The edges of a charted birth for the command line: the engine's term and
// hour edges, and the birth clock's own (a clock time shown twice, summer
// time starting or ending within the margin, true solar time moving the hour).
#pragma once

#include <string>

#include "engine/clock/birth_clock.h"
#include "engine/analysis/birth_edges.h"

namespace qv::cli {

class JsonObject;

// "Edges": [{"what", "side", "minutes", "decides"}...]
void AppendEdgesJson(JsonObject& json, const SolarTermTable& table, int ratHourRule, const BirthClock& clock,
                     const Moment& given, const ChartedMoment& charted);

}  // namespace qv::cli

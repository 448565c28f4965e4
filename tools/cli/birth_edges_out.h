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

// One note line a term or hour edge, e.g. "出生時刻距立春 3 分鐘：年柱、月柱以出生分鐘為準".
void AppendEdgeNotes(std::string& out, const SolarTermTable& table, int ratHourRule, const Moment& charted);

}  // namespace qv::cli

// The edges of a birth in the system's words, for the chart view, its print
// and the command line alike.
#pragma once

#include <string>

#include "engine/analysis/birth_edges.h"
#include "engine/chart/chart_record.h"
#include "engine/clock/birth_clock.h"

namespace qv {

// The term's name (立春), or the hour edge as "23:00".
std::string EdgeName(const BirthEdge& edge);
// "出生時刻距立春 3 分鐘：年柱、月柱以出生分鐘為準"
std::string EdgeNote(const BirthEdge& edge);
// The notes of every edge of the charted moment within the margins, one a
// line; empty when the birth lies far from all.
std::string EdgeNotes(const SolarTermTable& table, int ratHourRule, const Moment& charted, const EdgeMargins& margins);
// The notes of the charted person's birth, under the record's rat-hour rule;
// none when the hour is unknown.
std::string ChartEdgeNotes(const ChartRecord& rec, const EdgeMargins& margins);

// The notes of the birth clock's own edges, one a line; empty when none.
std::string ClockEdgeNotes(const ClockEdges& edges);

// Every note of a charted birth, one a line: the chart's term and hour edges,
// then the birth clock's own.
std::string BirthEdgeNotes(const ChartRecord& rec, const ClockEdges& clock, const EdgeMargins& margins);

}  // namespace qv

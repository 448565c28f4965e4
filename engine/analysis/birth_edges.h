// The edges of a birth moment: how far it lies from the nearest 節 and the
// nearest double-hour edge, and which pillars those edges decide, so that a
// birth within a few minutes of one can say its pillars rest on the minute.
#pragma once

#include <cstddef>
#include <span>

#include "engine/analysis/pillar_spans.h"

namespace qv {

struct EdgeMargins {
    int TermMinutes = 15;
    int HourMinutes = 10;
};

inline constexpr int NotATerm = -1;

struct BirthEdge {
    int Term;          // term index 0-23 of a 節, or NotATerm for an hour edge
    int MinuteOfDay;   // of an hour edge: 0, 60, 180 ... 1380
    int Minutes;       // from the edge to the birth: negative when the birth lies before it
    unsigned Decides;  // PillarChange bits of the pillars that change at the edge
};

// The nearest 節 and the nearest hour edge of the charted moment (UTC+8)
// that lie within the margins and change a pillar under the rule; returns
// how many were stored (at most 2).
size_t FindBirthEdges(const SolarTermTable& table, int ratHourRule, const Moment& charted, const EdgeMargins& margins,
                      std::span<BirthEdge, 2> out);

}  // namespace qv

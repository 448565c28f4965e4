// 時辰不確定: the distinct charts of a span of birth clock time, each with its
// stretch on the birth clock and the minute it is charted at. For the
// command line and the windows alike; no Qt.
#pragma once

#include <span>
#include <vector>

#include "engine/clock/birth_clock.h"
#include "charting_session.h"
#include "engine/analysis/pillar_spans.h"

namespace qv {

// A change of the zone's offset (summer time) where a candidate starts,
// beside the PillarChange bits.
inline constexpr unsigned ClockChanged = 16;

struct BirthCandidate {
    PillarSpan Span;                    // on the chart's clock
    ClockMinute FirstClock, LastClock;  // on the birth clock
    ClockMinute MiddleChart;            // the chart's minute of the middle birth-clock minute

    Moment FirstOnClock() const { return MomentOfClockMinute(FirstClock); }
    Moment LastOnClock() const { return MomentOfClockMinute(LastClock); }
    // The middle minute, where the fields are read: the luck start still
    // moves with the minute inside a stretch.
    Moment MiddleOnClock() const { return MomentOfClockMinute((FirstClock + LastClock) / 2); }
    Moment MiddleCharted() const { return MomentOfClockMinute(MiddleChart); }
};

// Every distinct chart of the birth clock's [first, last], in time order, read
// through the clock's zone and true solar time; empty when the span is empty
// or the table cannot place some minute of it.
std::vector<BirthCandidate> ListBirthCandidates(const SolarTermTable& table, const BirthClock& clock, int ratHourRule,
                                                const Moment& first, const Moment& last);

inline constexpr int CandidateLuckPillars = 3;

// The fields a practitioner compares the candidates by.
struct CandidateChart {
    BirthCandidate Candidate;
    bool LuckForward;
    int LuckStartAge;
    int LuckStem[CandidateLuckPillars], LuckBranch[CandidateLuckPillars];  // the first luck pillars
    bool Strong;   // the day master
    int Roles[5];  // elements of 用神, 喜神, 閒神, 忌神, 仇神
    int Pattern;   // special pattern, -1 none
};

// Charts each candidate at its middle minute through `session` (which holds
// the last one afterwards); false, with what was charted before, when one
// cannot be charted.
bool ChartCandidates(ChartingSession& session, std::span<const BirthCandidate> candidates, int sex,
                     std::vector<CandidateChart>& out);

}  // namespace qv

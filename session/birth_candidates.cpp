#include "birth_candidates.h"

#include <optional>

#include "engine/chart/chart_compute.h"

namespace qv {
namespace {

constexpr size_t MaxSpans = 4096;

// How the birth clock reads at a minute: chart minus clock minutes, and the
// zone's own offset from UTC.
struct ClockReading {
    int ChartMinusClock;
    int ZoneOffset;
    bool operator==(const ClockReading&) const = default;
};

// A stretch of the birth clock that reads the same throughout.
struct ClockPiece {
    ClockMinute First, Last;
    ClockReading Reading;
};

// nullopt where the zone's clock never showed the minute.
std::optional<ClockReading> ReadingAt(const BirthClock& clock, ClockMinute t) {
    if (!clock.Corrects()) return ClockReading{0, ChartClockOffsetMinutes};
    const ChartedMoment c = ChartMomentOf(clock, MomentOfClockMinute(t));
    if (c.Fault != BirthClockFault::None) return std::nullopt;
    return ClockReading{static_cast<int>(ClockMinuteOf(c.Charted) - t), c.ZoneOffsetMinutes};
}

// Splits [first, last] where the reading changes: zones change at most a few
// times a year and solar time moves by a minute every day or two, so the
// search steps by hours and then by minutes.
std::vector<ClockPiece> ClockPieces(const BirthClock& clock, ClockMinute first, ClockMinute last) {
    std::vector<ClockPiece> pieces;
    for (ClockMinute t = first; t <= last;) {
        const std::optional<ClockReading> reading = ReadingAt(clock, t);
        if (!reading) {
            ++t;
            continue;
        }
        ClockMinute end = t;
        while (end + 60 <= last && ReadingAt(clock, end + 60) == reading) end += 60;
        while (end + 1 <= last && ReadingAt(clock, end + 1) == reading) ++end;
        pieces.push_back({t, end, *reading});
        t = end + 1;
    }
    return pieces;
}

}  // namespace

std::vector<BirthCandidate> ListBirthCandidates(const SolarTermTable& table, const BirthClock& clock, int rule,
                                                const Moment& firstMoment, const Moment& lastMoment) {
    const ClockMinute first = ClockMinuteOf(firstMoment), last = ClockMinuteOf(lastMoment);
    std::vector<BirthCandidate> candidates;
    if (first > last) return candidates;
    std::vector<PillarSpan> spans(MaxSpans);
    const std::vector<ClockPiece> pieces = ClockPieces(clock, first, last);
    for (size_t p = 0; p < pieces.size(); ++p) {
        const ClockPiece& piece = pieces[p];
        const int off = piece.Reading.ChartMinusClock;
        const PillarSpanResult r = SplitByPillars(table, rule, piece.First + off, piece.Last + off, spans);
        if (!r.Ok || r.Found > spans.size()) return {};
        for (size_t i = 0; i < r.Found; ++i) {
            BirthCandidate c{spans[i], spans[i].First - off, spans[i].Last - off, 0};
            if (i == 0 && p > 0) {
                BirthCandidate& before = candidates.back();
                const unsigned changes = PillarChanges(before.Span.Pillars, c.Span.Pillars);
                // Solar time moving on by a minute changes no chart.
                if (pieces[p - 1].Reading.ZoneOffset == piece.Reading.ZoneOffset && changes == 0) {
                    before.Span.Last = c.Span.Last;
                    before.LastClock = c.LastClock;
                    continue;
                }
                c.Span.Changes = changes | (pieces[p - 1].Reading.ZoneOffset != piece.Reading.ZoneOffset ? ClockChanged : 0);
            }
            candidates.push_back(c);
        }
    }
    for (BirthCandidate& c : candidates) {
        const ClockMinute middle = (c.FirstClock + c.LastClock) / 2;
        const std::optional<ClockReading> reading = ReadingAt(clock, middle);
        c.MiddleChart = middle + (reading ? reading->ChartMinusClock : 0);
    }
    return candidates;
}

bool ChartCandidates(ChartingSession& session, std::span<const BirthCandidate> candidates, int sex,
                     std::vector<CandidateChart>& out) {
    out.clear();
    for (const BirthCandidate& c : candidates) {
        const Moment m = c.MiddleCharted();
        PersonRecord person{};
        StoreBirthMoment(person, CivilDate{m.Year, m.Month, m.Day}, m.Hour, m.Minute);
        person.sex = sex;
        if (!session.Chart(person, ChartingSession::Fortunes::Skipped)) return false;
        const ChartRecord& rec = session.Record();
        const ChartBlock& b = rec.Natal;
        CandidateChart chart{c, rec.LuckForward != 0, b.LuckStartAge, {}, {}, b.IsStrong != 0, {}, b.Pattern};
        for (int i = 0; i < CandidateLuckPillars; ++i) chart.LuckStem[i] = b.LuckStem[i], chart.LuckBranch[i] = b.LuckBranch[i];
        for (int r = 0; r < 5; ++r) chart.Roles[r] = b.Roles[r];
        out.push_back(chart);
    }
    return true;
}

}  // namespace qv

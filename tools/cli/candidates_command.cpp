// candidates --date D [--to-date D] [--from HH:MM] [--until HH:MM] --sex m|f:
// 時辰不確定, every distinct chart of a span of birth clock time, with the
// fields a practitioner compares them by.
#include <algorithm>
#include <optional>
#include <vector>

#include "charting.h"
#include "cli.h"
#include "json_out.h"
#include "engine/analysis/pillar_spans.h"
#include "engine/texts/string_table.h"

namespace qv::cli {
namespace {


constexpr unsigned ClockChanged = 16;  // the zone's offset changed (summer time)
constexpr int ShownLuckPillars = 3;
constexpr size_t MaxSpans = 4096;

// A stretch of the birth clock with one offset to the chart's clock.
struct ClockPiece {
    ClockMinute First, Last;
    int ChartMinusClock;
};

// Chart minus clock minutes at a clock minute; nullopt where the zone's clock
// never showed it.
std::optional<int> OffsetAt(const BirthClock& clock, ClockMinute t) {
    if (!clock.Zone) return 0;
    const ChartedMoment c = ChartMomentOf(clock, MomentOfClockMinute(t));
    if (c.Fault != BirthClockFault::None) return std::nullopt;
    return static_cast<int>(ClockMinuteOf(c.Charted) - t);
}

// Splits [first, last] where the zone's offset changes; zones change at most
// a few times a year, so the search steps by hours and then by minutes.
std::vector<ClockPiece> ClockPieces(const BirthClock& clock, ClockMinute first, ClockMinute last) {
    std::vector<ClockPiece> pieces;
    for (ClockMinute t = first; t <= last;) {
        const std::optional<int> off = OffsetAt(clock, t);
        if (!off) {
            ++t;
            continue;
        }
        ClockMinute end = t;
        while (end + 60 <= last && OffsetAt(clock, end + 60) == off) end += 60;
        while (end + 1 <= last && OffsetAt(clock, end + 1) == off) ++end;
        pieces.push_back({t, end, *off});
        t = end + 1;
    }
    return pieces;
}

struct Candidate {
    PillarSpan Span;   // on the chart's clock
    ClockPiece Piece;  // the birth clock stretch it lies in
};

std::string ClockText(ClockMinute chartMinute, const ClockPiece& piece) {
    std::string t;
    AppendMoment(t, MomentOfClockMinute(chartMinute - piece.ChartMinusClock));
    return t;
}

void AppendChanges(std::string& out, unsigned changes) {
    bool any = false;
    for (int bit = 0; bit < 5; ++bit)
        if (changes & (1u << bit)) {
            if (any) out += ' ';
            out += StringText(text_base::PillarChange + bit);
            any = true;
        }
    if (!any) out += '-';
}

void AppendCandidate(std::string& out, const Candidate& c, const Birth& charted, const ChartRecord& rec, bool json) {
    const ChartBlock& b = rec.Natal;
    const std::string first = ClockText(c.Span.First, c.Piece), last = ClockText(c.Span.Last, c.Piece);
    std::string moment;
    AppendMoment(moment, charted.When);
    if (json) {
        {
            JsonObject o(out);
            o.Text("first", first);
            o.Text("last", last);
            o.Text("charted", moment);
            int pillars[4];
            std::copy(std::begin(c.Span.Pillars.Pillar), std::end(c.Span.Pillars.Pillar), pillars);
            o.Field("Pillars", pillars);
            o.Field("Changes", c.Span.Changes);
            o.Field("LuckForward", rec.LuckForward);
            o.Field("LuckStartAge", b.LuckStartAge);
            o.Field("LuckStartSpan", b.LuckStartSpan);
            o.Field("LuckStem", b.LuckStem);
            o.Field("LuckBranch", b.LuckBranch);
            o.Field("IsStrong", b.IsStrong);
            o.Field("Roles", b.Roles);
            o.Field("Pattern", b.Pattern);
        }
        out += '\n';
        return;
    }
    out += first + '\t' + last + '\t';
    for (int i = 0; i < 4; ++i) out += PillarText(c.Span.Pillars.Pillar[i]) + (i < 3 ? " " : "\t");
    AppendChanges(out, c.Span.Changes);
    out += '\t';
    out += StringText(rec.LuckForward ? ForwardText : BackwardText);
    out += ' ' + std::to_string(b.LuckStartAge) + std::string(StringText(LuckStartText)) + '\t';
    for (int i = 0; i < ShownLuckPillars; ++i) {
        out += StringText(text_base::Stem + b.LuckStem[i]);
        out += StringText(text_base::Branch + b.LuckBranch[i]);
        out += i + 1 < ShownLuckPillars ? " " : "\t";
    }
    out += StringText(b.IsStrong ? StrongText : WeakText);
    out += '\t';
    for (int role = 0; role < 5; ++role) {
        out += StringText(text_base::GodRole + role);
        out += StringText(text_base::Element + b.Roles[role]);
        out += role < 4 ? " " : "\t";
    }
    out += b.Pattern >= 0 ? StringText(text_base::Pattern + b.Pattern) : StringText(NoPatternText);
    out += '\n';
}

bool ParseClockTime(std::string_view text, int& hour, int& minute) {
    Moment m{};
    return ParseMoment("2000-01-01 " + std::string(text), m) && (hour = m.Hour, minute = m.Minute, true);
}

}  // namespace

int RunCandidates(Args& args) {
    const bool json = args.TakeFlag("--json");
    const auto date = args.TakeValue("--date"), toDate = args.TakeValue("--to-date");
    const auto from = args.TakeValue("--from"), until = args.TakeValue("--until");
    const auto sex = args.TakeValue("--sex");
    CivilDate d0{}, d1{};
    int h0 = 0, m0 = 0, h1 = 23, m1 = 59;
    Birth birth;
    if (!date || !ParseDate(*date, d0) || (toDate && !ParseDate(*toDate, d1)) ||
        (from && !ParseClockTime(*from, h0, m0)) || (until && !ParseClockTime(*until, h1, m1)) || !sex ||
        !ParseSex(*sex, birth.Sex)) {
        Complain(StringText(CandidatesUsageText));
        return ExitBadInput;
    }
    if (!toDate) d1 = d0;
    if (!IsValidDate(d0.Year, d0.Month, d0.Day) || !IsValidDate(d1.Year, d1.Month, d1.Day)) {
        Complain(StringText(CandidatesUsageText));
        return ExitBadInput;
    }
    Charting charting;
    if (const int code = PrepareCharting(args, charting, nullptr); code != ExitOk) return code;
    if (charting.Clock.SolarLongitude) {
        Complain(StringText(NoSolarTimeText));
        return ExitBadInput;
    }
    const ClockMinute first = ClockMinuteOf({d0.Year, d0.Month, d0.Day, h0, m0});
    const ClockMinute last = ClockMinuteOf({d1.Year, d1.Month, d1.Day, h1, m1});
    const int rule = PillarRatHourRule(charting.Record().Options);
    std::vector<Candidate> candidates;
    std::vector<PillarSpan> spans(MaxSpans);
    const std::vector<ClockPiece> pieces = first <= last ? ClockPieces(charting.Clock, first, last) : std::vector<ClockPiece>{};
    for (size_t p = 0; p < pieces.size(); ++p) {
        const ClockPiece& piece = pieces[p];
        const PillarSpanResult r = SplitByPillars(charting.Session.Terms(), rule, piece.First + piece.ChartMinusClock,
                                                  piece.Last + piece.ChartMinusClock, spans);
        if (!r.Ok || r.Found > spans.size()) {
            candidates.clear();
            break;
        }
        for (size_t i = 0; i < r.Found; ++i) {
            Candidate c{spans[i], piece};
            if (i == 0 && p > 0) c.Span.Changes = PillarChanges(candidates.back().Span.Pillars, c.Span.Pillars) | ClockChanged;
            candidates.push_back(c);
        }
    }
    if (candidates.empty()) {
        Complain(StringText(SpanRangeText));
        return ExitBadInput;
    }
    std::string out;
    for (const Candidate& c : candidates) {
        // The fields of the middle minute: the luck start still moves with the minute inside a stretch.
        birth.When = MomentOfClockMinute((c.Span.First + c.Span.Last) / 2 - c.Piece.ChartMinusClock);
        if (!charting.Chart(birth)) {
            Complain(charting.Problem);
            return ExitBadInput;
        }
        AppendCandidate(out, c, birth, charting.Record(), json);
    }
    WriteOut(out);
    return ExitOk;
}

}  // namespace qv::cli

// candidates --date D [--to-date D] [--from HH:MM] [--until HH:MM] --sex m|f:
// 時辰不確定, every distinct chart of a span of birth clock time, with the
// fields a practitioner compares them by.
#include <algorithm>
#include <optional>
#include <vector>

#include "birth_candidates.h"
#include "charting.h"
#include "cli.h"
#include "json_out.h"
#include "engine/texts/string_table.h"
#include "engine/analysis/pillar_spans.h"

namespace qv::cli {
namespace {

constexpr int ShownLuckPillars = 3;

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

void AppendCandidate(std::string& out, const BirthCandidate& c, const Birth& charted, const ChartRecord& rec,
                     bool json) {
    const ChartBlock& b = rec.Natal;
    std::string first, last;
    AppendMoment(first, c.FirstOnClock());
    AppendMoment(last, c.LastOnClock());
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
    const std::vector<BirthCandidate> candidates =
        ListBirthCandidates(charting.Session.Terms(), charting.Clock, PillarRatHourRule(charting.Record().Options),
                            {d0.Year, d0.Month, d0.Day, h0, m0}, {d1.Year, d1.Month, d1.Day, h1, m1});
    if (candidates.empty()) {
        Complain(StringText(SpanRangeText));
        return ExitBadInput;
    }
    std::string out;
    for (const BirthCandidate& c : candidates) {
        birth.When = c.MiddleOnClock();
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

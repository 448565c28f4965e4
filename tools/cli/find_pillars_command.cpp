// find-pillars 甲子 丙寅 戊辰 庚申: every time range in which the pillars hold,
// with its Gregorian and lunar first and last minute.
#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

#include "calendar_command.h"
#include "cli.h"
#include "json_out.h"
#include "engine/analysis/pillar_search.h"
#include "engine/texts/string_table.h"

namespace qv::cli {
namespace {

// A year pillar recurs five times in 300 years, each time with one month of
// the pillar and in it a day or two; 64 is ample.
constexpr size_t MaxRanges = 64;

struct RangeEnd {
    std::string Text;
    bool HasLunar;
    LunarDate Lunar;
};

RangeEnd EndOf(ClockMinute minute, int rule) {
    const Moment m = MomentOfClockMinute(minute);
    RangeEnd e{{}, false, {}};
    AppendMoment(e.Text, m);
    e.HasLunar = LunarDateAt(m, rule, e.Lunar);
    return e;
}

// 1984-02-04 23:00  1984-02-05 00:59  1984-01-04  1984-01-04   (lunar "-" outside the lunar table)
void AppendRange(std::string& out, const PillarRange& r, int rule, bool json) {
    const RangeEnd first = EndOf(r.First, rule), last = EndOf(r.Last, rule);
    if (json) {
        {
            JsonObject o(out);
            o.Text("first", first.Text);
            o.Text("last", last.Text);
            o.Field("minutes", r.Last - r.First + 1);
            AppendLunarJson(o, "first_lunar", first.HasLunar, first.Lunar);
            AppendLunarJson(o, "last_lunar", last.HasLunar, last.Lunar);
        }
        out += '\n';
        return;
    }
    out += first.Text + '\t' + last.Text + '\t';
    AppendLunarDate(out, first.HasLunar, first.Lunar);
    out += '\t';
    AppendLunarDate(out, last.HasLunar, last.Lunar);
    out += '\n';
}

}  // namespace

int RunFindPillars(Args& args) {
    const bool json = args.TakeFlag("--json");
    int16_t rule = CommonRatHour;
    std::optional<int> from, to;
    if (!TakeRatHour(args, rule) || !TakeNumberOption(args, "--from", 1, 9999, from) ||
        !TakeNumberOption(args, "--to", 1, 9999, to) || args.RejectUnknownOptions())
        return ExitBadInput;
    PillarQuery q;
    q.RatHourRule = rule;
    q.FirstYear = from.value_or(DefaultSearchFirstYear);
    q.LastYear = to.value_or(DefaultSearchLastYear);
    q.Count = static_cast<int>(args.Items.size());
    if (q.Count < 2 || q.Count > 4) {
        Complain(StringText(PillarCountText));
        return ExitBadInput;
    }
    for (int i = 0; i < q.Count; ++i) {
        q.Pillar[i] = PillarFromText(args.Items[static_cast<size_t>(i)]);
        if (q.Pillar[i] < 0) {
            Complain("「" + args.Items[static_cast<size_t>(i)] + "」" + std::string(StringText(NotAPillarText)));
            return ExitBadInput;
        }
    }
    auto table = std::make_unique<SolarTermTable>();
    if (!LoadTermTable(args, *table)) return ExitNoData;
    std::vector<PillarRange> ranges(MaxRanges);
    const PillarSearchResult found = FindPillarRanges(*table, q, ranges);
    if (found.Problem != PillarQueryProblem::None) {
        Complain(StringText(PillarQueryProblemText(found.Problem)));
        return ExitBadInput;
    }
    if (found.Found == 0) {
        Complain(std::string(StringText(NothingFoundText)) + "（" + std::to_string(q.FirstYear) + "–" +
                 std::to_string(q.LastYear) + "）");
        return ExitBadInput;
    }
    std::string out;
    for (size_t i = 0; i < std::min(found.Found, ranges.size()); ++i) AppendRange(out, ranges[i], q.RatHourRule, json);
    WriteOut(out);
    return ExitOk;
}

}  // namespace qv::cli

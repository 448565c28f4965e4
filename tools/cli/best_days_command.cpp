// best-days: the days of a range for one or two persons, best first by the
// day fortune value (for two, the lower), clashing days last.
#include <memory>
#include <string>

#include "engine/fortune/best_days.h"
#include "engine/analysis/chart_comparison.h"
#include "engine/fortune/fortune.h"
#include "json_out.h"
#include "engine/texts/string_table.h"
#include "two_persons.h"

namespace qv::cli {
namespace {

std::string DateText(const CivilDate& d) {
    std::string s;
    AppendDate(s, d);
    return s;
}

std::string RelationWord(BranchRelationKind kind) {
    return kind == NoRelation ? std::string() : std::string(StringText(RelationKindText(kind)));
}

void AppendDay(std::string& out, const BestDay& d, bool two, bool json) {
    const int persons = two ? 2 : 1;
    if (!json) {
        out += DateText(d.Date) + '\t' + PillarText(d.Pillar) + '\t' + std::to_string(d.Value);
        for (int i = 0; i < persons; ++i) out += '\t' + std::to_string(d.Values[i]) + '\t' + RelationWord(d.Relation[i]);
        out += d.Clash ? "\t" + std::string(StringText(RelationKindText(Clash))) + "\n" : "\n";
        return;
    }
    {
        JsonObject j(out);
        j.Text("date", DateText(d.Date));
        j.Text("pillar", PillarText(d.Pillar));
        j.Field("value", d.Value);
        j.Field("valueA", d.Values[0]);
        j.Text("relationA", RelationWord(d.Relation[0]));
        if (two) {
            j.Field("valueB", d.Values[1]);
            j.Text("relationB", RelationWord(d.Relation[1]));
        }
        j.Field("clash", d.Clash);
    }
    out += '\n';
}

bool TakeDate(Args& args, std::string_view name, CivilDate& date) {
    const auto value = args.TakeValue(name);
    if (value && ParseDate(*value, date)) return true;
    Complain(std::string(name) + " YYYY-MM-DD is required");
    return false;
}

}  // namespace

int RunBestDays(Args& args) {
    const bool json = args.TakeFlag("--json");
    std::optional<int> category;
    CivilDate from{}, to{};
    if (!TakeNumberOption(args, "--category", 1, 14, category) || !TakeDate(args, "--from", from) ||
        !TakeDate(args, "--to", to))
        return ExitBadInput;
    if (!category) {
        Complain("--category N is required");
        return ExitBadInput;
    }
    Charting charting;
    TwoPersons two;
    if (const int code = ChartTwoPersons(args, charting, two, true); code != ExitOk) return code;
    if (FortuneSetOf(*two.A, *category) == nullptr) {
        Complain("--category takes 1, 3, 4, 5, 6, 7, 8, 9 or 14, not " + std::to_string(*category));
        return ExitBadInput;
    }
    ComputeFortuneTables(*two.A);
    if (two.HasB) ComputeFortuneTables(*two.B);
    auto days = std::make_unique<BestDays>();
    if (!FindBestDays(*two.A, two.HasB ? two.B.get() : nullptr, *category, from, to, *days)) {
        Complain("--from and --to take a range of a year at most, in order, within the solar-term table");
        return ExitBadInput;
    }
    std::string out;
    for (int i = 0; i < days->Count; ++i) AppendDay(out, days->Days[i], two.HasB, json);
    WriteOut(out);
    return ExitOk;
}

}  // namespace qv::cli

// fortune: the fortune values of a person's luck pillars, years, the months of
// a year or the days of a month, with level and feeling words.
#include <string>

#include "engine/calendar/calendar.h"
#include "charting.h"
#include "engine/fortune/fortune.h"
#include "json_out.h"
#include "engine/fortune/levels.h"
#include "engine/fortune/luck_chart.h"
#include "engine/texts/string_table.h"
#include "engine/chart/symbols.h"

namespace qv::cli {
namespace {

struct Request {
    int Category = OverallCategory;
    int Kind = -1;  // PeriodKind
    int Year = 0, Month = 0;
    bool Json = false, Commentary = false;
};

// One bar of a fortune chart.
struct Row {
    std::string Period;  // "1988", "3-12", "2024-02", "2024-02-05"
    int Pillar;          // sexagenary
    int Value;
    int Change;
    bool First;
};

bool TakeCategory(Args& args, int& category) {
    const auto value = args.TakeValue("--category");
    if (!value) return true;
    const bool parsed = ParseInt(*value, category);
    bool known = false;
    for (int c : FortuneCategories) known = known || (parsed && c == category);
    if (!known) {
        Complain("--category takes 1, 3, 4, 5, 7, 8 or 9, not " + *value);
        return false;
    }
    return true;
}

bool TakePeriod(Args& args, Request& r) {
    int chosen = 0;
    if (args.TakeFlag("--luck")) r.Kind = LuckPillarPeriods, ++chosen;
    if (args.TakeFlag("--years")) r.Kind = TenYearPeriods, ++chosen;
    if (const auto year = args.TakeValue("--months")) {
        r.Kind = MonthPeriods, ++chosen;
        if (!ParseInt(*year, r.Year)) {
            Complain("--months takes a year, not " + *year);
            return false;
        }
    }
    if (const auto month = args.TakeValue("--days")) {
        r.Kind = DayPeriods, ++chosen;
        CivilDate date{};
        if (!ParseDate(*month + "-01", date)) {
            Complain("--days takes YEAR-MONTH, not " + *month);
            return false;
        }
        r.Year = date.Year, r.Month = date.Month;
    }
    if (chosen != 1) {
        Complain("give one of --luck, --years, --months YEAR, --days YEAR-MONTH");
        return false;
    }
    return true;
}

// The words under a bar: the travel chart names an activity and a feeling,
// the others a level and a feeling; nothing before birth.
std::string LabelOf(const ChartRecord& rec, int category, const Row& row, Feeling feeling) {
    if (row.Value == UnbornValue) return std::string(StringText(NotBornText));
    if (category != TravelCategory) return std::string(FeelingLabel(feeling).View());
    return std::string(TravelLabelText(TravelLabelOfPillar(rec, row.Pillar)).View());
}

void AppendRow(std::string& out, const ChartRecord& rec, const Request& r, const Row& row) {
    const bool unborn = row.Value == UnbornValue;
    const Feeling feeling = unborn ? Feeling{NoLevel, false}
                                   : FeelingOf(row.Value, row.Change, 10, row.First && FirstBarExempt(r.Kind, 0));
    const int level = unborn ? NoLevel : LevelOf(row.Value, 10);
    const std::string label = LabelOf(rec, r.Category, row, feeling);
    const std::string_view levelWord = level == NoLevel ? std::string_view{} : StringText(LevelWordText + level);
    const int band = unborn ? NoText : CommentaryText(r.Category, r.Kind, row.Value);
    const int feelingIndex = FeelingIndex(feeling.Level, feeling.Turning);
    const int text = feelingIndex < 0 ? NoText : FeelingText(r.Kind, feelingIndex);
    if (r.Json) {
        {
            JsonObject json(out);
            json.Text("Period", row.Period);
            json.Text("Pillar", PillarText(row.Pillar));
            json.Field("Value", row.Value);
            json.Field("Change", row.Change);
            json.Field("Level", level);
            json.Text("LevelText", levelWord);
            json.Field("Feeling", feelingIndex);
            json.Text("Label", label);
            if (r.Commentary) {
                json.Text("Commentary", band == NoText ? std::string_view{} : StringText(band));
                json.Text("FeelingCommentary", text == NoText ? std::string_view{} : StringText(text));
            }
        }
        out += '\n';
        return;
    }
    out += row.Period + '\t' + PillarText(row.Pillar) + '\t' + std::to_string(row.Value) + '\t' +
           std::to_string(row.Change) + '\t' + std::string(levelWord) + '\t' + label;
    if (r.Commentary) {
        for (int id : {band, text}) {
            std::string t(id == NoText ? std::string_view{} : StringText(id));
            for (char& c : t) c = c == '\n' || c == '\t' ? ' ' : c;  // one line per period
            out += '\t' + t;
        }
    }
    out += '\n';
}

std::string TwoDigits(int n) { return (n < 10 ? "0" : "") + std::to_string(n); }

// The luck pillars as the chart draws them: the first one's change and feeling
// read against the years before it where they have a bar of their own.
void AppendLuckRows(std::string& out, const ChartRecord& rec, const Request& r, const FortuneSet& set) {
    LuckBar bars[MaxLuckBars];
    const int count = LuckChartBars(rec, set, r.Category, bars);
    for (int i = 0; i < count; ++i) {
        const int k = bars[i].Pillar;
        if (k < 0) continue;
        const int age = rec.Natal.LuckStartAge + 10 * k;
        const Row row{std::to_string(age) + "-" + std::to_string(age + 9),
                      SexagenaryOf(rec.Natal.LuckStem[k], rec.Natal.LuckBranch[k]), bars[i].Value, bars[i].Change,
                      i == 0};
        AppendRow(out, rec, r, row);
    }
}

void AppendYearRows(std::string& out, const ChartRecord& rec, const Request& r, const FortuneSet& set) {
    for (int i = 0; i < YearsOfLife; ++i) {
        const int year = BirthSolarYear(rec) + i;
        const int change = i == 0 ? 0 : set.YearValue[i] - set.YearValue[i - 1];
        AppendRow(out, rec, r, Row{std::to_string(year), YearPillarOf(year), set.YearValue[i], change, i == 0});
    }
}

void AppendMonthRows(std::string& out, const ChartRecord& rec, const Request& r, const FortuneSet& set) {
    const SolarTermTable& table = *rec.SolarTerms;
    for (int i = 0; i < 12; ++i) {
        Moment start{};
        FortuneMonthStart(table, r.Year, i, start);
        const std::string period = std::to_string(start.Year) + "-" + TwoDigits(start.Month) + "-" + TwoDigits(start.Day);
        AppendRow(out, rec, r, Row{period, MonthPillarAt(table, start), set.MonthValue[i], set.MonthDelta[i], i == 0});
    }
}

void AppendDayRows(std::string& out, const ChartRecord& rec, const Request& r, const FortuneSet& set) {
    for (int d = 1; d <= set.DayCount; ++d) {
        PillarQuad q{};
        MomentToPillars(*rec.SolarTerms, rec.Options.FirstTimeBase, Moment{r.Year, r.Month, d, 12, 0}, q);
        const std::string period = std::to_string(r.Year) + "-" + TwoDigits(r.Month) + "-" + TwoDigits(d);
        AppendRow(out, rec, r, Row{period, q.Pillar[DayPillar], set.DayValue[d - 1], set.DayDelta[d - 1], d == 1});
    }
}

}  // namespace

int RunFortune(Args& args) {
    Request r;
    r.Json = args.TakeFlag("--json");
    r.Commentary = args.TakeFlag("--text");
    if (!TakeCategory(args, r.Category) || !TakePeriod(args, r)) return ExitBadInput;
    Charting charting;
    Birth birth;
    if (const int code = ChartOneBirthWithFortunes(args, charting, birth); code != ExitOk) return code;
    ChartRecord& rec = charting.Record();
    FortuneSet& set = *FortuneSetOf(rec, r.Category);
    const bool placed = r.Kind == MonthPeriods ? ComputeMonthValues(rec, r.Category, r.Year)
                        : r.Kind == DayPeriods ? ComputeDayValues(rec, r.Category, r.Year, r.Month)
                                               : true;
    if (!placed) {
        Complain("that period lies outside the solar-term table");
        return ExitBadInput;
    }
    std::string out;
    using Append = void (*)(std::string&, const ChartRecord&, const Request&, const FortuneSet&);
    constexpr Append ByKind[PeriodKindCount] = {AppendLuckRows, AppendYearRows, AppendMonthRows, AppendDayRows};
    ByKind[r.Kind](out, rec, r, set);
    WriteOut(out);
    return ExitOk;
}

}  // namespace qv::cli

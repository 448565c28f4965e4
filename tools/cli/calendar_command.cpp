// calendar YYYY-MM ...: every day with its lunar date, pillars and the term
// beginning on it. Plain text and JSON need nothing of Qt.
#include "calendar_command.h"

#include <algorithm>
#include <memory>

#include "cli.h"
#include "json_out.h"
#include "engine/texts/string_table.h"

namespace qv::cli {
namespace {

constexpr std::string_view WeekdayTexts[7] = {"日", "一", "二", "三", "四", "五", "六"};

std::string_view TermName(int term) { return StringText(text_base::Term + term); }

void AppendTime(std::string& out, int hour, int minute) {
    AppendNumber(out, hour, 2);
    out += ':';
    AppendNumber(out, minute, 2);
}

// 2025-07-25  五  2025-閏06-01  乙巳 癸未 壬午  大暑 22:29   (- for no lunar date or no term)
void AppendDayLine(std::string& out, const CalendarDay& d) {
    AppendDate(out, d.Date);
    out += '\t';
    out += WeekdayTexts[d.Weekday];
    out += '\t';
    AppendLunarDate(out, d.HasLunar, d.Lunar);
    out += '\t';
    out += PillarText(d.YearPillar);
    out += ' ';
    out += PillarText(d.MonthPillar);
    out += ' ';
    out += PillarText(d.DayPillar);
    out += '\t';
    if (d.Term == NoTerm) {
        out += '-';
    } else {
        out += TermName(d.Term);
        out += ' ';
        AppendTime(out, d.TermHour, d.TermMinute);
    }
    out += '\n';
}

void AppendPillar(JsonObject& day, std::string_view name, int pillar) {
    JsonObject p(day.NestedKey(name));
    p.Field("number", pillar);
    p.Text("text", PillarText(pillar));
}

void AppendDayJson(std::string& out, const CalendarDay& d) {
    {
        JsonObject day(out);
        std::string date;
        AppendDate(date, d.Date);
        day.Text("date", date);
        day.Field("weekday", d.Weekday);
        AppendLunarJson(day, "lunar", d.HasLunar, d.Lunar);
        AppendPillar(day, "year_pillar", d.YearPillar);
        AppendPillar(day, "month_pillar", d.MonthPillar);
        AppendPillar(day, "day_pillar", d.DayPillar);
        if (d.Term == NoTerm) {
            day.NestedKey("term") += "null";
        } else {
            JsonObject term(day.NestedKey("term"));
            term.Field("index", d.Term);
            term.Text("name", TermName(d.Term));
            std::string time;
            AppendTime(time, d.TermHour, d.TermMinute);
            term.Text("time", time);
        }
    }
    out += '\n';
}

struct CalendarContext {
    const SolarTermTable& Table;
    bool Json;
    MonthCalendar Month;
};

std::string AnswerMonth(std::string_view input, std::string& out, void* context) {
    CalendarContext& c = *static_cast<CalendarContext*>(context);
    int year = 0, month = 0;
    if (!ParseCalendarMonth(input, c.Table, year, month))
        return "expected a month YYYY-MM from " + std::to_string(c.Table.FirstYear) + "-01 to " +
               std::to_string(c.Table.LastYear) + "-12";
    FillMonthCalendar(c.Table, year, month, c.Month);
    AppendCalendarMonth(out, c.Month, c.Json);
    return {};
}

}  // namespace

void AppendLunarDate(std::string& out, bool known, const LunarDate& lunar) {
    if (!known) {
        out += '-';
        return;
    }
    AppendNumber(out, lunar.Year, 4);
    out += '-';
    if (lunar.Leap) out += StringText(LeapMonthText);
    AppendNumber(out, lunar.Month, 2);
    out += '-';
    AppendNumber(out, lunar.Day, 2);
}

void AppendLunarJson(JsonObject& object, std::string_view name, bool known, const LunarDate& lunar) {
    if (!known) {
        object.NestedKey(name) += "null";
        return;
    }
    JsonObject o(object.NestedKey(name));
    o.Field("year", lunar.Year);
    o.Field("month", lunar.Month);
    o.Field("day", lunar.Day);
    o.Field("leap", lunar.Leap);
}

bool ParseCalendarMonth(std::string_view text, const SolarTermTable& table, int& year, int& month) {
    if (text.size() != 7 || text[4] != '-') return false;
    for (size_t i : {0u, 1u, 2u, 3u, 5u, 6u})
        if (text[i] < '0' || text[i] > '9') return false;
    return ParseInt(text.substr(0, 4), year) && ParseInt(text.substr(5, 2), month) &&
           CalendarCoversMonth(table, year, month);
}

void AppendCalendarMonth(std::string& out, const MonthCalendar& month, bool json) {
    for (int i = 0; i < month.DayCount; ++i) {
        if (json) {
            AppendDayJson(out, month.Days[i]);
        } else {
            AppendDayLine(out, month.Days[i]);
        }
    }
}

int RunCalendar(Args& args) {
    // Drawing the month needs Qt, which only the picture program loads.
    if (std::find(args.Items.begin(), args.Items.end(), "--render") != args.Items.end())
        return RunInPictureProgram("calendar", args);
    const bool json = args.TakeFlag("--json");
    if (args.RejectUnknownOptions()) return ExitBadInput;
    auto table = std::make_unique<SolarTermTable>();
    if (!LoadTermTable(args, *table)) return ExitNoData;
    auto context = std::make_unique<CalendarContext>(*table, json);
    return AnswerEachInput(args, AnswerMonth, context.get());
}

}  // namespace qv::cli

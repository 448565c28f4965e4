// chart: a person's natal chart, readable or as JSON; --batch charts one
// person per stdin line.
#include <cstdio>
#include <iostream>
#include <memory>

#include "birth_clock_options.h"
#include "birth_edges_out.h"
#include "engine/texts/edge_words.h"
#include "engine/calendar/calendar.h"
#include "engine/chart/chart_compute.h"
#include "engine/chart/chart_record.h"
#include "chart_text.h"
#include "cli.h"
#include "charting.h"
#include "json_out.h"
#include "engine/chart/luck.h"

namespace qv::cli {
namespace {

// A batch line: "YYYY-MM-DD HH:MM m|f", the time "??" (or "??:??") when unknown.
bool ParseBatchLine(std::string_view line, Birth& birth) {
    const size_t firstBlank = line.find(' ');
    const size_t lastBlank = line.rfind(' ');
    if (firstBlank != 10 || lastBlank == firstBlank || !ParseSex(line.substr(lastBlank + 1), birth.Sex)) return false;
    const std::string_view time = line.substr(11, lastBlank - 11);
    birth.HourUnknown = time == "??" || time == "??:??";
    const std::string moment = std::string(line.substr(0, 11)) + (birth.HourUnknown ? "12:00" : std::string(time));
    return ParseMoment(moment, birth.When);
}

void AppendBlock(std::string& out, const ChartBlock& block) {
    JsonObject json(out);
#define QV_JSON_FIELD(name) json.Field(#name, block.name);
    QV_CHART_BLOCK_FIELDS(QV_JSON_FIELD)
#undef QV_JSON_FIELD
}

void AppendJson(std::string& out, const Charting& charting, const Birth& birth) {
    const ChartRecord& rec = charting.Record();
    {
        JsonObject json(out);
        json.Field("Pillars", charting.Session.Pillars().Pillar);
        json.Text("Charted", BirthText(rec.Person));
        if (charting.Clock.Corrects()) {
            JsonObject correction(json.NestedKey("Correction"));
            AppendCorrectionJson(correction, charting.Clock, GivenClock(birth), charting.Corrected);
        }
        if (!BirthTimeUnknown(rec)) {
            const ChartedMoment charted = charting.Clock.Corrects() ? charting.Corrected : ChartedMoment{BirthClockFault::None, birth.When};
            AppendEdgesJson(json, charting.Session.Terms(), PillarRatHourRule(rec.Options), charting.Clock, GivenClock(birth), charted);
        }
        json.Field("HourUnknown", BirthTimeUnknown(rec));
        json.Field("Sex", rec.Person.sex);
        json.Field("LunarYear", rec.Birth.LunarYear);
        json.Field("LunarMonth", rec.Birth.LunarMonth);
        json.Field("LunarDay", rec.Birth.LunarDay);
        json.Field("LeapMonth", rec.Birth.LeapMonth);
        json.Field("LuckForward", rec.LuckForward);
        json.Field("TermIndex", rec.TermIndex);
        json.Field("BirthTerm", rec.BirthTerm);
        json.Field("TermDays", rec.TermDays);
        json.Field("TermMinutes", rec.TermMinutes);
        json.Field("Weekday", rec.Weekday);
        json.Field("BirthSeason", rec.BirthSeason);
        json.Field("VoidMarks", rec.VoidMarks);
        json.Text("LuckChangeText", LuckChangeText(rec.Natal).View());
        json.Text("LuckStartTermText", LuckStartTermText(rec.Natal).View());
        json.Text("LuckSpanText", LuckSpanText(rec.Natal).View());
        json.Field("HasTransformed", rec.HasTransformed);
        json.Field("ReferenceStrength", rec.ReferenceStrength);
        json.Field("StemUnionCount", rec.StemUnionCount);
        AppendBlock(json.NestedKey("Natal"), rec.Natal);
        AppendBlock(json.NestedKey("Transformed"), rec.Transformed);
    }
    out += '\n';
}

int RunBatch(Charting& charting) {
    std::string out, line;
    int refused = 0;
    for (long number = 1; std::getline(std::cin, line); ++number) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        Birth birth;
        const bool parsed = ParseBatchLine(line, birth);
        if (parsed && charting.Chart(birth)) {
            AppendJson(out, charting, birth);
        } else {
            // Keep one output line per input line so scripts can pair them up.
            const char* why = parsed ? charting.Problem : "expected \"YYYY-MM-DD HH:MM m|f\" (HH:MM may be ?\?)";
            {
                JsonObject json(out);
                json.Field("Line", number);
                json.Text("Error", why);
            }
            out += '\n';
            std::fflush(stdout);
            std::cerr << "quorvane-cli: line " << number << ": " << why << ": " << line << '\n';
            ++refused;
        }
        if (out.size() > (1 << 16)) WriteOut(out);
    }
    WriteOut(out);
    return refused ? ExitBadInput : ExitOk;
}

}  // namespace

int RunChart(Args& args) {
    Charting charting;
    ChartRecord& rec = charting.Record();
    const bool batch = args.TakeFlag("--batch");
    const bool json = args.TakeFlag("--json");
    Birth birth;
    if (const int code = PrepareCharting(args, charting, batch ? nullptr : &birth); code != ExitOk) return code;
    if (batch) return RunBatch(charting);
    if (!charting.Chart(birth)) {
        Complain(charting.Problem);
        return ExitBadInput;
    }
    std::string out;
    if (json) {
        AppendJson(out, charting, birth);
    } else {
        if (charting.Clock.Corrects())
            AppendCorrectionLines(out, charting.Clock, GivenClock(birth), charting.Corrected);
        AppendReadableChart(out, rec);
        const EdgeMargins margins;
        const ClockEdges own = FindClockEdges(charting.Clock, GivenClock(birth), charting.Corrected, margins.HourMinutes);
        if (const std::string notes = BirthEdgeNotes(rec, own, margins); !notes.empty()) out += notes + '\n';
    }
    WriteOut(out);
    return ExitOk;
}

}  // namespace qv::cli

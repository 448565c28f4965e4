// chart: one person's natal chart, readable or as JSON.
#include <cstdio>
#include <cstring>
#include <iostream>
#include <memory>

#include "calendar.h"
#include "chart_compute.h"
#include "chart_record.h"
#include "cli.h"
#include "json_out.h"
#include "string_table.h"

namespace qv::cli {
namespace {

struct ChartRequest {
    Moment Birth{};
    int Sex = 0;
    bool HourUnknown = false;
    bool Json = false;
};

bool TakeChartRequest(Args& args, ChartRecord& rec, ChartRequest& req) {
    const auto birth = args.TakeValue("--birth");
    const auto sex = args.TakeValue("--sex");
    req.HourUnknown = args.TakeFlag("--hour-unknown");
    req.Json = args.TakeFlag("--json");
    if (!TakeRatHour(args, rec.Options.FirstTimeBase) || args.RejectUnknownOptions()) return false;
    if (!birth || !ParseMoment(*birth, req.Birth)) {
        Complain("--birth \"YYYY-MM-DD HH:MM\" is required");
        return false;
    }
    if (!sex || (*sex != "m" && *sex != "f")) {
        Complain("--sex m|f is required");
        return false;
    }
    req.Sex = *sex == "f" ? 1 : 0;
    if (!args.Items.empty()) {
        Complain("unexpected argument " + args.Items.front());
        return false;
    }
    return true;
}

PersonRecord PersonFor(const ChartRequest& req) {
    PersonRecord p{};
    p.year = static_cast<int16_t>(req.Birth.Year);
    p.month = static_cast<int16_t>(req.Birth.Month);
    p.day = static_cast<int16_t>(req.Birth.Day);
    p.hour = static_cast<int16_t>(req.HourUnknown ? HourUnknown : req.Birth.Hour);
    p.minute = static_cast<int16_t>(req.HourUnknown ? 0 : req.Birth.Minute);
    p.hourBranch = static_cast<int16_t>(req.HourUnknown ? 6 : DoubleHourOf(req.Birth.Hour));
    p.sex = req.Sex;
    return p;
}

void WriteBlock(std::ostream& out, const ChartBlock& block) {
    JsonObject json(out);
#define QV_JSON_FIELD(name) json.Field(#name, block.name);
    QV_CHART_BLOCK_FIELDS(QV_JSON_FIELD)
#undef QV_JSON_FIELD
}

void WriteJson(std::ostream& out, const ChartRecord& rec, const PillarQuad& pillars) {
    {
        JsonObject json(out);
        json.Field("Pillars", pillars.Pillar);
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
        json.Field("TransformedDiffers", rec.TransformedDiffers);
        WriteBlock(json.NestedKey("Natal"), rec.Natal);
        WriteBlock(json.NestedKey("Transformed"), rec.Transformed);
    }
    out << '\n';
}

void WriteReadable(std::ostream& out, const ChartRecord& rec) {
    const ChartBlock& n = rec.Natal;
    const char* captions[4] = {"年柱", "月柱", "日柱", BirthTimeUnknown(rec) ? "胎元" : "時柱"};
    char date[48];
    std::snprintf(date, sizeof date, "%04d-%02d-%02d ", rec.Person.year, rec.Person.month, rec.Person.day);
    out << "出生\t" << date;
    if (BirthTimeUnknown(rec)) {
        out << "不知道時間";
    } else {
        std::snprintf(date, sizeof date, "%02d:%02d", rec.Person.hour, rec.Person.minute);
        out << date;
    }
    out << "  " << StringText(text_base::Sex + (rec.Person.sex & 1)) << '\n';
    if (rec.Birth.LunarYear) {
        out << "農曆\t" << rec.Birth.LunarYear << "年 " << (rec.Birth.LeapMonth ? StringText(LeapMonthText) : "")
            << rec.Birth.LunarMonth << "月 " << rec.Birth.LunarDay << "日\n";
    }
    out << "      ";
    for (const char* c : captions) out << "  " << c;
    out << "\n四柱  ";
    for (int p = 0; p < 4; ++p) out << "  " << PillarText(SexagenaryOf(n.Stem[p], n.Branch[p]));
    out << "\n年干\t" << StringText(text_base::Polarity + n.YearPolarity) << "年  大運"
        << (rec.LuckForward ? "順行" : "逆行") << "\n節氣\t" << StringText(text_base::Term + rec.BirthTerm)
        << "  當令 " << StringText(text_base::Element + rec.BirthSeason) << '\n';
}

}  // namespace

int RunChart(Args& args) {
    auto rec = std::make_unique<ChartRecord>();
    rec->Options = DefaultEngineOptions;
    rec->Scoring = DefaultScoringParameters;
    ChartRequest req;
    if (!TakeChartRequest(args, *rec, req)) return ExitBadInput;
    auto table = std::make_unique<SolarTermTable>();
    if (!LoadTermTable(args, *table)) return ExitNoData;
    rec->SolarTerms = table.get();
    ReadCurrentDateTime(*rec);
    PillarQuad pillars{};
    if (!ChartPerson(*rec, PersonFor(req), pillars)) {
        Complain("no chart for this birth moment (invalid, or outside the solar-term table)");
        return ExitBadInput;
    }
    if (req.Json) {
        WriteJson(std::cout, *rec, pillars);
    } else {
        WriteReadable(std::cout, *rec);
    }
    return ExitOk;
}

}  // namespace qv::cli

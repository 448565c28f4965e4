// terms, pillars, lunar, solar: the calendar answers, one line per input.
#include <cstdio>
#include <iostream>
#include <memory>
#include <sstream>

#include "calendar.h"
#include "chart_record.h"
#include "cli.h"
#include "string_table.h"

namespace qv::cli {
namespace {

void PrintDate(std::ostream& out, const CivilDate& d) {
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", d.Year, d.Month, d.Day);
    out << text;
}

void PrintMoment(std::ostream& out, const Moment& m) {
    char text[24];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d", m.Year, m.Month, m.Day, m.Hour, m.Minute);
    out << text;
}

std::string AnswerPillars(std::string_view input, void* context) {
    ChartRecord& rec = *static_cast<ChartRecord*>(context);
    Moment m{};
    if (!ParseMoment(input, m)) return "expected YYYY-MM-DD HH:MM";
    PillarQuad p{};
    if (!DateToPillars(rec, p, m)) return "no pillars for this moment (invalid, or outside the solar-term table)";
    PrintMoment(std::cout, m);
    for (uint8_t v : p.Pillar) std::cout << '\t' << int(v);
    std::cout << '\t' << PillarText(p.Pillar[0]) << ' ' << PillarText(p.Pillar[1]) << ' ' << PillarText(p.Pillar[2])
              << ' ' << PillarText(p.Pillar[3]) << '\n';
    return {};
}

std::string AnswerLunar(std::string_view input, void*) {
    CivilDate d{};
    if (!ParseDate(input, d)) return "expected YYYY-MM-DD";
    LunarDate l{};
    if (!SolarToLunar(d, l)) return "no lunar date (invalid, or outside lunar 1900-2099)";
    PrintDate(std::cout, d);
    std::cout << '\t' << l.Year << '\t' << l.Month << '\t' << l.Day << '\t' << (l.Leap ? 1 : 0) << '\n';
    return {};
}

std::string AnswerSolar(std::string_view input, void*) {
    std::istringstream in{std::string(input)};
    LunarDate l{};
    int leap = 0;
    std::string rest;
    if (!(in >> l.Year >> l.Month >> l.Day >> leap) || (in >> rest) || (leap != 0 && leap != 1))
        return "expected Y M D LEAP (LEAP 0 or 1)";
    l.Leap = leap == 1;
    CivilDate d{};
    if (!LunarToSolar(l, d)) return "no such lunar date in 1900-2099";
    PrintDate(std::cout, d);
    std::cout << '\n';
    return {};
}

}  // namespace

int RunTerms(Args& args) {
    int from = 0, to = 0;
    const auto fromText = args.TakeValue("--from");
    const auto toText = args.TakeValue("--to");
    if ((fromText && !ParseInt(*fromText, from)) || (toText && !ParseInt(*toText, to))) {
        Complain("--from and --to take a year");
        return ExitBadInput;
    }
    if (args.RejectUnknownOptions()) return ExitBadInput;
    auto table = std::make_unique<SolarTermTable>();
    if (!LoadTermTable(args, *table)) return ExitNoData;
    if (!fromText) from = table->FirstYear;
    if (!toText) to = table->LastYear;
    if (from < table->FirstYear || to > table->LastYear || from > to) {
        Complain("the table covers " + std::to_string(table->FirstYear) + "-" + std::to_string(table->LastYear));
        return ExitBadInput;
    }
    for (int y = from; y <= to; ++y) {
        for (int i = 0; i < TermsPerYear; ++i) {
            const TermMoment& t = table->At(y, i);
            std::cout << y << '\t' << i << '\t';
            PrintMoment(std::cout, Moment{y, t.Month, t.Day, t.Hour, t.Minute});
            std::cout << '\n';
        }
    }
    return ExitOk;
}

int RunPillars(Args& args) {
    auto rec = std::make_unique<ChartRecord>();
    if (!TakeRatHour(args, rec->Options.FirstTimeBase) || args.RejectUnknownOptions()) return ExitBadInput;
    auto table = std::make_unique<SolarTermTable>();
    if (!LoadTermTable(args, *table)) return ExitNoData;
    rec->SolarTerms = table.get();
    return AnswerEachInput(args, AnswerPillars, rec.get());
}

int RunLunar(Args& args) {
    if (args.RejectUnknownOptions()) return ExitBadInput;
    return AnswerEachInput(args, AnswerLunar, nullptr);
}

int RunSolar(Args& args) {
    if (args.RejectUnknownOptions()) return ExitBadInput;
    return AnswerEachInput(args, AnswerSolar, nullptr);
}

}  // namespace qv::cli

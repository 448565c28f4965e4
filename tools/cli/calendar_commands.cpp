// terms, pillars, lunar, solar: the calendar answers, one line per input.
#include <memory>
#include <sstream>

#include "birth_clock_options.h"
#include "engine/calendar/calendar.h"
#include "engine/chart/chart_record.h"
#include "charting_session.h"
#include "cli.h"
#include "engine/texts/string_table.h"

namespace qv::cli {
namespace {

struct PillarsContext {
    ChartRecord& Record;
    BirthClock Clock;
    std::string Texts[60];  // 甲子 ... 癸亥, looked up once rather than on every line
};

std::string AnswerPillars(std::string_view input, std::string& out, void* context) {
    PillarsContext& c = *static_cast<PillarsContext*>(context);
    Moment m{};
    if (!ParseMoment(input, m)) return "expected YYYY-MM-DD HH:MM";
    // With a correction the line gives the clock time and then the moment charted.
    const std::size_t lineStart = out.size();
    if (c.Clock.Corrects()) {
        const ChartedMoment charted = ChartMomentOf(c.Clock, m);
        if (charted.Fault != BirthClockFault::None) return BirthClockRefusal(charted.Fault);
        AppendMoment(out, m);
        out += '\t';
        m = charted.Charted;
    }
    PillarQuad p{};
    if (!DateToPillars(c.Record, p, m)) {
        out.resize(lineStart);
        return "no pillars for this moment (invalid, or outside the solar-term table)";
    }
    AppendMoment(out, m);
    for (uint8_t v : p.Pillar) {
        out += '\t';
        AppendNumber(out, v, 1);
    }
    for (int i = 0; i < 4; ++i) {
        out += i == 0 ? '\t' : ' ';
        out += c.Texts[p.Pillar[i]];
    }
    out += '\n';
    return {};
}

std::string AnswerLunar(std::string_view input, std::string& out, void*) {
    CivilDate d{};
    if (!ParseDate(input, d)) return "expected YYYY-MM-DD";
    LunarDate l{};
    if (!SolarToLunar(d, l)) return "no lunar date (invalid, or outside lunar 1900-2099)";
    AppendDate(out, d);
    for (int v : {l.Year, l.Month, l.Day, l.Leap ? 1 : 0}) {
        out += '\t';
        AppendNumber(out, v, 1);
    }
    out += '\n';
    return {};
}

std::string AnswerSolar(std::string_view input, std::string& out, void*) {
    std::istringstream in{std::string(input)};
    LunarDate l{};
    int leap = 0;
    std::string rest;
    if (!(in >> l.Year >> l.Month >> l.Day >> leap) || (in >> rest) || (leap != 0 && leap != 1))
        return "expected Y M D LEAP (LEAP 0 or 1)";
    l.Leap = leap == 1;
    CivilDate d{};
    if (!LunarToSolar(l, d)) return "no such lunar date in 1900-2099";
    AppendDate(out, d);
    out += '\n';
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
    std::string out;
    for (int y = from; y <= to; ++y) {
        for (int i = 0; i < TermsPerYear; ++i) {
            const TermMoment& t = table->At(y, i);
            AppendNumber(out, y, 1);
            out += '\t';
            AppendNumber(out, i, 1);
            out += '\t';
            AppendMoment(out, Moment{y, t.Month, t.Day, t.Hour, t.Minute});
            out += '\n';
        }
    }
    WriteOut(out);
    return ExitOk;
}

int RunPillars(Args& args) {
    ChartingSession session;
    ChartRecord& rec = session.Record();
    BirthClock clock;
    if (!TakeRatHour(args, rec.Options.FirstTimeBase) || !TakeBirthClock(args, clock) || args.RejectUnknownOptions())
        return ExitBadInput;
    if (!OpenSession(args, session)) return ExitNoData;
    auto context = std::make_unique<PillarsContext>(rec, clock);
    for (int i = 0; i < 60; ++i) context->Texts[i] = PillarText(i);
    return AnswerEachInput(args, AnswerPillars, context.get());
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

#include "charting.h"

#include "birth_clock_options.h"
#include "engine/calendar/calendar.h"
#include "person_text.h"

namespace qv::cli {
namespace {

// "--name 0|1" into an option field; false after a complaint.
bool TakeSwitchOption(Args& args, std::string_view name, int16_t& field) {
    std::optional<int> n;
    if (!TakeNumberOption(args, name, 0, 1, n, "0 or 1")) return false;
    if (n) field = static_cast<int16_t>(*n);
    return true;
}

bool TakeEngineOptions(Args& args, EngineOptions& options) {
    options = DefaultEngineOptions;
    return TakeSwitchOption(args, "--god-base", options.GodBase) &&
           TakeSwitchOption(args, "--sky-base", options.SkyBase) &&
           TakeSwitchOption(args, "--pool-base", options.PoolBase) && TakeRatHour(args, options.FirstTimeBase);
}

bool TakeBirth(Args& args, Birth& birth) {
    const auto when = args.TakeValue("--birth");
    const auto sex = args.TakeValue("--sex");
    birth.HourUnknown = args.TakeFlag("--hour-unknown");
    if (!when || !ParseMoment(*when, birth.When)) {
        Complain("--birth \"YYYY-MM-DD HH:MM\" is required: a real day and 00:00-23:59 (--hour-unknown when the "
                 "hour is not known)" + (when ? ", not " + *when : std::string()));
        return false;
    }
    if (!sex || !ParseSex(*sex, birth.Sex)) {
        Complain("--sex m|f is required");
        return false;
    }
    return true;
}

}  // namespace

bool ParseSex(std::string_view text, int& sex) {
    if (text != "m" && text != "f") return false;
    sex = text == "f" ? 1 : 0;
    return true;
}

PersonRecord PersonFor(const Birth& birth) {
    PersonRecord p{};
    const Moment& m = birth.When;
    StoreBirthMoment(p, CivilDate{m.Year, m.Month, m.Day}, birth.HourUnknown ? HourUnknown : m.Hour, m.Minute);
    p.sex = birth.Sex;
    return p;
}

Moment GivenClock(const Birth& birth) {
    Moment m = birth.When;
    if (birth.HourUnknown) m.Hour = HourUnknown;
    return m;
}

bool Charting::Chart(const Birth& birth, ChartingSession::Fortunes fortunes) {
    Birth charted = birth;
    if (Clock.Corrects()) {
        Corrected = ChartMomentOf(Clock, GivenClock(birth));
        if (Corrected.Fault != BirthClockFault::None) {
            Problem = BirthClockRefusal(Corrected.Fault);
            return false;
        }
        charted.When = Corrected.Charted;
    }
    Problem = NoChart;
    return Session.Chart(PersonFor(charted), fortunes);
}

int PrepareCharting(Args& args, Charting& charting, Birth* birth) {
    ChartRecord& rec = charting.Record();
    rec.Scoring = DefaultScoringParameters;
    if (!TakeEngineOptions(args, rec.Options) || !TakeBirthClock(args, charting.Clock) ||
        (birth && !TakeBirth(args, *birth)) || args.RejectUnknownOptions())
        return ExitBadInput;
    if (!args.Items.empty()) {
        Complain("unexpected argument " + args.Items.front());
        return ExitBadInput;
    }
    return OpenSession(args, charting.Session) ? ExitOk : ExitNoData;
}

namespace {

int ChartGivenBirth(Args& args, Charting& charting, Birth& birth, ChartingSession::Fortunes fortunes) {
    if (const int code = PrepareCharting(args, charting, &birth); code != ExitOk) return code;
    if (!charting.Chart(birth, fortunes)) {
        Complain(charting.Problem);
        return ExitBadInput;
    }
    return ExitOk;
}

}  // namespace

int ChartOneBirth(Args& args, Charting& charting, Birth& birth) {
    return ChartGivenBirth(args, charting, birth, ChartingSession::Fortunes::Skipped);
}

int ChartOneBirthWithFortunes(Args& args, Charting& charting, Birth& birth) {
    return ChartGivenBirth(args, charting, birth, ChartingSession::Fortunes::Computed);
}

// The name as the records keep it, in Big5 within its field.
bool StoreName(PersonRecord& person, const std::string& name) {
    PersonTexts texts;
    texts.Name = name;
    return Reported(StorePersonTexts(texts, person), "--name refused");
}

}  // namespace qv::cli

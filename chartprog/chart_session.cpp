#include "chart_session.h"

#include <algorithm>

#include "engine/calendar/calendar.h"
#include "engine/chart/chart_compute.h"
#include "potential_file.h"

namespace qv::chartprog {

bool IsChartMode(int mode) { return mode >= ui::LuckCurve && mode <= ui::DayCurve; }

bool IsChartCategory(int category) {
    static constexpr int categories[] = {1, 3, 4, 5, 6, 7, 8, 9, 14};
    return std::ranges::find(categories, category) != std::end(categories);
}

Result RequestProblem(const ChartRequest& r) {
    if (!IsChartMode(r.Mode))
        return Result::Failed(ModeFaultText, "mode /P " + std::to_string(r.Mode) + " is not 0, 1, 2 or 3");
    if (!IsChartCategory(r.Category)) {
        return Result::Failed(CategoryFaultText,
                              "category /T " + std::to_string(r.Category) + " is not 1, 3, 4, 5, 6, 7, 8, 9 or 14");
    }
    if (r.Sex != 0 && r.Sex != 1)
        return Result::Failed(SexFaultText, "sex /S " + std::to_string(r.Sex) + " is not 0 (male) or 1 (female)");
    return Result::Done();
}

ChartSettings ChartProgramDefaults() {
    ChartSettings s = DefaultChartSettings();
    s.YearDisplay = 0;
    s.Options.FirstTimeBase = EarlyRatHour;
    return s;
}

std::string ChartProgramSettingsPath(const DataPaths& paths) { return paths.ProgramDir + "/" + SettingsFileName; }

PersonRecord PersonOf(const ChartRequest& r) {
    PersonRecord person{};
    StoreBirthMoment(person, CivilDate{r.Year, r.Month, r.Day}, r.Hour, r.Minute);
    person.sex = r.Sex;
    LunarDate lunar{};
    if (IsValidDate(r.Year, r.Month, r.Day) && SolarToLunar(CivilDate{r.Year, r.Month, r.Day}, lunar)) {
        person.lunarYear = static_cast<int16_t>(lunar.Year);
        person.lunarMonth = static_cast<int16_t>(lunar.Month);
        person.lunarDay = static_cast<int16_t>(lunar.Day);
        person.leapMonth = lunar.Leap ? 1 : 0;
    }
    return person;
}

bool BirthFieldsSound(const PersonRecord& p) {
    const bool hourSound = (p.hour >= 0 && p.hour <= 23) || p.hour == HourUnknown;
    return hourSound && p.minute >= 0 && p.minute <= 59 && IsValidDate(p.year, p.month, p.day);
}

Result ChartSession::LoadData(const std::string& dataDirOption) {
    paths_ = ResolveDataPaths(dataDirOption);
    Result opened = charting_.Open(paths_);
    if (opened.Ok) charting_.LoadPotentials(PotentialTablePath(paths_));
    return opened;
}

bool ChartSession::Chart(const ChartRequest& request) {
    ChartSettings settings =
        ReadChartSettings(ChartProgramSettingsPath(paths_), SettingsSectionName, ChartProgramDefaults());
    settings.Options.Reading = ChartProgramReading;
    charting_.ApplySettings(settings);
    const PersonRecord person = PersonOf(request);
    // The natal chart: this program never walks the periods.
    charted_ = BirthFieldsSound(person) && charting_.Chart(person);
    return charted_;
}

ui::FortunePeriod ChartSession::OpeningPeriod() const {
    const ChartRecord& rec = charting_.Record();
    ui::FortunePeriod period = ui::PeriodInForce(rec, rec.Now.Year, rec.Now.Month);
    period.LuckView = false;
    period.Paging = ui::ForwardPaging::ChartProgram;
    return period;
}

}  // namespace qv::chartprog

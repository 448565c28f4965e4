#include "charting_session.h"

#include "engine/calendar/calendar.h"
#include "engine/chart/chart_compute.h"
#include "engine/chart/chart_periods.h"
#include "engine/fortune/fortune.h"

namespace qv {

ChartingSession::ChartingSession()
    : record_(std::make_unique<ChartRecord>()),
      terms_(std::make_unique<SolarTermTable>()),
      potentials_(std::make_unique<PotentialTable>()) {
    record_->Options = DefaultEngineOptions;
    record_->Scoring = DefaultScoringParameters;
    record_->Potentials = potentials_.get();
    ClearPeriod(*record_);
}

ChartingSession::~ChartingSession() = default;

Result ChartingSession::Open(const DataPaths& paths) {
    Result loaded = LoadProgramTermTable(paths, *terms_);
    if (!loaded.Ok) return loaded;
    record_->SolarTerms = terms_.get();
    RefreshToday();
    return loaded;
}

Result ChartingSession::LoadPotentials(const std::string& path) {
    return LoadPotentialTable(path, *potentials_);
}

void ChartingSession::ApplySettings(const ChartSettings& settings) {
    record_->Options = settings.Options;
    record_->Scoring = settings.Scoring;
    record_->YearDisplay = settings.YearDisplay;
}

void ChartingSession::RefreshToday() { ReadCurrentDateTime(*record_); }

void ChartingSession::SetToday(const CivilDate& today) {
    record_->Now = LocalDateTime{static_cast<int16_t>(today.Year), static_cast<int16_t>(today.Month),
                                 static_cast<int16_t>(today.Day), 12, 0};
}

bool ChartingSession::Chart(const PersonRecord& person, Fortunes fortunes) {
    if (!record_->SolarTerms || !ChartPerson(*record_, person, pillars_)) return false;
    ClearPeriod(*record_);
    if (fortunes == Fortunes::Computed) ComputeFortuneTables(*record_);
    return true;
}

bool ChartingSession::ChartOther(const PersonRecord& person, ChartRecord& out) const {
    out = *record_;
    PillarQuad pillars{};
    if (!out.SolarTerms || !ChartPerson(out, person, pillars)) return false;
    ClearPeriod(out);
    ComputeFortuneTables(out);
    return true;
}

bool ChartingSession::Rechart() {
    ChartRecord& rec = *record_;
    const int16_t kind = rec.ChartKind;
    const PeriodSelection chosen = rec.Period;
    if (!Chart(rec.Person)) return false;
    if (!IsPeriodKind(kind)) return true;
    rec.ChartKind = kind;
    rec.Period = chosen;
    if (kind == LuckKind)
        ChooseCell(rec, chosen.Cell, chosen.UpperHalf != 0);
    else
        RebuildFlow(rec);
    return true;
}

}  // namespace qv

#pragma once
// One charting session: what every program needs to chart a person, set up in
// the order the engine relies on. The record is the engine's one state; the
// solar-term and potential tables it points to live here as long as it does.
// Plain C++: the window programs and the command line all chart through it.
#include <memory>
#include <string>

#include "engine/calendar/calendar.h"
#include "engine/chart/chart_record.h"
#include "data_paths.h"
#include "engine/fortune/potential.h"
#include "potential_file.h"
#include "settings_file.h"
#include "engine/calendar/solar_terms.h"

namespace qv {

class ChartingSession {
public:
    ChartingSession();
    ~ChartingSession();
    ChartingSession(const ChartingSession&) = delete;
    ChartingSession& operator=(const ChartingSession&) = delete;

    // The solar-term table of the data folders wired into the record, then
    // today's date, read here once. Failed with the reason: nothing charts without the table.
    Result Open(const DataPaths& paths);
    // The potential table of that file wired into the record; a missing or
    // refused file leaves the table empty and says why.
    Result LoadPotentials(const std::string& path);
    // The charting options and parameters of a settings file.
    void ApplySettings(const ChartSettings& settings);

    // A program that stays open for days reads the clock again before it
    // charts or chooses a period; others keep the date read by Open.
    void RefreshToday();
    // A fixed "today" (reproducible pictures), at noon.
    void SetToday(const CivilDate& today);

    enum class Fortunes { Computed, Skipped };
    // Charts the person as the current chart: the natal chart on show, no
    // period chosen, and (unless skipped) the fortune tables. False when the
    // birth cannot be charted.
    bool Chart(const PersonRecord& person, Fortunes fortunes = Fortunes::Computed);
    // The current person charted again (new settings), keeping the chart kind
    // and the period chosen, which is evaluated anew. False when nothing is charted.
    bool Rechart();
    // Another person charted beside the current one (a comparison, a second
    // curve, days chosen for two) into `out`, with the fortune tables, on this
    // session's tables, options and today; the current chart is untouched.
    bool ChartOther(const PersonRecord& person, ChartRecord& out) const;

    ChartRecord& Record() { return *record_; }
    const ChartRecord& Record() const { return *record_; }
    // The pillars of the last person charted.
    const PillarQuad& Pillars() const { return pillars_; }
    PotentialTable& Potentials() { return *potentials_; }
    const PotentialTable& Potentials() const { return *potentials_; }
    const SolarTermTable& Terms() const { return *terms_; }

private:
    std::unique_ptr<ChartRecord> record_;
    std::unique_ptr<SolarTermTable> terms_;
    std::unique_ptr<PotentialTable> potentials_;
    PillarQuad pillars_{};
};

}  // namespace qv

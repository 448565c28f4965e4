#pragma once
// The flow-year chart program's start-up without its window: the data it
// reads (solar terms, potential table, its own settings), the checks on the
// window parameters, and the person of the command line charted by the engine.
#include <memory>
#include <string>

#include "engine/chart/chart_record.h"
#include "charting_session.h"
#include "command_line.h"
#include "data_paths.h"
#include "fortune_curve.h"
#include "engine/fortune/potential.h"
#include "settings_file.h"
#include "engine/calendar/solar_terms.h"

namespace qv::chartprog {

// Exit statuses of the program.
inline constexpr int ExitOk = 0;
inline constexpr int ExitNoData = 1;      // no solar-term table, or a picture that could not be written
inline constexpr int ExitBadRequest = 2;  // a wrong option, mode or category

inline constexpr const char* SettingsFileName = "Velmaro.INI";
inline constexpr const char* SettingsSectionName = "hrQuorvane";

bool IsChartMode(int mode);          // 0-3
bool IsChartCategory(int category);  // 1, 3, 4, 5, 6, 7, 8, 9, 14
// Done when the mode, category and sex can open a window; else the reason a
// user reads and a one-line technical detail.
Result RequestProblem(const ChartRequest& request);

// This program's defaults differ from the main program's in two keys.
ChartSettings ChartProgramDefaults();
std::string ChartProgramSettingsPath(const DataPaths& paths);

// The person the switches describe, with the double-hour number and the lunar date.
PersonRecord PersonOf(const ChartRequest& request);
// Whether the person's birth fields make a moment the engine can be asked about.
bool BirthFieldsSound(const PersonRecord& person);

class ChartSession {
public:
    // The solar-term table (failed with the reason when it cannot be had) and
    // the potential table (read-only; a missing or damaged one leaves it empty).
    Result LoadData(const std::string& dataDirOption);
    // Reads the settings and charts the person. False when the
    // birth could not be charted; the record then holds no person.
    bool Chart(const ChartRequest& request);

    ChartRecord& Record() { return charting_.Record(); }
    bool Charted() const { return charted_; }
    const DataPaths& Paths() const { return paths_; }
    // The period the window opens on: today's year and month, the ten-year
    // chart counted from today's year rather than by luck pillars.
    ui::FortunePeriod OpeningPeriod() const;

private:
    ChartingSession charting_;
    DataPaths paths_;
    bool charted_ = false;
};

}  // namespace qv::chartprog

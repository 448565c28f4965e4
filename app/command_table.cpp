#include "command_table.h"

#include <algorithm>

#include "quorvane_app.h"
#include "shell_texts.h"
#include "string_table.h"

namespace qv::ui {
namespace {

CommandState EnabledWhen(bool enabled) { return CommandState{enabled, false, {}}; }

CommandState BelowRecordLimit(const CQuorvaneApp& app) { return EnabledWhen(app.recordCount < NewPersonLimit); }
CommandState StoredPersonChosen(const CQuorvaneApp& app) { return EnabledWhen(app.currentRecordIndex >= 0); }
CommandState OtherFileOpen(const CQuorvaneApp& app) { return EnabledWhen(app.otherDatabaseActive); }
CommandState HourUnknownMark(const CQuorvaneApp& app) { return CommandState{true, app.hourUnknown, {}}; }
CommandState ChartOnShow(const CQuorvaneApp& app) { return EnabledWhen(app.chartShown); }
CommandState FlowYearToggle(const CQuorvaneApp& app) {
    return CommandState{app.chartShown, false, std::string(StringText(app.flowYearWindowOpen ? CloseFlowYearsText : ShowFlowYearsText))};
}

using App = CQuorvaneApp;

// Ascending by number. Commands of windows not built yet (the fortune curves
// and the potential window) have no entry and stay disabled.
constexpr CommandEntry Commands[] = {
    {ID_NEW_PERSON, &App::NewPerson, BelowRecordLimit},
    {ID_QUERY_PERSON, &App::QueryPerson, nullptr},
    {ID_MODIFY_PERSON, &App::ModifyPerson, StoredPersonChosen},
    {ID_CHARTING_PARAMETERS, &App::ChartingParameters, nullptr},
    {ID_FLOW_YEAR_WINDOW, &App::ToggleFlowYears, FlowYearToggle},
    {ID_INDEX_FORMULA, &App::IndexFormula, nullptr},
    {ID_SAVE_RECORDS_AS, &App::SaveRecordsAs, nullptr},
    {ID_OPEN_OTHER_RECORDS, &App::OpenOtherRecords, nullptr},
    {ID_MERGE_INTO_MAIN, &App::MergeIntoMain, nullptr},
    {ID_SWITCH_TO_MAIN, &App::SwitchToMain, OtherFileOpen},
    {ID_DELETE_PERSON, &App::DeletePerson, nullptr},
    {ID_HOUR_UNKNOWN, nullptr, HourUnknownMark},
    {ID_FILE_PRINT_SETUP, &App::PrintSetup, nullptr},
    {ID_FILE_PRINT, &App::Print, ChartOnShow},
    {ID_FILE_PRINT_PREVIEW, &App::PrintPreview, ChartOnShow},
    {ID_APP_ABOUT, &App::About, nullptr},
    {ID_APP_EXIT, &App::Exit, nullptr},
};

}  // namespace

std::span<const CommandEntry> AllCommands() { return Commands; }

const CommandEntry* FindCommand(int id) {
    const auto it = std::lower_bound(std::begin(Commands), std::end(Commands), id,
                                     [](const CommandEntry& e, int key) { return e.Id < key; });
    return it != std::end(Commands) && it->Id == id ? it : nullptr;
}

}  // namespace qv::ui

#include "command_table.h"

#include <algorithm>

#include "quorvane_app.h"
#include "engine/texts/text_ids.h"
#include "engine/texts/string_table.h"

namespace qv::ui {
namespace {

CommandState EnabledWhen(bool enabled) { return CommandState{enabled, false, {}}; }

// Greyed at the limit, the command says why.
CommandState BelowRecordLimit(const CQuorvaneApp& app) {
    const bool below = app.recordCount < NewPersonLimit;
    return CommandState{below, false, below ? NewPersonMenuText : std::string(StringText(RecordsFullText))};
}
// 修改 of a person whose store failed stores the person as new.
CommandState StoredPersonChosen(const CQuorvaneApp& app) {
    return EnabledWhen(app.currentRecordIndex >= 0 || (app.personUnsaved && app.chartShown));
}
CommandState OtherFileOpen(const CQuorvaneApp& app) { return EnabledWhen(app.otherDatabaseActive); }
CommandState HourUnknownMark(const CQuorvaneApp& app) { return CommandState{true, app.hourUnknown, {}}; }
CommandState CalendarMark(const CQuorvaneApp& app) { return CommandState{true, app.calendarWindowOpen, {}}; }
CommandState ChartOnShow(const CQuorvaneApp& app) { return EnabledWhen(app.chartShown); }
CommandState FlowYearToggle(const CQuorvaneApp& app) {
    return CommandState{app.chartShown, false, std::string(StringText(app.flowYearWindowOpen ? CloseFlowYearsText : ShowFlowYearsText))};
}

CommandState PotentialToggle(const CQuorvaneApp& app) {
    return CommandState{app.chartShown, false,
                        std::string(StringText(app.potentialWindowOpen ? ClosePotentialsText : ShowPotentialsText))};
}
CommandState PotentialWindowOpen(const CQuorvaneApp& app) { return EnabledWhen(app.potentialWindowOpen); }
CommandState EarlierCategory(const CQuorvaneApp& app) {
    return EnabledWhen(app.potentialWindowOpen && app.currentCategory > 0);
}
CommandState LaterCategory(const CQuorvaneApp& app) {
    return EnabledWhen(app.potentialWindowOpen && app.currentCategory < app.Potentials().CategoryCount - 1);
}

using App = CQuorvaneApp;

// Ascending by number. Each fortune-curve block has offsets 0-7 and 11. The
// seven style numbers share one entry; CQuorvaneApp::StateOf checks each on its style.
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
    {ID_POTENTIAL_PARAMETERS, &App::PotentialParameters, nullptr},
    {ID_POTENTIAL_WINDOW, &App::TogglePotentials, PotentialToggle},
    {ID_HOUR_UNKNOWN, &App::EnterWithoutHour, HourUnknownMark},
    {ID_PREVIOUS_CATEGORY, &App::PreviousCategory, EarlierCategory},
    {ID_NEXT_CATEGORY, &App::NextCategory, LaterCategory},
    {ID_POTENTIAL_STYLE_FIRST, &App::ChoosePotentialStyle, nullptr, ID_POTENTIAL_STYLE_LAST - ID_POTENTIAL_STYLE_FIRST + 1},
    {ID_FORTUNE_LIFETIME_BASE, &App::OpenFortuneCurve, ChartOnShow, 8},
    {ID_FORTUNE_LIFETIME_BASE + 11, &App::OpenFortuneCurve, ChartOnShow},
    {ID_FORTUNE_LUCK_BASE, &App::OpenFortuneCurve, ChartOnShow, 8},
    {ID_FORTUNE_LUCK_BASE + 11, &App::OpenFortuneCurve, ChartOnShow},
    {ID_FORTUNE_TEN_YEAR_BASE, &App::OpenFortuneCurve, ChartOnShow, 8},
    {ID_FORTUNE_TEN_YEAR_BASE + 11, &App::OpenFortuneCurve, ChartOnShow},
    {ID_FORTUNE_MONTH_BASE, &App::OpenFortuneCurve, ChartOnShow, 8},
    {ID_FORTUNE_MONTH_BASE + 11, &App::OpenFortuneCurve, ChartOnShow},
    {ID_FORTUNE_DAY_BASE, &App::OpenFortuneCurve, ChartOnShow, 8},
    {ID_FORTUNE_DAY_BASE + 11, &App::OpenFortuneCurve, ChartOnShow},
    {ID_PRINT_POTENTIALS, &App::PrintPotentials, PotentialWindowOpen},
    {ID_CALENDAR_WINDOW, &App::ToggleCalendar, CalendarMark},
    {ID_PILLAR_SEARCH, &App::FindByPillars, nullptr},
    {ID_EXPORT_PICTURE, &App::ExportPicture, ChartOnShow},
    {ID_COMPARISON_WINDOW, &App::OpenComparison, nullptr},
    {ID_BEST_DAYS_WINDOW, &App::OpenBestDays, nullptr},
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
                                     [](const CommandEntry& e, int key) { return e.Id + e.Count - 1 < key; });
    return it != std::end(Commands) && it->Id <= id ? it : nullptr;
}

std::optional<FortuneCurveCommand> FortuneCommandOf(int id) {
    const int block = (id - ID_FORTUNE_LIFETIME_BASE) / FortuneBlockSize;
    const int offset = (id - ID_FORTUNE_LIFETIME_BASE) % FortuneBlockSize;
    if (id < ID_FORTUNE_LIFETIME_BASE || block > 4 || offset >= int(std::size(FortuneOffsetCategories)) ||
        FortuneOffsetCategories[offset] == 0)
        return std::nullopt;
    return FortuneCurveCommand{block == 0 ? 0 : block - 1, FortuneOffsetCategories[offset], block == 0};
}

}  // namespace qv::ui

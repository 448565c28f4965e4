#pragma once
// The application object: the one chart record, the shell state, the start-up
// and recomputation order and the command handlers. Plain C++ without Qt, so a
// test drives it with a stand-in for the windows.
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "birth_candidates.h"
#include "engine/chart/chart_record.h"
#include "charting_session.h"
#include "clock_note.h"
#include "command_table.h"
#include "data_paths.h"
#include "potential_file.h"
#include "records_file.h"
#include "fortune_curve.h"
#include "settings_file.h"

namespace qv::ui {

inline constexpr int NewPersonLimit = static_cast<int>(MaxPersons);  // "新增個人資料..." stops there

// Dialog templates, by the numbers the commands use.
enum DialogTemplate : int {
    NewPersonDialog = 6005,
    QueryPersonDialog = 6007,
    PickPersonDialog = 6009,
    ModifyPersonDialog = 6010,
    ChartingParametersDialog = 6016,
    DeletePersonDialog = 6018,
    PickDeleteDialog = 6019,
    IndexFormulaDialog = 6021,
};

struct SettingValue {
    SettingKey Key;
    int16_t Value;
};
using SettingValues = std::vector<SettingValue>;

// What the shell needs from the window layer. Each dialog returns false when cancelled.
class ShellWindows {
public:
    virtual ~ShellWindows() = default;
    // 6005 / 6010: person holds the starting values; on OK the complete record
    // and how its birth clock time was read.
    virtual bool RunPersonDialog(int templateId, PersonRecord& person, ClockNote& note) = 0;
    // 6007 / 6018 on the open records file: the number of the record chosen.
    virtual std::optional<int> RunQueryDialog(int templateId, const std::string& recordsPath) = 0;
    // 6016 / 6021: the values the dialog confirmed (and wrote to the settings file).
    virtual bool RunSettingsDialog(int templateId, SettingValues& confirmed) = 0;
    // A records file to open (it must exist) or to save to; nothing when cancelled.
    virtual std::optional<std::string> ChooseRecordsFile(bool forSaving) = 0;
    // The logo for that many seconds (0: until a click or key); returns when it is gone.
    virtual void ShowLogo(int seconds) = 0;
    virtual void RepaintChart() = 0;
    // The chart on the printer (after the print dialog), or in the print preview.
    virtual void PrintChart(bool preview) = 0;
    virtual void PrintSetup() = 0;
    // The chart as shown saved as a picture (after asking where); nothing by default.
    virtual void ExportChart() {}
    // Opens or closes the flow-year window; repaints it when the chart changed.
    virtual void ShowFlowYears(bool show) = 0;
    virtual void RepaintFlowYears() = 0;
    virtual void CloseMainWindow() = 0;
    // The fortune-curve window, modal, on the period; returns when it is closed.
    virtual void ShowFortuneCurve(const FortuneCurveCommand& command, const FortunePeriod& period) = 0;
    // 6022 then 6024 on the potential table: true when the definitions were saved.
    virtual bool RunPotentialDialogs() = 0;
    // Opens or closes the potential window; re-lays it out after a category or
    // style change; repaints it after a new chart or period.
    virtual void ShowPotentials(bool show) = 0;
    virtual void RelayoutPotentials() = 0;
    virtual void RepaintPotentials() = 0;
    // The potential window's picture on the printer, after the print dialog.
    virtual void PrintPotentials() = 0;
    // Opens or closes the perpetual calendar.
    virtual void ShowCalendar(bool /*show*/) {}
    // Opens (or brings forward) the 八字反查 window.
    virtual void ShowPillarSearch() {}
    // Opens the comparison (命盤對照) and the day-choosing (擇日) windows.
    virtual void ShowComparison() {}
    virtual void ShowBestDays() {}
};

// Start-up choices from the command line.
struct StartOptions {
    std::string DataDir;  // empty: QUORVANE_DATA_DIR or the default root
    bool ShowLogo = true;
    bool Help = false;
};

// "--no-logo", "--data-dir DIR" (or "--data-dir=DIR"), "--help"; false with the
// reason for anything else.
bool ParseStartOptions(const std::vector<std::string>& args, StartOptions& options, std::string& error);
// The program's own arguments: argv without the program name and without the
// options Qt takes for itself when the application object is made, so that
// ours are checked before any window system is needed.
std::vector<std::string> OwnArguments(int argc, char** argv);
inline constexpr const char* StartUsage = "usage: Quorvane [--data-dir DIR] [--no-logo]";

class CQuorvaneApp {
public:
    CQuorvaneApp();
    ~CQuorvaneApp();
    CQuorvaneApp(const CQuorvaneApp&) = delete;
    CQuorvaneApp& operator=(const CQuorvaneApp&) = delete;

    // Start-up up to the main window: failed with the reason when the program cannot run.
    Result Initialize(const StartOptions& options);
    void AttachWindows(ShellWindows* windows) { windows_ = windows; }
    // The handler of the start-up message: the logo, then the query or new-person dialog.
    void OnStartup(bool showLogo);
    // Writes the potential style back; run once when the program ends.
    void Shutdown();

    // Runs a command when its rule enables it; false when it did not run.
    bool Execute(int commandId);
    CommandState StateOf(int commandId) const;

    // The shell state.
    bool chartShown = false;
    int16_t currentRecordIndex = -1;
    bool personUnsaved = false;  // the person on show failed to be stored
    bool otherDatabaseActive = false;
    bool calendarWindowOpen = false;
    std::string otherDatabasePath;
    bool flowYearWindowOpen = false;
    bool potentialWindowOpen = false;
    int16_t potentialStyle = 1;
    int16_t currentCategory = 0;
    int16_t recordCount = 0;
    bool hourUnknown = false;

    ChartRecord& Record() { return session_.Record(); }
    const ChartRecord& Record() const { return session_.Record(); }
    // How this program charts: the record, its tables and today's date.
    ChartingSession& Session() { return session_; }
    const ChartSettings& Settings() const { return settings_; }
    // The correction the current person's birth was entered with in this run.
    const ClockNote& CurrentClockNote() const { return clockNote_; }
    // The potential definitions the charts are rated by, and what loading them found.
    PotentialTable& Potentials() { return session_.Potentials(); }
    const PotentialTable& Potentials() const { return session_.Potentials(); }
    const Result& PotentialLoad() const { return potentialLoad_; }
    const DataPaths& Paths() const { return paths_; }
    const std::string& SettingsFilePath() const { return settingsPath_; }
    std::string MainRecordsFile() const { return MainRecordsPath(paths_); }
    // The records file the person commands work on.
    std::string OpenRecordsFile() const;
    // The main window's caption: the product and the records file open.
    std::string Caption() const;
    // 0 when the birth can be charted, else the string-table text that says why not.
    int WhyNotChartable(const PersonRecord& person) const;
    // 時辰不確定: the distinct charts of the birth clock's [first, last],
    // charted in a session of their own so the chart on show stays; false
    // when the span cannot be charted.
    bool ListCandidates(const BirthClock& clock, int sex, const Moment& first, const Moment& last,
                        std::vector<CandidateChart>& out);
    // The period the fortune-curve windows open on, the chart view's: in 十年盤
    // the chosen luck pillar (the ten-year chart paging by luck pillar) and its
    // first year; in 流年盤 the chosen year; in 本命盤 today, the ten-year chart
    // counted from this year and paging by ten years.
    FortunePeriod OpeningPeriod() const;

    // The new-person command with the dialog starting on that date (the
    // perpetual calendar's day); the date and time it starts on otherwise.
    void NewPersonOn(const CivilDate& date);
    // The same on a moment, with a note the dialog shows (where it was found).
    void NewPersonAt(const Moment& moment, const std::string& note);
    LocalDateTime NewPersonStart() const;
    const std::string& NewPersonNote() const { return newPersonNote_; }

    // A person of the open records file (the query dialog) charted beside the
    // current one with the fortune tables; false when cancelled or the birth
    // cannot be charted (after saying why). The current chart stays as it is.
    bool ChartOtherPerson(ChartRecord& out);
    // The current person, when one is on show, as a record of its own.
    bool CopyCurrent(ChartRecord& out) const;

    // The flow-year window went away by its own close box.
    void FlowYearWindowClosed() { flowYearWindowOpen = false; }
    void PotentialWindowClosed() { potentialWindowOpen = false; }
    // The chart view chose another period: the potential window's comparison follows.
    void PeriodChanged();
    // The style a style command sets (32791 → 1 … 32794 → 7), or -1.
    static int StyleOfCommand(int commandId);

    // Command handlers (the table in command_table.cpp names them).
    void NewPerson();
    void QueryPerson();
    void ModifyPerson();
    void DeletePerson();
    void OpenOtherRecords();
    void SaveRecordsAs();
    void MergeIntoMain();
    void SwitchToMain();
    void ChartingParameters();
    void IndexFormula();
    void Print();
    void PrintPreview();
    void PrintSetup();
    void ExportPicture();
    void ToggleFlowYears();
    void OpenFortuneCurve();  // any of the fortune-curve numbers, by the one running
    void PotentialParameters();
    void TogglePotentials();
    void PreviousCategory();
    void NextCategory();
    void ChoosePotentialStyle();  // any of the style numbers, by the one running
    void PrintPotentials();
    void ToggleCalendar();
    void FindByPillars();
    void EnterWithoutHour();
    void OpenComparison();
    void OpenBestDays();
    void CalendarWindowClosed() { calendarWindowOpen = false; }
    void About();
    void Exit();

private:
    // The records file the user picks to open or merge; nothing (after saying why) when it is not one.
    std::optional<std::string> ChooseOtherRecordsFile();
    void ApplySettings();
    void ResetShellState();
    void DropCurrentPerson();
    void Repaint();
    // Charts the person as the current one; false (chart unchanged) when the moment cannot be converted.
    bool ChartAsCurrent(const PersonRecord& person);
    // The windows after a new chart of the current person.
    void ShowCharted();
    void RecomputeCurrent();
    bool RunPersonCommand(int templateId, PersonRecord& person);
    void StoreCurrent(const PersonRecord& person, int number);
    bool TakeSettings(int templateId);
    void RefreshRecordCount();
    void ShowCategory(int category);

    ChartingSession session_;
    std::unique_ptr<ChartingSession> candidateSession_;  // opened when first asked for
    Result potentialLoad_;
    ChartSettings settings_{};
    DataPaths paths_;
    std::string settingsPath_;
    ShellWindows* windows_ = nullptr;
    int runningCommand_ = 0;
    ClockNote clockNote_;
    bool newPersonHourUnknown_ = false;
    std::optional<CivilDate> newPersonDate_;
    std::optional<Moment> newPersonMoment_;
    std::string newPersonNote_;
    // The current person's bytes as the records file held them when it was
    // read or stored: what a later 修改 or 刪除 checks the file against.
    PersonRecord storedPerson_{};
};

}  // namespace qv::ui

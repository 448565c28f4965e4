#include "quorvane_app.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "engine/calendar/calendar.h"
#include "engine/chart/chart_compute.h"
#include "chart_period.h"
#include "engine/fortune/fortune.h"
#include "person_entry.h"
#include "person_text.h"
#include "records_file.h"
#include "engine/texts/text_ids.h"
#include "show_message.h"
#include "engine/texts/string_table.h"

namespace qv::ui {
namespace {

// Tells the user when a change to a records file failed, and why.
bool Succeeded(const RecordsResult& result, int fallbackText) {
    if (result.Ok) return true;
    const int text = result.MessageId ? result.MessageId : fallbackText;
    if (result.Reason) {
        ShowMessageWith(text, result.ReasonText());
    } else {
        ShowMessage(text);
    }
    return false;
}


// "王小明\n國曆1980年5月5日 5時05分": who is about to go, so the right one goes.
std::string PersonAndBirth(const PersonRecord& person) {
    PersonTexts texts;
    std::string name = LoadPersonTexts(person, texts).Ok && !texts.Name.empty() ? texts.Name
                                                                               : std::string(StringText(NamelessText));
    char birth[64];
    std::snprintf(birth, sizeof birth, "國曆%d年%d月%d日", person.year, person.month, person.day);
    std::string text = name + "\n" + birth;
    if (person.hour == HourUnknown) return text + " 不知道時間";
    std::snprintf(birth, sizeof birth, " %d時%02d分", person.hour, person.minute);
    return text + birth;
}

// How the person's birth was entered, as the remarks keep it.
ClockNote EnteredClock(const PersonRecord& person) {
    PersonTexts texts;
    return LoadPersonTexts(person, texts).Ok ? ClockNoteInRemarks(texts.Remarks) : ClockNote{};
}

}  // namespace

bool ParseStartOptions(const std::vector<std::string>& args, StartOptions& options, std::string& error) {
    const std::string dataDirPrefix = "--data-dir=";
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--no-logo") {
            options.ShowLogo = false;
        } else if (a == "--help" || a == "-h") {
            options.Help = true;
        } else if (a == "--data-dir" && i + 1 < args.size()) {
            options.DataDir = args[++i];
        } else if (a.starts_with(dataDirPrefix) && a.size() > dataDirPrefix.size()) {
            options.DataDir = a.substr(dataDirPrefix.size());
        } else {
            error = a == "--data-dir" ? "--data-dir needs a folder" : "unknown argument " + a;
            return false;
        }
    }
    return true;
}

std::vector<std::string> OwnArguments(int argc, char** argv) {
    // Qt's options, with one dash or two, and "=value" or a following value.
    static constexpr std::string_view qtValued[] = {"platform", "platformpluginpath", "platformtheme", "plugin",
                                                    "qwindowgeometry", "qwindowicon", "qwindowtitle", "display",
                                                    "geometry", "title", "icon", "style", "stylesheet", "session",
                                                    "name", "qmljsdebugger"};
    static constexpr std::string_view qtFlags[] = {"reverse", "widgetcount", "nograb", "dograb", "sync", "testability"};
    auto is = [](const auto& names, std::string_view n) { return std::ranges::find(names, n) != std::end(names); };
    std::vector<std::string> own;
    for (int i = 1; i < argc; ++i) {
        std::string_view a = argv[i];
        if (!a.starts_with('-')) {
            own.emplace_back(a);
            continue;
        }
        std::string_view name = a.substr(a.starts_with("--") ? 2 : 1);
        const size_t eq = name.find('=');
        const bool hasValue = eq != std::string_view::npos;
        name = name.substr(0, eq);
        if (is(qtFlags, name) || (hasValue && is(qtValued, name))) continue;
        if (is(qtValued, name) && i + 1 < argc) {
            ++i;
            continue;
        }
        own.emplace_back(a);
    }
    return own;
}

CQuorvaneApp::CQuorvaneApp() = default;

CQuorvaneApp::~CQuorvaneApp() = default;

Result CQuorvaneApp::Initialize(const StartOptions& options) {
    paths_ = ResolveDataPaths(options.DataDir);
    if (Result opened = session_.Open(paths_); !opened.Ok) return opened;
    // A missing or refused table leaves the empty one; a refused file stays as it is until new definitions are saved.
    potentialLoad_ = session_.LoadPotentials(PotentialTablePath(paths_));
    settingsPath_ = SettingsPath(paths_);
    RefreshRecordCount();
    hourUnknown = false;
    settings_ = ReadChartSettings(settingsPath_);
    potentialStyle = settings_.PotentialStyle;
    ApplySettings();
    ResetShellState();
    return Result::Done();
}

void CQuorvaneApp::OnStartup(bool showLogo) {
    if (showLogo) windows_->ShowLogo(5);
    // The reason in the user's words, then the file it concerns.
    if (!potentialLoad_.Ok)
        ShowMessageWith(PotentialTableRefusedText,
                        std::string(potentialLoad_.ReasonText()) + "\n" + PotentialTablePath(paths_));
    Execute(ReadCount(OpenRecordsFile()) >= 1 ? ID_QUERY_PERSON : ID_NEW_PERSON);
}

void CQuorvaneApp::Shutdown() {
    WriteSetting(settingsPath_, SettingKey::ENGYDISPLAY, potentialStyle);
}

bool CQuorvaneApp::Execute(int commandId) {
    const CommandEntry* entry = FindCommand(commandId);
    if (!entry || !entry->Handler || !StateOf(commandId).Enabled) return false;
    runningCommand_ = commandId;
    (this->*entry->Handler)();
    return true;
}

CommandState CQuorvaneApp::StateOf(int commandId) const {
    const CommandEntry* entry = FindCommand(commandId);
    if (!entry) return CommandState{};
    // The style entry spans seven numbers: each is checked on its own style.
    if (const int style = StyleOfCommand(commandId); style >= 0)
        return CommandState{Potentials().TableReady, style == potentialStyle, {}};
    return entry->State ? entry->State(*this) : CommandState{entry->Handler != nullptr, false, {}};
}

std::string CQuorvaneApp::OpenRecordsFile() const {
    return otherDatabaseActive ? otherDatabasePath : MainRecordsFile();
}

std::string CQuorvaneApp::Caption() const {
    return std::string(StringText(ProductTitleText)) + " - " +
           std::filesystem::path(OpenRecordsFile()).filename().string() +
           (personUnsaved ? std::string(StringText(UnsavedPersonText)) : std::string());
}

bool CQuorvaneApp::ListCandidates(const BirthClock& clock, int sex, const Moment& first, const Moment& last,
                                  std::vector<CandidateChart>& out) {
    out.clear();
    if (!candidateSession_) {
        auto session = std::make_unique<ChartingSession>();
        if (!session->Open(paths_).Ok) return false;
        candidateSession_ = std::move(session);
    }
    candidateSession_->ApplySettings(settings_);
    const std::vector<BirthCandidate> candidates = ListBirthCandidates(
        candidateSession_->Terms(), clock, PillarRatHourRule(candidateSession_->Record().Options), first, last);
    return !candidates.empty() && ChartCandidates(*candidateSession_, candidates, sex, out);
}

int CQuorvaneApp::WhyNotChartable(const PersonRecord& person) const {
    if (const Result sound = CheckBirthFields(person); !sound.Ok) return sound.Reason;
    // The chart shows the lunar birth date: a birth the lunar calendar cannot
    // date (another records file may hold one before lunar 1900) is refused
    // as the person dialog refuses it.
    LunarDate lunar{};
    if (!SolarToLunar(CivilDate{person.year, person.month, person.day}, lunar)) return DateNotInCalendarText;
    PillarQuad pillars{};
    const bool placed = MomentToPillars(session_.Terms(), Record().Options.FirstTimeBase, BirthMoment(person), pillars);
    return placed ? 0 : MomentNotChartableText;
}

// ---- the person commands ----

void CQuorvaneApp::NewPerson() {
    PersonRecord person{};
    if (RunPersonCommand(NewPersonDialog, person)) StoreCurrent(person, -1);
}

void CQuorvaneApp::NewPersonOn(const CivilDate& date) {
    newPersonDate_ = date;
    Execute(ID_NEW_PERSON);
    newPersonDate_.reset();
}

// The current person's hour made unknown (or known again) in the modify
// dialog; without a stored person, a new one entered without the hour.
void CQuorvaneApp::EnterWithoutHour() {
    if (currentRecordIndex < 0) {
        newPersonHourUnknown_ = true;
        NewPerson();
        newPersonHourUnknown_ = false;
        return;
    }
    PersonRecord person = Record().Person;
    person.hour = hourUnknown ? 12 : HourUnknown;
    if (hourUnknown) person.minute = 0;
    if (RunPersonCommand(ModifyPersonDialog, person)) StoreCurrent(person, currentRecordIndex);
}

void CQuorvaneApp::NewPersonAt(const Moment& moment, const std::string& note) {
    newPersonMoment_ = moment;
    newPersonNote_ = note;
    Execute(ID_NEW_PERSON);
    newPersonMoment_.reset();
    newPersonNote_.clear();
}

void CQuorvaneApp::FindByPillars() {
    if (windows_) windows_->ShowPillarSearch();
}

LocalDateTime CQuorvaneApp::NewPersonStart() const {
    LocalDateTime start = Record().Now;
    if (newPersonHourUnknown_) start.Hour = HourUnknown;
    if (const std::optional<Moment>& m = newPersonMoment_) {
        start.Year = static_cast<int16_t>(m->Year), start.Month = static_cast<int16_t>(m->Month);
        start.Day = static_cast<int16_t>(m->Day), start.Hour = static_cast<int16_t>(m->Hour);
        start.Minute = static_cast<int16_t>(m->Minute);
    }
    if (newPersonDate_) {
        start.Year = static_cast<int16_t>(newPersonDate_->Year);
        start.Month = static_cast<int16_t>(newPersonDate_->Month);
        start.Day = static_cast<int16_t>(newPersonDate_->Day);
    }
    return start;
}

void CQuorvaneApp::ModifyPerson() {
    PersonRecord person = Record().Person;
    if (RunPersonCommand(ModifyPersonDialog, person)) StoreCurrent(person, currentRecordIndex);
}

void CQuorvaneApp::QueryPerson() {
    const std::optional<int> chosen = windows_->RunQueryDialog(QueryPersonDialog, OpenRecordsFile());
    PersonRecord person{};
    if (!chosen || !ReadRecord(OpenRecordsFile(), *chosen, person)) return;
    if (const int why = WhyNotChartable(person); why != 0) {
        ShowMessage(why);
        return;
    }
    if (!ChartAsCurrent(person)) return;
    currentRecordIndex = static_cast<int16_t>(*chosen);
    personUnsaved = false;
    storedPerson_ = person;
}

bool CQuorvaneApp::ChartOtherPerson(ChartRecord& out) {
    const std::optional<int> chosen = windows_->RunQueryDialog(QueryPersonDialog, OpenRecordsFile());
    PersonRecord person{};
    if (!chosen || !ReadRecord(OpenRecordsFile(), *chosen, person)) return false;
    if (const int why = WhyNotChartable(person); why != 0) {
        ShowMessage(why);
        return false;
    }
    return session_.ChartOther(person, out);
}

bool CQuorvaneApp::CopyCurrent(ChartRecord& out) const {
    if (!chartShown) return false;
    out = Record();
    return true;
}

void CQuorvaneApp::OpenComparison() { windows_->ShowComparison(); }
void CQuorvaneApp::OpenBestDays() { windows_->ShowBestDays(); }

void CQuorvaneApp::DeletePerson() {
    const std::optional<int> chosen = windows_->RunQueryDialog(DeletePersonDialog, OpenRecordsFile());
    if (!chosen) return;
    PersonRecord chosenPerson{};
    if (!ReadRecord(OpenRecordsFile(), *chosen, chosenPerson)) {
        ShowMessageWith(CannotDeleteRecordText, StringText(PersonGoneText));
        return;
    }
    if (!AskYesNo(ConfirmDeleteText, PersonAndBirth(chosenPerson))) return;
    const RecordsResult result = qv::DeletePerson(OpenRecordsFile(), chosenPerson, *chosen);
    if (!Succeeded(result, CannotDeleteRecordText)) return;
    recordCount = static_cast<int16_t>(result.Count);
    if (currentRecordIndex < 0) return;
    // Another program may have moved the current person meanwhile: it is found by its bytes.
    const int hint = currentRecordIndex - (result.Number < currentRecordIndex ? 1 : 0);
    currentRecordIndex =
        static_cast<int16_t>(LocatePerson(ReadRecordsFile(OpenRecordsFile()).Records, storedPerson_, hint));
    if (currentRecordIndex == -1) {
        DropCurrentPerson();
        Repaint();
    }
}

bool CQuorvaneApp::RunPersonCommand(int templateId, PersonRecord& person) {
    ClockNote note;
    return windows_->RunPersonDialog(templateId, person, note) && ChartAsCurrent(person);
}

void CQuorvaneApp::StoreCurrent(const PersonRecord& person, int number) {
    const RecordsResult result = number < 0 ? StoreRecord(OpenRecordsFile(), person, -1)
                                            : ReplacePerson(OpenRecordsFile(), storedPerson_, number, person);
    // The person on show is not what any record holds: no number may lead a
    // later 修改 to someone else, which then stores the person as new.
    personUnsaved = !Succeeded(result, CannotOpenRecordsText);
    if (personUnsaved) {
        currentRecordIndex = -1;
        return;
    }
    currentRecordIndex = static_cast<int16_t>(result.Number);
    storedPerson_ = person;
    recordCount = static_cast<int16_t>(result.Count);
}

bool CQuorvaneApp::ChartAsCurrent(const PersonRecord& person) {
    if (!session_.Chart(person)) return false;
    session_.RefreshToday();
    ShowCharted();
    return true;
}

void CQuorvaneApp::ShowCharted() {
    clockNote_ = EnteredClock(Record().Person);
    hourUnknown = Record().Person.hour == HourUnknown;
    chartShown = true;
    Repaint();
    if (flowYearWindowOpen) windows_->RepaintFlowYears();
    if (potentialWindowOpen) windows_->RepaintPotentials();
}

// New settings chart the person again; the view keeps its kind and selected
// cell, and the period on show is evaluated anew.
void CQuorvaneApp::RecomputeCurrent() {
    if (chartShown && session_.Rechart()) {
        session_.RefreshToday();
        ShowCharted();
        if (IsPeriodKind(Record().ChartKind)) PeriodChanged();
    }
    Repaint();
}

// ---- the records files ----

// Any other file is refused before it becomes the open one: a stray picture
// or text would otherwise show garbled names, and its first change would
// rewrite it as records.
std::optional<std::string> CQuorvaneApp::ChooseOtherRecordsFile() {
    const std::optional<std::string> path = windows_->ChooseRecordsFile(false);
    if (!path) return std::nullopt;
    if (CheckRecordsFile(*path).Ok) return path;
    ShowMessageWith(NotRecordsFileText, *path);
    return std::nullopt;
}

void CQuorvaneApp::OpenOtherRecords() {
    DropCurrentPerson();
    if (const std::optional<std::string> path = ChooseOtherRecordsFile()) {
        otherDatabasePath = *path;
        otherDatabaseActive = true;
        RefreshRecordCount();
    }
    Repaint();
}

void CQuorvaneApp::SaveRecordsAs() {
    const std::optional<std::string> target = windows_->ChooseRecordsFile(true);
    if (!target) return;
    Succeeded(SaveCopyAs(OpenRecordsFile(), *target), CannotOpenRecordsText);
}

void CQuorvaneApp::MergeIntoMain() {
    if (!otherDatabaseActive) {
        const std::optional<std::string> path = ChooseOtherRecordsFile();
        if (!path) return;
        otherDatabasePath = *path;
    }
    const RecordsResult result = qv::MergeIntoMain(MainRecordsFile(), otherDatabasePath);
    if (!Succeeded(result, CannotMergeRecordsText)) return;
    RefreshRecordCount();
    ShowMessageWith(MergedText, std::to_string(result.Number));
}

void CQuorvaneApp::SwitchToMain() {
    otherDatabaseActive = false;
    DropCurrentPerson();
    RefreshRecordCount();
    Repaint();
}

// ---- settings ----

void CQuorvaneApp::ChartingParameters() {
    if (TakeSettings(ChartingParametersDialog)) RecomputeCurrent();
}

void CQuorvaneApp::IndexFormula() {
    if (TakeSettings(IndexFormulaDialog)) RecomputeCurrent();
}

bool CQuorvaneApp::TakeSettings(int templateId) {
    SettingValues confirmed;
    if (!windows_->RunSettingsDialog(templateId, confirmed)) return false;
    for (const SettingValue& v : confirmed) InfoOf(v.Key).Field(settings_) = v.Value;
    ApplySettings();
    return true;
}

void CQuorvaneApp::ApplySettings() {
    session_.ApplySettings(settings_);
}

// ---- printing and the flow-year window ----

void CQuorvaneApp::Print() { windows_->PrintChart(false); }

void CQuorvaneApp::PrintPreview() { windows_->PrintChart(true); }

void CQuorvaneApp::PrintSetup() { windows_->PrintSetup(); }

void CQuorvaneApp::ExportPicture() { windows_->ExportChart(); }

void CQuorvaneApp::ToggleFlowYears() {
    flowYearWindowOpen = !flowYearWindowOpen;
    windows_->ShowFlowYears(flowYearWindowOpen);
}

// ---- the potential window ----

void CQuorvaneApp::PotentialParameters() {
    if (!windows_->RunPotentialDialogs()) return;
    if (chartShown) {
        ComputePotentials(Record(), NatalPotentials);
        ComputePotentials(Record(), TransformedPotentials);
        if (Record().ChartKind != 0) ComputePotentials(Record(), FlowPotentials);
    }
    if (currentCategory >= std::max<int>(1, Potentials().CategoryCount)) currentCategory = 0;
    if (potentialWindowOpen) windows_->RelayoutPotentials();
}

void CQuorvaneApp::TogglePotentials() {
    potentialWindowOpen = !potentialWindowOpen;
    windows_->ShowPotentials(potentialWindowOpen);
}

void CQuorvaneApp::PreviousCategory() { ShowCategory(currentCategory - 1); }

void CQuorvaneApp::NextCategory() { ShowCategory(currentCategory + 1); }

void CQuorvaneApp::ShowCategory(int category) {
    currentCategory = static_cast<int16_t>(category);
    windows_->RelayoutPotentials();
}

int CQuorvaneApp::StyleOfCommand(int commandId) {
    // The numbers are not in style order: 32794 is the radial chart, 32798 the bar bands.
    constexpr int styles[] = {1, 2, 3, 7, 5, 4, 6, 0};
    const int at = commandId - ID_POTENTIAL_STYLE_FIRST;
    return at >= 0 && at < int(std::size(styles)) ? styles[at] : -1;
}

void CQuorvaneApp::ChoosePotentialStyle() {
    const int style = StyleOfCommand(runningCommand_);
    if (style < 0 || style == potentialStyle) return;
    potentialStyle = static_cast<int16_t>(style);
    if (potentialWindowOpen) windows_->RelayoutPotentials();
}

void CQuorvaneApp::PrintPotentials() { windows_->PrintPotentials(); }

void CQuorvaneApp::PeriodChanged() {
    if (potentialWindowOpen && windows_) windows_->RepaintPotentials();
}

// ---- the fortune curves ----

void CQuorvaneApp::OpenFortuneCurve() {
    if (const std::optional<FortuneCurveCommand> command = FortuneCommandOf(runningCommand_))
        windows_->ShowFortuneCurve(*command, OpeningPeriod());
}

FortunePeriod CQuorvaneApp::OpeningPeriod() const {
    const ChartRecord& rec = Record();
    const PeriodSelection& chosen = rec.Period;
    FortunePeriod period = PeriodInForce(rec, rec.Now.Year, rec.Now.Month);
    period.LuckView = false;
    // A chosen period's year: its months, and the days of today's month when it
    // is this year, else of its first month.
    auto openOn = [&](int year) {
        period.Year = year;
        period.Month = year == rec.Now.Year ? std::clamp<int>(rec.Now.Month, 1, 12) : 1;
    };
    if (rec.ChartKind == LuckKind && chosen.Cell >= 0) {
        period.LuckView = true;
        period.Luck = chosen.Cell;
        openOn(YearOfAge(rec, chosen.Age));
    } else if (rec.ChartKind == YearKind && chosen.LunarYear != 0) {
        openOn(chosen.LunarYear);
    }
    return period;
}

// ---- the rest ----

void CQuorvaneApp::ToggleCalendar() {
    calendarWindowOpen = !calendarWindowOpen;
    windows_->ShowCalendar(calendarWindowOpen);
}

void CQuorvaneApp::About() { windows_->ShowLogo(0); }

void CQuorvaneApp::Exit() { windows_->CloseMainWindow(); }

void CQuorvaneApp::ResetShellState() {
    DropCurrentPerson();
    otherDatabaseActive = false;
    flowYearWindowOpen = false;
    potentialWindowOpen = false;
}

void CQuorvaneApp::DropCurrentPerson() {
    currentRecordIndex = -1;
    personUnsaved = false;
    chartShown = false;
    clockNote_ = {};
    ClearPeriod(Record());
    // Without a chart the strip would show a person no longer there.
    if (flowYearWindowOpen && windows_) {
        flowYearWindowOpen = false;
        windows_->ShowFlowYears(false);
    }
    if (potentialWindowOpen && windows_) {
        potentialWindowOpen = false;
        windows_->ShowPotentials(false);
    }
}

void CQuorvaneApp::Repaint() {
    if (windows_) windows_->RepaintChart();
}

void CQuorvaneApp::RefreshRecordCount() { recordCount = static_cast<int16_t>(ReadCount(OpenRecordsFile())); }

}  // namespace qv::ui

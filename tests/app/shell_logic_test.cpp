// The shell without windows: start-up, the command table's rules, the order of
// the person commands and what they leave in the records file.
#include <fstream>
#include <tuple>

#include "engine/calendar/calendar.h"
#include "engine/chart/chart_compute.h"
#include "quorvane_app.h"
#include "shell_fixture.h"
#include "engine/texts/string_table.h"

namespace qv::test {
namespace {

using namespace qv::ui;

// The first of the answers given in turn, if any is left.
template <class T>
std::optional<T> Next(std::vector<T>& answers) {
    if (answers.empty()) return std::nullopt;
    T first = std::move(answers.front());
    answers.erase(answers.begin());
    return first;
}

// Answers the shell's questions from a script and records what was asked.
struct ScriptedWindows : ShellWindows {
    std::vector<int> Dialogs;
    std::vector<PersonRecord> People;           // answers of the person dialogs, in turn
    std::vector<ClockNote> Notes;               // and how their birth clocks were read
    std::vector<std::optional<int>> Choices;   // answers of the query dialogs, in turn
    std::vector<std::optional<std::string>> Files;
    SettingValues Settings;
    bool SettingsOk = true;
    int Logos = 0, Repaints = 0, FlowYearRepaints = 0;
    std::vector<std::string> Printing;  // "print", "preview", "setup"
    std::vector<bool> FlowYears;        // each open (true) or close (false) asked for
    std::vector<FortuneCurveCommand> Curves;
    std::vector<FortunePeriod> Periods;

    bool RunPersonDialog(int templateId, PersonRecord& person, ClockNote& note) override {
        Dialogs.push_back(templateId);
        const std::optional<PersonRecord> answer = Next(People);
        if (!answer) return false;
        person = *answer;
        if (const std::optional<ClockNote> given = Next(Notes)) {
            // As the dialog does: the record keeps how its birth was entered.
            note = *given;
            PersonTexts texts;
            EXPECT_TRUE(LoadPersonTexts(person, texts).Ok);
            texts.Remarks = RemarksWithClockNote(texts.Remarks, note);
            EXPECT_TRUE(StorePersonTexts(texts, person).Ok);
        }
        return true;
    }
    std::optional<int> RunQueryDialog(int templateId, const std::string&) override {
        Dialogs.push_back(templateId);
        return Next(Choices).value_or(std::nullopt);
    }
    bool RunSettingsDialog(int templateId, SettingValues& confirmed) override {
        Dialogs.push_back(templateId);
        confirmed = Settings;
        return SettingsOk;
    }
    std::optional<std::string> ChooseRecordsFile(bool) override { return Next(Files).value_or(std::nullopt); }
    void ShowLogo(int) override { ++Logos; }
    void RepaintChart() override { ++Repaints; }
    void PrintChart(bool preview) override { Printing.push_back(preview ? "preview" : "print"); }
    void PrintSetup() override { Printing.push_back("setup"); }
    void ShowFlowYears(bool show) override { FlowYears.push_back(show); }
    void RepaintFlowYears() override { ++FlowYearRepaints; }
    void CloseMainWindow() override {}
    bool RunPotentialDialogs() override { return true; }
    void ShowPotentials(bool) override {}
    void RelayoutPotentials() override {}
    void RepaintPotentials() override {}
    void PrintPotentials() override {}
    void ShowFortuneCurve(const FortuneCurveCommand& command, const FortunePeriod& period) override {
        Curves.push_back(command);
        Periods.push_back(period);
    }
};

// The program started on the data root, as main() starts it.
void Start(CQuorvaneApp& app, const DataRoot& root) {
    const Result started = app.Initialize(StartOptions{root.Root(), false});
    ASSERT_TRUE(started.Ok) << started.Detail;
}

class ShellLogicTest : public ::testing::Test {
protected:
    void SetUp() override {
        Start(app_, root_);
        app_.AttachWindows(&windows_);
    }
    bool Enabled(int id) const { return app_.StateOf(id).Enabled; }
    void NewPerson(const PersonRecord& person) {
        windows_.People = {person};
        ASSERT_TRUE(app_.Execute(ID_NEW_PERSON));
    }

    DataRoot root_;
    CQuorvaneApp app_;
    ScriptedWindows windows_;
    MessageLog messages_;
};

TEST(StartOptionsTest, TakesTheLogoSwitchAndTheDataFolderAndLeavesQtItsOwn) {
    StartOptions o;
    std::string error;
    ASSERT_TRUE(ParseStartOptions({"--no-logo", "--data-dir", "/d"}, o, error));
    EXPECT_FALSE(o.ShowLogo);
    EXPECT_EQ(o.DataDir, "/d");
    ASSERT_TRUE(ParseStartOptions({"--data-dir=/e"}, o, error));
    EXPECT_EQ(o.DataDir, "/e");
    EXPECT_FALSE(ParseStartOptions({"--data-dir"}, o, error));
    EXPECT_FALSE(ParseStartOptions({"--logo"}, o, error));
    EXPECT_EQ(error, "unknown argument --logo");
    // Qt's own options are left to Qt.
    std::string a[] = {"Quorvane", "-platform", "offscreen", "--no-logo", "--style=fusion", "-reverse",
                       "--data-dir", "/d", "-h", "--bogus"};
    char* argv[std::size(a)];
    for (size_t i = 0; i < std::size(a); ++i) argv[i] = a[i].data();
    EXPECT_EQ(OwnArguments(int(std::size(a)), argv),
              (std::vector<std::string>{"--no-logo", "--data-dir", "/d", "-h", "--bogus"}));
}

TEST(StartUpTest, EndsWithTheReasonWithoutASolarTermTable) {
    TempDir empty;
    CQuorvaneApp app;
    EXPECT_NE(app.Initialize(StartOptions{empty.Path(), false}).Detail.find("AInfo.tbl"), std::string::npos);

    DataRoot broken;
    std::ofstream(broken.Program() + "/AInfo.tbl", std::ios::binary | std::ios::trunc) << "not a table";
    const Result refused = app.Initialize(StartOptions{broken.Root(), false});
    EXPECT_FALSE(refused.Ok);
    EXPECT_NE(refused.Detail.find("refused"), std::string::npos) << refused.Detail;
}

TEST(FortuneCommandTest, NumbersFollowTheBlockRule) {
    const auto at = [](int id) { return FortuneCommandOf(id); };
    struct Case {
        int Id, Mode, Category;
        bool Lifetime;
    };
    for (Case c : {Case{32800, 0, 1, true}, {32802, 0, 7, true}, {32811, 0, 14, true}, {32815, 0, 1, false},
                   {32818, 0, 5, false}, {32831, 1, 9, false}, {32849, 2, 6, false}, {32850, 2, 3, false},
                   {32866, 3, 8, false}, {32867, 3, 4, false}}) {
        ASSERT_TRUE(at(c.Id)) << c.Id;
        EXPECT_EQ(at(c.Id)->Mode, c.Mode) << c.Id;
        EXPECT_EQ(at(c.Id)->Category, c.Category) << c.Id;
        EXPECT_EQ(at(c.Id)->Lifetime, c.Lifetime) << c.Id;
    }
    for (int unused : {32799, 32808, 32809, 32810, 32812, 32814, 32853, 32870, 32872}) EXPECT_FALSE(at(unused)) << unused;
    int commands = 0;
    for (int id = 32800; id <= 32871; ++id) commands += at(id).has_value();
    EXPECT_EQ(commands, 45);
}

TEST_F(ShellLogicTest, FortuneCommandsOpenTheirCurveWhileAChartIsShown) {
    std::vector<int> ids;
    for (int id = 32800; id <= 32871; ++id)
        if (FortuneCommandOf(id)) ids.push_back(id);
    for (int id : ids) EXPECT_FALSE(Enabled(id)) << id;
    EXPECT_FALSE(app_.Execute(32815));
    NewPerson(StoredPerson("林美玲", 1988, 2, 15, 9, 40, 1));
    for (int id : ids) {
        ASSERT_TRUE(Enabled(id)) << id;
        ASSERT_TRUE(app_.Execute(id)) << id;
        const FortuneCurveCommand opened = windows_.Curves.back(), command = FortuneCommandOf(id).value();
        EXPECT_EQ(std::tie(opened.Mode, opened.Category, opened.Lifetime),
                  std::tie(command.Mode, command.Category, command.Lifetime)) << id;
    }
    EXPECT_EQ(windows_.Curves.size(), 45u);
    for (int unused : {32808, 32809, 32810}) EXPECT_FALSE(Enabled(unused));
}

TEST_F(ShellLogicTest, StartUpTakesTheSettingsAndOpensTheNewPersonDialogOrTheQuery) {
    EXPECT_EQ(app_.currentRecordIndex, -1);
    EXPECT_FALSE(app_.chartShown);
    EXPECT_EQ(app_.Record().Options.FirstTimeBase, 1);
    EXPECT_EQ(app_.Record().YearDisplay, 1);
    EXPECT_EQ(app_.Record().Scoring.MIDPARM, 100);
    EXPECT_EQ(app_.potentialStyle, 1);
    EXPECT_EQ(app_.MainRecordsFile(), root_.MainFile());
    app_.OnStartup(true);
    EXPECT_EQ(windows_.Logos, 1);
    EXPECT_EQ(windows_.Dialogs, (std::vector<int>{NewPersonDialog}));
    Store(root_.MainFile(), {StoredPerson("甲", 1990, 1, 1, 1, 1)});
    app_.OnStartup(false);
    EXPECT_EQ(windows_.Logos, 1);
    EXPECT_EQ(windows_.Dialogs, (std::vector<int>{NewPersonDialog, QueryPersonDialog}));
}

TEST_F(ShellLogicTest, NewPersonIsChartedThenStored) {
    NewPerson(StoredPerson("林美玲", 1988, 2, 15, 9, 40, 1));
    EXPECT_TRUE(app_.chartShown);
    EXPECT_EQ(app_.currentRecordIndex, 0);
    EXPECT_EQ(app_.recordCount, 1);
    EXPECT_GE(windows_.Repaints, 1);
    EXPECT_EQ(StoredNames(root_.MainFile()), std::vector<std::string>{"林美玲"});
    // 1988-02-15 09:40: 戊辰 甲寅 庚子 辛巳
    const ChartBlock& natal = app_.Record().Natal;
    EXPECT_EQ(PillarText(SexagenaryOf(natal.Stem[0], natal.Branch[0])), "戊辰");
    EXPECT_EQ(PillarText(SexagenaryOf(natal.Stem[2], natal.Branch[2])), "庚子");
    EXPECT_TRUE(Enabled(ID_MODIFY_PERSON));
}

TEST_F(ShellLogicTest, UnknownHourTakesTheConceptionPillarEitherWay) {
    NewPerson(StoredPerson("無時", 1975, 6, 20, HourUnknown, 0));
    const ChartBlock& natal = app_.Record().Natal;
    const int month = SexagenaryOf(natal.Stem[1], natal.Branch[1]);
    EXPECT_EQ(SexagenaryOf(natal.Stem[3], natal.Branch[3]), (month + 51) % 60);
    EXPECT_TRUE(app_.hourUnknown);
    EXPECT_TRUE(app_.StateOf(ID_HOUR_UNKNOWN).Checked);
    // Chosen again later it gets the same chart, not the pillar of 12:00.
    const ChartBlock first = natal;
    windows_.Choices = {0};
    ASSERT_TRUE(app_.Execute(ID_QUERY_PERSON));
    EXPECT_EQ(std::memcmp(app_.Record().Natal.Stem, first.Stem, 4), 0);
    EXPECT_EQ(std::memcmp(app_.Record().Natal.Branch, first.Branch, 4), 0);
}

TEST_F(ShellLogicTest, CancelledDialogsLeaveTheChartAsItWasConfirmedSettingsRepaintIt) {
    NewPerson(StoredPerson("甲", 1990, 1, 1, 1, 1));
    const PersonRecord before = app_.Record().Person;
    app_.Execute(ID_MODIFY_PERSON);  // no answer: cancelled
    app_.Execute(ID_QUERY_PERSON);
    windows_.SettingsOk = false;
    windows_.Settings = {{SettingKey::PoolBase, 1}};
    app_.Execute(ID_CHARTING_PARAMETERS);
    EXPECT_EQ(std::memcmp(&app_.Record().Person, &before, sizeof before), 0);
    EXPECT_TRUE(app_.chartShown);
    EXPECT_EQ(app_.Record().Options.PoolBase, 0);
    EXPECT_EQ(ReadCount(root_.MainFile()), 1);
    const int repaints = windows_.Repaints;
    windows_.SettingsOk = true;
    ASSERT_TRUE(app_.Execute(ID_CHARTING_PARAMETERS));
    EXPECT_EQ(app_.Record().Options.PoolBase, 1);
    EXPECT_GT(windows_.Repaints, repaints);
}

// The correction a birth was entered with is kept by its record: through a
// change of the texts, a restart and a query, until a birth typed anew.
TEST_F(ShellLogicTest, TheCorrectionNoteFollowsItsRecordThroughModifyAndARestart) {
    ClockNote taipei;
    taipei.Zone = "Asia/Taipei";
    taipei.ZoneOffsetMinutes = 540;
    taipei.DaylightSaving = true;
    taipei.Given = Moment{1974, 7, 15, 12, 0};
    Store(root_.MainFile(), {StoredPerson("乙", 1980, 1, 1, 8, 0)});
    windows_.People = {StoredPerson("甲", 1974, 7, 15, 11, 0), StoredPerson("甲", 1974, 7, 15, 10, 0)};
    windows_.Notes = {taipei};
    ASSERT_TRUE(app_.Execute(ID_NEW_PERSON));
    EXPECT_EQ(app_.CurrentClockNote().Zone, "Asia/Taipei");

    CQuorvaneApp restarted;
    Start(restarted, root_);
    ScriptedWindows windows;
    restarted.AttachWindows(&windows);
    windows.Choices = {1, 0};
    ASSERT_TRUE(restarted.Execute(ID_QUERY_PERSON));
    EXPECT_EQ(restarted.CurrentClockNote().Zone, "Asia/Taipei");
    EXPECT_EQ(MomentText(restarted.CurrentClockNote().Given), "1974-07-15 12:00") << "the clock time as typed";
    EXPECT_TRUE(restarted.CurrentClockNote().DaylightSaving);
    ASSERT_TRUE(restarted.Execute(ID_QUERY_PERSON));
    EXPECT_FALSE(restarted.CurrentClockNote().Applied()) << "another person from the records file";

    ASSERT_TRUE(app_.Execute(ID_MODIFY_PERSON));
    EXPECT_FALSE(app_.CurrentClockNote().Applied()) << "a birth time typed anew, as given";
    app_.Execute(ID_OPEN_OTHER_RECORDS);  // the current person goes, even when no file is chosen
    EXPECT_FALSE(app_.CurrentClockNote().Applied());
}

TEST_F(ShellLogicTest, DeletingTheCurrentPersonAsksFirstThenClearsTheChart) {
    Store(root_.MainFile(), {StoredPerson("甲", 1990, 1, 1, 1, 1), StoredPerson("乙", 1991, 2, 2, 12, 40)});
    windows_.Choices = {1, 1, 1};
    app_.Execute(ID_QUERY_PERSON);
    ASSERT_TRUE(app_.chartShown);
    messages_.Answer = false;
    ASSERT_TRUE(app_.Execute(ID_DELETE_PERSON));
    ASSERT_EQ(messages_.Questions.size(), 1u);
    EXPECT_EQ(messages_.Questions[0], "確定要刪除這筆個人資料嗎？\n乙\n國曆1991年2月2日 12時40分");
    EXPECT_EQ(ReadCount(root_.MainFile()), 2) << "no: nothing deleted";
    EXPECT_TRUE(app_.chartShown);
    messages_.Answer = true;
    ASSERT_TRUE(app_.Execute(ID_DELETE_PERSON));
    EXPECT_EQ(windows_.Dialogs.back(), DeletePersonDialog);
    EXPECT_FALSE(app_.chartShown);
    EXPECT_EQ(app_.currentRecordIndex, -1);
    EXPECT_FALSE(Enabled(ID_MODIFY_PERSON));
    EXPECT_EQ(ReadCount(root_.MainFile()), 1);
}

// 修改 rewrites the current record in place and recharts it, even after an earlier one went.
TEST_F(ShellLogicTest, DeletingAnEarlierRecordKeepsModifyOnTheSamePerson) {
    Store(root_.MainFile(), {StoredPerson("甲", 1990, 1, 1, 1, 1), StoredPerson("乙", 1991, 2, 2, 2, 2)});
    windows_.Choices = {1, 0};
    app_.Execute(ID_QUERY_PERSON);
    app_.Execute(ID_DELETE_PERSON);
    EXPECT_TRUE(app_.chartShown);
    EXPECT_EQ(app_.currentRecordIndex, 0);
    windows_.People = {StoredPerson("乙改", 1992, 3, 3, 3, 3)};
    ASSERT_TRUE(app_.Execute(ID_MODIFY_PERSON));
    EXPECT_EQ(windows_.Dialogs.back(), ModifyPersonDialog);
    EXPECT_EQ(StoredNames(root_.MainFile()), std::vector<std::string>{"乙改"}) << "the modified person, not a neighbour";
    EXPECT_EQ(app_.Record().Person.year, 1992);
}

TEST_F(ShellLogicTest, NewPersonStopsAtAThousandRecords) {
    Store(root_.MainFile(), std::vector<PersonRecord>(999, StoredPerson("甲", 1990, 1, 1, 1, 1)));
    CQuorvaneApp app;
    Start(app, root_);
    app.AttachWindows(&windows_);
    EXPECT_TRUE(app.StateOf(ID_NEW_PERSON).Enabled);
    EXPECT_EQ(app.StateOf(ID_NEW_PERSON).Text, "新增個人資料(&N)...");
    windows_.People = {StoredPerson("乙", 1991, 2, 2, 2, 2)};
    app.Execute(ID_NEW_PERSON);
    EXPECT_EQ(app.recordCount, 1000);
    EXPECT_FALSE(app.StateOf(ID_NEW_PERSON).Enabled);
    EXPECT_EQ(app.StateOf(ID_NEW_PERSON).Text, "新增個人資料...（每個資料庫最多 1000 筆，已滿）");
    EXPECT_FALSE(app.Execute(ID_NEW_PERSON)) << "a disabled command does not run";
}

TEST_F(ShellLogicTest, OtherRecordsFilesOpenCopyMergeAndSwitchBack) {
    Store(root_.MainFile(), {StoredPerson("甲", 1990, 1, 1, 1, 1)});
    const std::string other = root_.Root() + "/other.sap";
    Store(other, {StoredPerson("乙", 1991, 2, 2, 2, 2), StoredPerson("丙", 1992, 3, 3, 3, 3)});
    windows_.Choices = {0};
    app_.Execute(ID_QUERY_PERSON);
    EXPECT_FALSE(Enabled(ID_SWITCH_TO_MAIN));

    // Files that are not records files are refused at once, by name, and left as they were.
    const std::string notes = root_.Root() + "/notes.txt", cut = root_.Root() + "/cut.sap";
    std::ofstream(notes, std::ios::binary) << "甲乙丙丁 not a records file\n";
    std::ofstream(cut, std::ios::binary) << ReadFileText(other).substr(0, 36 + 412 + 100);
    for (const std::string& refused : {notes, cut, root_.Root() + "/missing.sap"}) {
        const std::string before = Exists(refused) ? ReadFileText(refused) : "";
        windows_.Files = {refused};
        ASSERT_TRUE(app_.Execute(ID_OPEN_OTHER_RECORDS));
        EXPECT_FALSE(app_.otherDatabaseActive) << refused;
        ASSERT_FALSE(messages_.Texts.empty());
        EXPECT_EQ(messages_.Texts.back(), "這不是個人資料檔，未開啟：\n" + refused);
        EXPECT_FALSE(Exists(refused + ".lock")) << refused;
        if (Exists(refused)) {
            EXPECT_EQ(ReadFileText(refused), before);
        }
    }
    windows_.Files = {other};
    ASSERT_TRUE(app_.Execute(ID_OPEN_OTHER_RECORDS));
    EXPECT_TRUE(app_.otherDatabaseActive);
    EXPECT_FALSE(app_.chartShown);
    EXPECT_FALSE(Enabled(ID_MODIFY_PERSON));
    EXPECT_TRUE(Enabled(ID_SWITCH_TO_MAIN));
    EXPECT_EQ(app_.recordCount, 2);
    EXPECT_EQ(app_.OpenRecordsFile(), other);
    EXPECT_EQ(app_.Caption(), "Varnex 八字命盤 Quorvane - other.sap");

    const std::string copy = root_.Root() + "/copy.sap";
    windows_.Files = {copy};
    app_.Execute(ID_SAVE_RECORDS_AS);
    EXPECT_EQ(ReadFileText(copy), ReadFileText(other));

    app_.Execute(ID_MERGE_INTO_MAIN);
    EXPECT_EQ(ReadCount(root_.MainFile()), 3);
    EXPECT_EQ(messages_.Texts.back(), "已合併至主資料庫。新增的個人資料筆數：\n2");

    ASSERT_TRUE(app_.Execute(ID_SWITCH_TO_MAIN));
    EXPECT_EQ(app_.Caption(), "Varnex 八字命盤 Quorvane - VNX5MAIN.AID");
    EXPECT_FALSE(app_.otherDatabaseActive);
    EXPECT_EQ(app_.currentRecordIndex, -1);
    EXPECT_EQ(app_.recordCount, 3);
    EXPECT_FALSE(Enabled(ID_SWITCH_TO_MAIN));
    EXPECT_FALSE(app_.Execute(ID_SWITCH_TO_MAIN));
}

TEST_F(ShellLogicTest, MergeAsksForAFileWhenNoneIsOpen) {
    const std::string other = root_.Root() + "/other.sap";
    Store(other, {StoredPerson("乙", 1991, 2, 2, 2, 2)});
    app_.Execute(ID_MERGE_INTO_MAIN);  // cancelled file dialog: nothing
    EXPECT_TRUE(messages_.Ids.empty());

    windows_.Files = {other};
    app_.Execute(ID_MERGE_INTO_MAIN);
    EXPECT_EQ(messages_.Ids.size(), 1u) << "nobody stored yet: there is no main file to merge into";
    EXPECT_EQ(ReadCount(root_.MainFile()), 0);

    Store(root_.MainFile(), {StoredPerson("甲", 1990, 1, 1, 1, 1)});
    windows_.Files = {other};
    app_.Execute(ID_MERGE_INTO_MAIN);
    EXPECT_EQ(ReadCount(root_.MainFile()), 2);
    EXPECT_EQ(app_.recordCount, 2);
    EXPECT_FALSE(app_.otherDatabaseActive);
    EXPECT_EQ(messages_.Ids.back(), 930) << "a merge tells how many persons it added";

    windows_.Files = {root_.Root() + "/missing.sap"};
    app_.Execute(ID_MERGE_INTO_MAIN);
    EXPECT_EQ(messages_.Ids.size(), 3u) << "a failed merge is told";
    EXPECT_EQ(ReadCount(root_.MainFile()), 2);
}

// 1990-05-17 08:30 男: 決斷 (水 火, 比肩 正官) at K 30 rates 62, as worked in
// the command-line tests; the table comes from the program folder at start-up.
TEST_F(ShellLogicTest, ChartsAreRatedByThePotentialTableOfTheProgramFolder) {
    EXPECT_TRUE(app_.PotentialLoad().Ok);
    EXPECT_EQ(app_.Potentials().CategoryCount, 0);
    PotentialTable t{};
    ResetPotentialTable(t);
    AddPotentialCategory(t, 30, 1);
    t.Items[0].ElementMask = ElementBit(0) | ElementBit(2);
    t.Items[0].TenGodMask = TenGodBit(0) | TenGodBit(5);
    ASSERT_TRUE(SavePotentialTable(root_.Program() + "/EngyInfo.tbl", t).Ok);
    CQuorvaneApp app;
    Start(app, root_);
    EXPECT_TRUE(app.PotentialLoad().Ok);
    PillarQuad pillars{};
    ASSERT_TRUE(ChartPerson(app.Record(), StoredPerson("甲", 1990, 5, 17, 8, 30), pillars));
    EXPECT_EQ(app.Record().PotentialIndex[NatalPotentials][0], 62);
}

// A broken birth, and one before lunar 1900 that the lunar calendar cannot
// date (refused as 修改 refuses it), are told and nothing is charted.
TEST_F(ShellLogicTest, AStoredRecordThatCannotBeChartedIsTold) {
    PersonRecord broken = StoredPerson("壞", 1990, 1, 1, 1, 1), early = StoredPerson("早", 1990, 5, 1, 8, 0);
    broken.month = 13;
    early.year = 1899;
    Store(root_.MainFile(), {broken, early});
    windows_.Choices = {0, 1};
    app_.Execute(ID_QUERY_PERSON);
    app_.Execute(ID_QUERY_PERSON);
    EXPECT_FALSE(app_.chartShown);
    EXPECT_EQ(messages_.Ids, (std::vector<int>{904, 900}));
}

TEST_F(ShellLogicTest, PrintingAndTheFlowYearStripNeedAChart) {
    for (int id : {ID_FILE_PRINT, ID_FILE_PRINT_PREVIEW, ID_FLOW_YEAR_WINDOW}) EXPECT_FALSE(Enabled(id)) << id;
    EXPECT_TRUE(app_.Execute(ID_FILE_PRINT_SETUP));
    EXPECT_EQ(app_.StateOf(ID_FLOW_YEAR_WINDOW).Text, "顯示流年視窗");

    Store(root_.MainFile(), {StoredPerson("甲一", 1984, 3, 8, 8, 8)});
    windows_.Choices = {0, 0};
    ASSERT_TRUE(app_.Execute(ID_QUERY_PERSON));
    ASSERT_TRUE(app_.chartShown);
    EXPECT_TRUE(app_.Execute(ID_FILE_PRINT));
    EXPECT_TRUE(app_.Execute(ID_FILE_PRINT_PREVIEW));
    EXPECT_EQ(windows_.Printing, (std::vector<std::string>{"setup", "print", "preview"}));

    ASSERT_TRUE(app_.Execute(ID_FLOW_YEAR_WINDOW));
    EXPECT_TRUE(app_.flowYearWindowOpen);
    EXPECT_EQ(app_.StateOf(ID_FLOW_YEAR_WINDOW).Text, "關閉流年視窗");
    ASSERT_TRUE(app_.Execute(ID_QUERY_PERSON));  // a new chart repaints the open strip
    EXPECT_EQ(windows_.FlowYearRepaints, 1);
    app_.FlowYearWindowClosed();  // its close box
    EXPECT_EQ(app_.StateOf(ID_FLOW_YEAR_WINDOW).Text, "顯示流年視窗");
    ASSERT_TRUE(app_.Execute(ID_FLOW_YEAR_WINDOW));
    ASSERT_TRUE(app_.Execute(ID_FLOW_YEAR_WINDOW));
    EXPECT_EQ(windows_.FlowYears, (std::vector<bool>{true, true, false}));

    // Dropping the person closes the strip of a chart no longer shown.
    ASSERT_TRUE(app_.Execute(ID_FLOW_YEAR_WINDOW));
    windows_.Files = {std::nullopt};
    ASSERT_TRUE(app_.Execute(ID_OPEN_OTHER_RECORDS));
    EXPECT_FALSE(app_.flowYearWindowOpen);
    EXPECT_EQ(windows_.FlowYears.back(), false);
}

TEST(CommandTableTest, IsSortedAndHandlesTheMenuCommands) {
    int previous = 0;
    for (const CommandEntry& e : AllCommands()) {
        EXPECT_LT(previous, e.Id);
        previous = e.Id;
    }
    for (int id : {101, 32771, 32772, 32773, 32774, 32776, 32777, 32778, 32779, 32780, 32781, 57606, 57607, 57609,
                   57664, 57665})
        EXPECT_NE(FindCommand(id), nullptr) << id;
    EXPECT_EQ(FindCommand(12345), nullptr);
}

}  // namespace
}  // namespace qv::test

// The main window as a user meets it: the menu, the first and the next start,
// the person and records-file commands and the settings dialogs, all through
// the real widgets.
#include <QDir>
#include <QFileDialog>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <set>
#include <sys/resource.h>
#include <sys/stat.h>
#include <tuple>

#include "file_lock.h"
#include "fortune_window.h"
#include "logo_window.h"
#include "person_dialog.h"
#include "shell_fixture.h"
#include "engine/texts/string_table.h"
#include "engine/texts/text_ids.h"

namespace qv::test {
namespace {

using namespace qv::ui;

class MainFrameTest : public ShellTest {
protected:
    void Start() { StartProgram(root_, app_, frame_); }
    void Choose(int id) { ChooseCommand(*frame_, id); }
    bool MenuEnabled(int id) { return test::MenuEnabled(*frame_, id); }
    static void EnterPerson(PersonDialog& d, const QString& name, int year, int month, int day, int hour, int minute) {
        Retype(Child<QLineEdit>(d, "name"), name);
        EnterBirth(d, year, month, day, hour, minute);
    }
    QImage Shot() { return frame_->View()->viewport()->grab().toImage(); }
    static int InkPixels(const QImage& image) {
        int ink = 0;
        for (int y = 0; y < image.height(); y += 2)
            for (int x = 0; x < image.width(); x += 2) ink += image.pixelColor(x, y) != Qt::white;
        return ink;
    }
};

TEST_F(MainFrameTest, MenuIsExactlyTheShellsMenu) {
    Start();
    EXPECT_EQ(frame_->windowTitle(), QStringLiteral("Varnex 八字命盤 Quorvane - VNX5MAIN.AID"));
    QStringList shown;
    for (QAction* menu : frame_->menuBar()->actions()) {
        shown << QStringLiteral("[") + menu->text() + QStringLiteral("]");
        for (QAction* item : menu->menu()->actions())
            shown << (item->isSeparator() ? QStringLiteral("-") : item->text() + QLatin1Char('=') + item->data().toString());
    }
    const QStringList expected = {
        "[檔案(&F)]", "新增個人資料(&N)...=101", "查詢資料(&Q)...=32771", "修改資料(&M)...=32772", "刪除資料(&D)...=32781", "-",
        "開啟其他資料庫(&O)...=32778", "另存資料庫(&A)...=32777", "合併至主資料庫(&G)...=32779", "切換回主資料庫(&B)=32780", "-",
        "列印(&P)...=57607", "預覽列印(&V)=57609", "列印設定(&R)...=57606", "匯出圖片(&E)...=32900", "-", "設定排盤參數(&S)...=32773", "-",
        "結束(&X)=57665",
        "[大運運勢圖(&L)]", "本命(&1)=32815", "事業(&2)=32816", "財運(&3)=32818",
        "[十年運勢圖(&T)]", "本命(&1)=32830", "事業(&2)=32831", "財運(&3)=32833",
        "[視窗(&W)]", "運勢圖(&C)=", "潛能(&P)=", "-", "顯示流年視窗=32774", "萬年曆(&K)=32890", "八字反查(&B)...=32891", "命盤對照(&R)...=32901", "擇日(&D)...=32902", "-", "設定指數公式參數(&I)...=32776", "不知道時間(&U)...=32787",
        "[關於(&H)]", "關於 Quorvane(&A)...=57664"};
    EXPECT_EQ(shown, expected);
    // The daily commands by key; no two commands share one.
    const std::pair<int, const char*> keys[] = {{ID_NEW_PERSON, "Ctrl+N"},       {ID_QUERY_PERSON, "Ctrl+F"},
                                                {ID_MODIFY_PERSON, "Ctrl+E"},    {ID_DELETE_PERSON, "Ctrl+D"},
                                                {ID_OPEN_OTHER_RECORDS, "Ctrl+O"}, {ID_FILE_PRINT, "Ctrl+P"},
                                                {ID_EXPORT_PICTURE, "Ctrl+S"},   {ID_APP_EXIT, "Ctrl+Q"},
                                                {ID_FLOW_YEAR_WINDOW, "F8"},     {ID_POTENTIAL_WINDOW, "F9"},
                                                {ID_CALENDAR_WINDOW, "Ctrl+K"},  {ID_PILLAR_SEARCH, "Ctrl+B"},
                                                {ID_COMPARISON_WINDOW, "Ctrl+R"}, {ID_BEST_DAYS_WINDOW, "Ctrl+J"}};
    for (const auto& [id, key] : keys) EXPECT_EQ(frame_->Action(id)->shortcut(), QKeySequence(QString::fromLatin1(key))) << key;
    QStringList all;
    for (QAction* action : frame_->findChildren<QAction*>())
        if (!action->shortcut().isEmpty()) all << action->shortcut().toString();
    EXPECT_EQ(all.removeDuplicates(), 0);
}

TEST_F(MainFrameTest, FortuneCurveCommandsOpenTheWindowModally) {
    Store(root_.MainFile(), {StoredPerson("林美玲", 1988, 2, 15, 9, 40)});
    Start();
    QueryPersonAt(*app_, 0);
    ASSERT_TRUE(app_->chartShown);
    // Every command the two menus do not show sits under 視窗 > 運勢圖, by mode then category.
    QMenu* curves = nullptr;
    for (QAction* menu : frame_->menuBar()->actions())
        if (menu->text() == QStringLiteral("視窗(&W)")) curves = menu->menu()->actions().front()->menu();
    ASSERT_NE(curves, nullptr);
    QStringList modes;
    std::set<int> hidden;
    for (QAction* mode : curves->actions()) {
        modes << mode->text();
        for (QAction* item : mode->menu()->actions()) hidden.insert(item->data().toInt());
    }
    EXPECT_EQ(modes, (QStringList{"終身", "大運", "十年", "流年各月", "流月各日"}));
    EXPECT_EQ(hidden.size(), 39u);
    for (int shown : {32815, 32816, 32818, 32830, 32831, 32833}) EXPECT_FALSE(hidden.count(shown)) << shown;
    // Which curve each command opens is the shell's own test; here the window opens modally on it.
    for (const auto& [id, mode, category, lifetime] : {std::tuple{32800, 0, 1, true}, {32831, 1, 9, false}}) {
        bool seen = false;
        WhenModal<CFortuneCurveWindow>([&](CFortuneCurveWindow& w) {
            seen = true;
            EXPECT_TRUE(w.isModal());
            EXPECT_EQ(std::tie(w.Curve().Mode, w.Curve().Category, w.Curve().Lifetime), std::tie(mode, category, lifetime));
            w.close();
        });
        Choose(id);
        EXPECT_TRUE(seen) << id;
    }
}

TEST_F(MainFrameTest, FirstStartShowsTheLogoThenTheNewPersonDialogAndCharts) {
    Start();
    const QImage empty = Shot();
    EXPECT_EQ(InkPixels(empty), 0) << "no chart before a person is chosen";
    bool logoSeen = false;
    WhenShown<CLogoWnd>([&](CLogoWnd& logo) {
        logoSeen = true;
        EXPECT_EQ(logo.TickLimit(), 20);
        EXPECT_TRUE(logo.HasPicture());
        WhenModal<PersonDialog>([](PersonDialog& d) {
            EXPECT_EQ(d.windowTitle(), QStringLiteral("請輸入個人資料"));
            EnterPerson(d, QStringLiteral("林美玲"), 1988, 2, 15, 9, 40);
            Click(d, "female");
            Click(d, "ok");
        });
        QTest::mouseClick(&logo, Qt::LeftButton);  // a click ends it early
    });
    frame_->PostStartup(true);
    ASSERT_TRUE(WaitUntil([&] { return app_->chartShown; }));
    EXPECT_TRUE(logoSeen);
    PersonRecord stored{};
    ASSERT_TRUE(ReadRecord(root_.MainFile(), 0, stored));
    EXPECT_EQ(NameOf(stored), "林美玲");
    EXPECT_EQ(stored.sex, 1);
    EXPECT_EQ(stored.hour, 9);
    EXPECT_EQ(app_->currentRecordIndex, 0);
    EXPECT_TRUE(MenuEnabled(ID_MODIFY_PERSON));
    const QImage chart = Shot();
    EXPECT_GT(InkPixels(chart), 1000) << "the chart is drawn";
}

TEST_F(MainFrameTest, NextStartQueriesAndPicksAmongNamesakes) {
    Store(root_.MainFile(), {StoredPerson("王大明", 1970, 3, 1, 8, 0), StoredPerson("陳美", 1992, 2, 3, 7, 8, 1),
                             StoredPerson("王大明", 1971, 4, 2, 9, 0)});
    Start();
    WhenModal<PersonQueryDialog>([](PersonQueryDialog& q) {
        WhenModal<PersonPickDialog>([](PersonPickDialog& pick) {
            EXPECT_EQ(Child<QListWidget>(pick, "lines").count(), 2);
            Child<QListWidget>(pick, "lines").setCurrentRow(1);
            Click(pick, "ok");
        });
        Click(q, "ok");  // 王大明 is the first of all names
    });
    frame_->PostStartup(false);
    ASSERT_TRUE(WaitUntil([&] { return app_->chartShown; }));
    EXPECT_EQ(app_->currentRecordIndex, 2);
    EXPECT_EQ(app_->Record().Person.year, 1971);
}

// 修改 through the dialog is walked by the test below; here 刪除 clears the view.
TEST_F(MainFrameTest, DeletingTheCurrentPersonRepaintsTheViewEmptyAndClosesTheToolWindows) {
    Store(root_.MainFile(), {StoredPerson("甲一", 1980, 5, 5, 5, 5), StoredPerson("乙二", 1981, 6, 6, 6, 6)});
    Start();
    EXPECT_FALSE(MenuEnabled(ID_MODIFY_PERSON)) << "no stored person right after the start";
    QueryPersonAt(*app_, 1);
    EXPECT_GT(InkPixels(Shot()), 1000);
    Choose(ID_FLOW_YEAR_WINDOW);
    Choose(ID_POTENTIAL_WINDOW);
    ASSERT_TRUE(frame_->FlowYears() && frame_->PotentialWindow());
    AnswerQuery(1);
    Choose(ID_DELETE_PERSON);
    EXPECT_FALSE(app_->chartShown);
    EXPECT_EQ(ReadCount(root_.MainFile()), 1);
    EXPECT_FALSE(MenuEnabled(ID_MODIFY_PERSON));
    EXPECT_EQ(InkPixels(Shot()), 0) << "the view is repainted empty";
    EXPECT_EQ(app_->Record().ChartKind, NatalKind);
    // The tool windows go with the person, and their commands offer them again.
    EXPECT_TRUE(WaitUntil([&] { return !frame_->FlowYears() && !frame_->PotentialWindow(); }));
    EXPECT_FALSE(app_->flowYearWindowOpen || app_->potentialWindowOpen);
    frame_->UpdateCommandStates();
    EXPECT_EQ(frame_->Action(ID_FLOW_YEAR_WINDOW)->text().toStdString(), StringText(ShowFlowYearsText));
    EXPECT_EQ(frame_->Action(ID_POTENTIAL_WINDOW)->text().toStdString(), StringText(ShowPotentialsText));
}

// Another program (a script running quorvane-cli) deletes and replaces
// records while the window shows a person: 修改 and 刪除 act on the person
// shown wherever it now is, and never on whoever took its number.
TEST_F(MainFrameTest, ModifyAndDeleteFollowThePersonWhenTheFileChangesUnderneath) {
    Store(root_.MainFile(), {StoredPerson("甲一", 1980, 5, 5, 5, 5), StoredPerson("乙二", 1981, 6, 6, 6, 6),
                             StoredPerson("丙三", 1982, 7, 7, 7, 7), StoredPerson("丁四", 1983, 8, 8, 8, 8)});
    Start();
    auto names = [this] { return StoredNames(root_.MainFile()); };
    auto rename = [this](const char* name) {
        WhenModal<PersonDialog>([name](PersonDialog& d) {
            Child<QLineEdit>(d, "name").setText(QString::fromUtf8(name));
            Click(d, "ok");
        });
        Choose(ID_MODIFY_PERSON);
    };
    QueryPersonAt(*app_, 2);

    ASSERT_TRUE(DeleteRecord(root_.MainFile(), 0).Ok);
    rename("丙五");
    EXPECT_EQ(names(), (std::vector<std::string>{"乙二", "丙五", "丁四"}));
    EXPECT_EQ(app_->currentRecordIndex, 1);

    ASSERT_TRUE(DeleteRecord(root_.MainFile(), 0).Ok);
    AnswerQuery(1);
    Choose(ID_DELETE_PERSON);
    EXPECT_EQ(names(), (std::vector<std::string>{"丙五"}));
    EXPECT_TRUE(app_->chartShown) << "the person shown was not the one deleted";
    EXPECT_EQ(app_->currentRecordIndex, 0);
    EXPECT_EQ(app_->recordCount, 1);

    ASSERT_TRUE(StoreRecord(root_.MainFile(), StoredPerson("戊六", 1984, 9, 9, 9, 9), 0).Ok);
    const std::string before = ReadFileText(root_.MainFile());
    MessageLog log;
    rename("丙七");
    EXPECT_EQ(ReadFileText(root_.MainFile()), before) << "the person shown is gone: nothing is overwritten";
    ASSERT_EQ(log.Ids, std::vector<int>{CannotOpenRecordsText});
    EXPECT_NE(log.Texts[0].find(StringText(PersonGoneText)), std::string::npos) << log.Texts[0];
}

// The person dialog's refusals are its own tests; cancelled after one, nothing changed.
TEST_F(MainFrameTest, BadInputKeepsTheChartUnchanged) {
    Store(root_.MainFile(), {StoredPerson("甲一", 1980, 5, 5, 5, 5)});
    Start();
    QueryPersonAt(*app_, 0);
    const ChartRecord before = app_->Record();
    WhenModal<PersonDialog>([](PersonDialog& d) {
        Child<QComboBox>(d, "day").setEditText(QStringLiteral("32"));
        Click(d, "ok");
        EXPECT_TRUE(d.isVisible());
        d.reject();
    });
    Choose(ID_MODIFY_PERSON);
    EXPECT_EQ(std::memcmp(&app_->Record().Person, &before.Person, sizeof before.Person), 0);
    EXPECT_EQ(std::memcmp(&app_->Record().Natal, &before.Natal, sizeof before.Natal), 0);
    EXPECT_EQ(ReadCount(root_.MainFile()), 1);
}

// The file dialogs open in the data folder, not where the program was
// started; the picture dialog offers the person's name.
TEST_F(MainFrameTest, FileDialogsOpenInTheDataFolderAndOfferThePersonsName) {
    Store(root_.MainFile(), {StoredPerson("王小明", 1980, 5, 5, 5, 5)});
    Start();
    QueryPersonAt(*app_, 0);
    const QString folder = QDir(QString::fromStdString(root_.Root())).canonicalPath();
    struct Case {
        int Command;
        QString Offered;
    } const cases[] = {{ID_OPEN_OTHER_RECORDS, QString()}, {ID_EXPORT_PICTURE, QStringLiteral("王小明.png")}};
    for (const Case& c : cases) {
        if (c.Command == ID_EXPORT_PICTURE) QueryPersonAt(*app_, 0);  // opening another file dropped the person
        QString shownFolder, shownName;
        WhenModal<QFileDialog>([&](QFileDialog& d) {
            shownFolder = QDir(d.directory()).canonicalPath();
            if (auto* name = d.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) shownName = name->text();
            d.reject();
        });
        Choose(c.Command);
        EXPECT_EQ(shownFolder, folder) << c.Command;
        if (!c.Offered.isEmpty()) {
            EXPECT_EQ(shownName, c.Offered);
        }
    }
}

TEST_F(MainFrameTest, OtherRecordsFilesFollowTheEnableRules) {
    Store(root_.MainFile(), {StoredPerson("甲一", 1980, 5, 5, 5, 5)});
    const std::string other = root_.Root() + "/other.sap";
    Store(other, {StoredPerson("乙二", 1981, 6, 6, 6, 6)});
    Start();
    frame_->SetFileChooser([&other](bool) { return std::optional<std::string>(other); });
    EXPECT_FALSE(MenuEnabled(ID_SWITCH_TO_MAIN));
    Choose(ID_OPEN_OTHER_RECORDS);
    EXPECT_TRUE(MenuEnabled(ID_SWITCH_TO_MAIN));
    EXPECT_FALSE(MenuEnabled(ID_MODIFY_PERSON));
    WhenModal<PersonQueryDialog>([](PersonQueryDialog& q) {
        EXPECT_EQ(Child<QListWidget>(q, "names").item(0)->text(), QStringLiteral("乙二"));
        Click(q, "ok");
    });
    Choose(ID_QUERY_PERSON);
    EXPECT_TRUE(app_->chartShown);
    EXPECT_TRUE(MenuEnabled(ID_MODIFY_PERSON));
    Choose(ID_SWITCH_TO_MAIN);
    EXPECT_FALSE(app_->chartShown);
    EXPECT_FALSE(MenuEnabled(ID_SWITCH_TO_MAIN));
    EXPECT_FALSE(MenuEnabled(ID_MODIFY_PERSON));
}

// A new person whose store fails (another program holds the lock, the file
// is read-only, the disk is full) stays on show marked unsaved, with no record
// number: 修改 then stores the person as new and never over the one shown
// before it.
TEST_F(MainFrameTest, AFailedStoreLeavesNoNumberThatLeadsToAnotherPerson) {
    Store(root_.MainFile(), {StoredPerson("甲一", 1980, 5, 5, 5, 5)});
    Start();
    QueryPersonAt(*app_, 0);
    ASSERT_EQ(app_->currentRecordIndex, 0);
    const auto patience = LockPatience();
    LockPatience() = std::chrono::milliseconds(50);
    const std::string file = root_.MainFile();
    std::unique_ptr<FileLock> held;
    rlimit unlimited{};
    ::getrlimit(RLIMIT_FSIZE, &unlimited);
    struct Fault {
        int Reason;
        std::function<void()> Make, Undo;
    } faults[] = {
        {FileBusyText, [&] { held = std::make_unique<FileLock>(); held->Acquire(file); },
         [&] { held.reset(); }},
        {NoWriteAccessText, [&] { ::chmod(file.c_str(), 0444); }, [&] { ::chmod(file.c_str(), 0644); }},
        {DiskFullText, [&] { rlimit small = unlimited; small.rlim_cur = 100; ::setrlimit(RLIMIT_FSIZE, &small); },
         [&] { ::setrlimit(RLIMIT_FSIZE, &unlimited); }},
    };
    std::vector<std::string> names{"甲一"};
    for (const Fault& fault : faults) {
        const std::string before = ReadFileText(file);
        fault.Make();
        MessageLog log;
        WhenModal<PersonDialog>([](PersonDialog& d) {
            EnterPerson(d, QStringLiteral("乙新"), 1990, 3, 3, 3, 3);
            Click(d, "ok");
        });
        Choose(ID_NEW_PERSON);
        fault.Undo();
        EXPECT_EQ(ReadFileText(file), before) << fault.Reason;
        ASSERT_EQ(log.Ids, std::vector<int>{CannotOpenRecordsText}) << fault.Reason;
        EXPECT_NE(log.Texts[0].find(StringText(fault.Reason)), std::string::npos) << log.Texts[0];
        EXPECT_EQ(app_->currentRecordIndex, -1);
        EXPECT_NE(frame_->windowTitle().toStdString().find(StringText(UnsavedPersonText)), std::string::npos);
        ASSERT_TRUE(MenuEnabled(ID_MODIFY_PERSON)) << "修改 stores the unsaved person";

        WhenModal<PersonDialog>([](PersonDialog& d) { Click(d, "ok"); });
        Choose(ID_MODIFY_PERSON);
        names.push_back("乙新");
        EXPECT_EQ(StoredNames(file), names) << "stored as new; no one overwritten";
        EXPECT_EQ(app_->currentRecordIndex, static_cast<int>(names.size()) - 1);
        EXPECT_FALSE(app_->personUnsaved);
    }
    LockPatience() = patience;
}

TEST_F(MainFrameTest, ViewScalesThePageToAnyWindow) {
    Store(root_.MainFile(), {StoredPerson("甲一", 1980, 5, 5, 5, 5)});
    Start();
    QueryPersonAt(*app_, 0);
    for (QSize size : {QSize(1280, 1024), QSize(800, 600), QSize(2048, 1536)}) {
        frame_->resize(size);
        QApplication::processEvents();
        const QImage shot = Shot();
        EXPECT_GT(InkPixels(shot), 500) << size.width();
        // The chart square fills the page: ink reaches below the middle of the window.
        int lowest = 0;
        for (int y = 0; y < shot.height(); ++y)
            if (shot.pixelColor(shot.width() / 3, y) != Qt::white) lowest = y;
        EXPECT_GT(lowest, shot.height() * 2 / 3) << size.width();
    }
    frame_->resize(400, 300);  // smaller than the smallest page: the view scrolls
    QApplication::processEvents();
    EXPECT_GT(frame_->View()->verticalScrollBar()->maximum(), 0);
}

// Both are told before any window system is asked for, so they work without a display.
TEST(ProgramTest, BadCommandLinesAndAMissingSolarTermTableAreToldWithoutADisplay) {
    TempDir dir;
    const std::string program = dir.Path() + "/Quorvane";
    std::filesystem::copy_file(std::string(QUORVANE_BIN_DIR "/Quorvane"), program);
    std::filesystem::permissions(program, std::filesystem::perms::owner_exec, std::filesystem::perm_options::add);
    auto run = [&](const std::string& args) {
        return RunCommandLine("env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " + ShellQuote(program) + " " + args);
    };
    const ProgramResult noTable = run("--no-logo --data-dir " + ShellQuote(dir.Path() + "/data"));
    EXPECT_EQ(noTable.Status, 1);
    EXPECT_NE(noTable.Err.find("AInfo.tbl"), std::string::npos);

    const ProgramResult bogus = run("--bogus");
    EXPECT_EQ(bogus.Status, 2);
    EXPECT_NE(bogus.Err.find("usage"), std::string::npos);
    const ProgramResult noFolder = run("-platform offscreen --data-dir");  // Qt's option passes, ours lacks its folder
    EXPECT_EQ(noFolder.Status, 2);
    EXPECT_NE(noFolder.Err.find("--data-dir needs a folder"), std::string::npos);

    const ProgramResult help = run("--help");
    EXPECT_EQ(help.Status, 0);
    EXPECT_NE(help.Out.find("usage"), std::string::npos);
}

}  // namespace
}  // namespace qv::test

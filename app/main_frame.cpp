#include "main_frame.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QDate>
#include <QFileDialog>
#include <QMenuBar>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTimer>
#include <span>

#include "engine/calendar/calendar.h"
#include "calendar_window.h"
#include "candidates_window.h"
#include "chart_view.h"
#include "file_lock.h"
#include "flow_year_window.h"
#include "fortune_window.h"
#include "logo_window.h"
#include "paint_helpers.h"
#include "picture_export.h"
#include "person_dialog.h"
#include "person_text.h"
#include "pillar_search_window.h"
#include "potential_dialogs.h"
#include "potential_window.h"
#include "query_dialog.h"
#include "settings_dialog.h"
#include "engine/texts/text_ids.h"
#include "show_message.h"
#include "engine/texts/string_table.h"

namespace qv::ui {
namespace {

// The daily commands have shortcuts; every entry has a mnemonic.
constexpr MenuItem FileItems[] = {
    {NewPersonMenuText, ID_NEW_PERSON, {}, "Ctrl+N"},  // the command table names it as well, after the limit
    {"查詢資料(&Q)...", ID_QUERY_PERSON, {}, "Ctrl+F"},
    {"修改資料(&M)...", ID_MODIFY_PERSON, {}, "Ctrl+E"},
    {"刪除資料(&D)...", ID_DELETE_PERSON, {}, "Ctrl+D"},
    {"", Separator},
    {"開啟其他資料庫(&O)...", ID_OPEN_OTHER_RECORDS, {}, "Ctrl+O"},
    {"另存資料庫(&A)...", ID_SAVE_RECORDS_AS},
    {"合併至主資料庫(&G)...", ID_MERGE_INTO_MAIN},
    {"切換回主資料庫(&B)", ID_SWITCH_TO_MAIN},
    {"", Separator},
    {"列印(&P)...", ID_FILE_PRINT, {}, "Ctrl+P"},
    {"預覽列印(&V)", ID_FILE_PRINT_PREVIEW},
    {"列印設定(&R)...", ID_FILE_PRINT_SETUP},
    {"匯出圖片(&E)...", ID_EXPORT_PICTURE, {}, "Ctrl+S"},
    {"", Separator},
    {"設定排盤參數(&S)...", ID_CHARTING_PARAMETERS},
    {"", Separator},
    {"結束(&X)", ID_APP_EXIT, {}, "Ctrl+Q"},
};

// Fortune curves: block base + 0 本命 (category 1), + 1 事業 (9), + 3 財運 (5).
constexpr MenuItem LuckCurveItems[] = {{"本命(&1)", ID_FORTUNE_LUCK_BASE + 0},
                                       {"事業(&2)", ID_FORTUNE_LUCK_BASE + 1},
                                       {"財運(&3)", ID_FORTUNE_LUCK_BASE + 3}};
constexpr MenuItem TenYearCurveItems[] = {{"本命(&1)", ID_FORTUNE_TEN_YEAR_BASE + 0},
                                          {"事業(&2)", ID_FORTUNE_TEN_YEAR_BASE + 1},
                                          {"財運(&3)", ID_FORTUNE_TEN_YEAR_BASE + 3}};
constexpr MenuItem AboutItems[] = {{"關於 Quorvane(&A)...", ID_APP_ABOUT}};

// The fortune curves the two menus above do not show, by mode then category.
constexpr MenuItem LifetimeCurveItems[] = {
    {"本命", ID_FORTUNE_LIFETIME_BASE + 0}, {"事業", ID_FORTUNE_LIFETIME_BASE + 1},
    {"遷移", ID_FORTUNE_LIFETIME_BASE + 2}, {"財運", ID_FORTUNE_LIFETIME_BASE + 3},
    {"健康", ID_FORTUNE_LIFETIME_BASE + 4}, {"愛情", ID_FORTUNE_LIFETIME_BASE + 5},
    {"人際", ID_FORTUNE_LIFETIME_BASE + 6}, {"子女", ID_FORTUNE_LIFETIME_BASE + 7},
    {"整體", ID_FORTUNE_LIFETIME_BASE + 11}};
constexpr MenuItem MoreLuckCurveItems[] = {
    {"遷移", ID_FORTUNE_LUCK_BASE + 2}, {"健康", ID_FORTUNE_LUCK_BASE + 4},  {"愛情", ID_FORTUNE_LUCK_BASE + 5},
    {"人際", ID_FORTUNE_LUCK_BASE + 6}, {"子女", ID_FORTUNE_LUCK_BASE + 7}, {"整體", ID_FORTUNE_LUCK_BASE + 11}};
constexpr MenuItem MoreTenYearCurveItems[] = {
    {"遷移", ID_FORTUNE_TEN_YEAR_BASE + 2},  {"健康", ID_FORTUNE_TEN_YEAR_BASE + 4},
    {"愛情", ID_FORTUNE_TEN_YEAR_BASE + 5},  {"人際", ID_FORTUNE_TEN_YEAR_BASE + 6},
    {"子女", ID_FORTUNE_TEN_YEAR_BASE + 7}, {"整體", ID_FORTUNE_TEN_YEAR_BASE + 11}};
constexpr MenuItem MonthCurveItems[] = {
    {"本命", ID_FORTUNE_MONTH_BASE + 0},  {"事業", ID_FORTUNE_MONTH_BASE + 1}, {"遷移", ID_FORTUNE_MONTH_BASE + 2},
    {"財運", ID_FORTUNE_MONTH_BASE + 3},  {"健康", ID_FORTUNE_MONTH_BASE + 4}, {"愛情", ID_FORTUNE_MONTH_BASE + 5},
    {"人際", ID_FORTUNE_MONTH_BASE + 6}, {"子女", ID_FORTUNE_MONTH_BASE + 7}, {"整體", ID_FORTUNE_MONTH_BASE + 11}};
constexpr MenuItem DayCurveItems[] = {
    {"本命", ID_FORTUNE_DAY_BASE + 0},  {"事業", ID_FORTUNE_DAY_BASE + 1}, {"遷移", ID_FORTUNE_DAY_BASE + 2},
    {"財運", ID_FORTUNE_DAY_BASE + 3},  {"健康", ID_FORTUNE_DAY_BASE + 4}, {"愛情", ID_FORTUNE_DAY_BASE + 5},
    {"人際", ID_FORTUNE_DAY_BASE + 6}, {"子女", ID_FORTUNE_DAY_BASE + 7}, {"整體", ID_FORTUNE_DAY_BASE + 11}};

constexpr MenuItem CurveModeItems[] = {
    {"終身", Separator, LifetimeCurveItems},      {"大運", Separator, MoreLuckCurveItems},
    {"十年", Separator, MoreTenYearCurveItems},   {"流年各月", Separator, MonthCurveItems},
    {"流月各日", Separator, DayCurveItems}};

// The styles in their order (the command numbers are not).
constexpr MenuItem PotentialItems[] = {
    {"設定潛能參數...", ID_POTENTIAL_PARAMETERS},
    {"顯示潛能視窗", ID_POTENTIAL_WINDOW, {}, "F9"},
    {"上一個分類", ID_PREVIOUS_CATEGORY},
    {"下一個分類", ID_NEXT_CATEGORY},
    {"", Separator},
    {"色帶橫條圖", ID_POTENTIAL_STYLE_FIRST + 7},
    {"橫條圖", ID_POTENTIAL_STYLE_FIRST},
    {"中線橫條圖", ID_POTENTIAL_STYLE_FIRST + 1},
    {"折線圖", ID_POTENTIAL_STYLE_FIRST + 2},
    {"折線格線圖", ID_POTENTIAL_STYLE_FIRST + 5},
    {"直欄折線圖", ID_POTENTIAL_STYLE_FIRST + 4},
    {"直欄格線圖", ID_POTENTIAL_STYLE_FIRST + 6},
    {"雷達圖", ID_POTENTIAL_STYLE_FIRST + 3},
    {"", Separator},
    {"列印潛能分析表...", ID_PRINT_POTENTIALS},
};

// The commands no menu of the shell shows; the flow-year and potential window
// entries take their texts from the command table ("顯示…視窗" / "關閉…視窗").
constexpr MenuItem WindowItems[] = {
    {"運勢圖(&C)", Separator, CurveModeItems},
    {"潛能(&P)", Separator, PotentialItems},
    {"", Separator},
    {"顯示流年視窗", ID_FLOW_YEAR_WINDOW, {}, "F8"},
    {"萬年曆(&K)", ID_CALENDAR_WINDOW, {}, "Ctrl+K"},
    {"八字反查(&B)...", ID_PILLAR_SEARCH, {}, "Ctrl+B"},
    {"命盤對照(&R)...", ID_COMPARISON_WINDOW, {}, "Ctrl+R"},
    {"擇日(&D)...", ID_BEST_DAYS_WINDOW, {}, "Ctrl+J"},
    {"", Separator},
    {"設定指數公式參數(&I)...", ID_INDEX_FORMULA},
    {"不知道時間(&U)...", ID_HOUR_UNKNOWN},
};

constexpr Menu Menus[] = {
    {"檔案(&F)", FileItems},
    {"大運運勢圖(&L)", LuckCurveItems},
    {"十年運勢圖(&T)", TenYearCurveItems},
    {"視窗(&W)", WindowItems},
    {"關於(&H)", AboutItems},
};



// While a write waits for another program's lock: the wait cursor and a note
// over the window in use, painted at once since the wait holds the event loop.
void ShowLockWait(const std::string& path, int waitedMs) {
    static QPointer<QLabel> note;
    if (waitedMs < 0) {
        if (note) note->deleteLater();
        note = nullptr;
        QApplication::restoreOverrideCursor();
        return;
    }
    if (!note) {
        QWidget* over = QApplication::activeModalWidget() ? QApplication::activeModalWidget() : QApplication::activeWindow();
        for (QWidget* top : QApplication::topLevelWidgets())
            if (!over && top->objectName() == QLatin1String("mainFrame")) over = top;  // none active: the main window
        note = new QLabel(Utf8(StringText(WaitingForLockText)) + QLatin1Char('\n') + QString::fromStdString(path), over,
                          Qt::ToolTip);
        note->setObjectName(QStringLiteral("lockWaitNote"));
        note->setMargin(12);
        note->adjustSize();
        if (over) note->move(over->frameGeometry().center() - note->rect().center());
        note->show();
        QApplication::setOverrideCursor(Qt::WaitCursor);
    }
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

// Opens or closes a modeless tool window kept in `window`. A closed window
// deletes itself later (its close box clears the pointer), so a toggle before
// that makes a new one.
template <typename Holder, typename Make>
void ShowToolWindow(Holder& window, bool show, Make make) {
    if (!show) {
        if (window) window->close();
        window = nullptr;
        return;
    }
    if (window) return;
    window = make();
    window->show();
}

}  // namespace

QString RecordsFileFilter() {
    // "description|pattern|" pairs, as the file dialogs of the program have always had them.
    const QStringList parts = Utf8(StringText(RecordsFilterText)).split(QLatin1Char('|'), Qt::SkipEmptyParts);
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) filters << parts[i] + QStringLiteral(" (") + parts[i + 1] + QLatin1Char(')');
    return filters.join(QStringLiteral(";;"));
}

CMainFrame::CMainFrame(CQuorvaneApp& app, QWidget* parent)
    : QMainWindow(parent), app_(app), view_(new CQuorvaneView(app, this)) {
    setObjectName(QStringLiteral("mainFrame"));
    SetFileDialogFolder(app_.Paths().Root);  // where the user's files are, not wherever the program was started
    SetLockWaitNotice(ShowLockWait);
    setCentralWidget(view_);
    view_->setFocus();  // the chart's keys work as soon as a dialog over it closes
    BuildMenus();
    app_.AttachWindows(this);
    UpdateCommandStates();
}

CMainFrame::~CMainFrame() { SetLockWaitNotice({}); }

void CMainFrame::BuildMenus() {
    BuildMenuBar(*menuBar(), Menus, [this](int id, QAction* action) {
        connect(action, &QAction::triggered, this, [this, id] { Run(id); });
        actions_[id] = action;
    });
    for (QMenu* menu : menuBar()->findChildren<QMenu*>())
        connect(menu, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandStates);
}

void AddMenuItems(QMenu& menu, std::span<const MenuItem> items, const MenuCommandSink& sink) {
    for (const MenuItem& item : items) {
        if (!item.Items.empty()) {
            AddMenuItems(*menu.addMenu(QString::fromUtf8(item.Text)), item.Items, sink);
        } else if (item.Id == Separator) {
            menu.addSeparator();
        } else {
            QAction* action = menu.addAction(QString::fromUtf8(item.Text));
            action->setData(item.Id);
            if (item.Keys) action->setShortcut(QKeySequence(QString::fromLatin1(item.Keys), QKeySequence::PortableText));
            sink(item.Id, action);
        }
    }
}

void BuildMenuBar(QMenuBar& bar, std::span<const Menu> menus, const MenuCommandSink& sink) {
    for (const Menu& m : menus) AddMenuItems(*bar.addMenu(QString::fromUtf8(m.Title)), m.Items, sink);
}

QAction* CMainFrame::Action(int commandId) const {
    const auto it = actions_.find(commandId);
    return it == actions_.end() ? nullptr : it->second;
}

void CMainFrame::UpdateCommandStates() {
    for (const auto& [id, action] : actions_) {
        const CommandState state = app_.StateOf(id);
        action->setEnabled(state.Enabled);
        action->setCheckable(state.Checked || CQuorvaneApp::StyleOfCommand(id) >= 0);
        action->setChecked(state.Checked);
        if (!state.Text.empty()) action->setText(QString::fromStdString(state.Text));
    }
    setWindowTitle(QString::fromStdString(app_.Caption()));
}

void CMainFrame::Run(int commandId) {
    app_.Execute(commandId);
    UpdateCommandStates();
}

void CMainFrame::PostStartup(bool showLogo) {
    QTimer::singleShot(0, this, [this, showLogo] {
        app_.OnStartup(showLogo);
        UpdateCommandStates();
    });
}

bool CMainFrame::RunPersonDialog(int templateId, PersonRecord& person, ClockNote& note) {
    const ChartRecord& rec = app_.Record();
    PersonDialogSetup setup{templateId, rec.YearDisplay, rec.Options.FirstTimeBase, app_.NewPersonStart(),
                            [this](const PersonRecord& p) { return app_.WhyNotChartable(p); },
                            app_.CurrentClockNote()};
    setup.StartNote = app_.NewPersonNote();
    setup.ChooseAmongCandidates = [this](const CandidateRequest& request) -> std::optional<Moment> {
        CandidatesWindow window(
            [this](const BirthClock& clock, int sex, const Moment& first, const Moment& last,
                   std::vector<CandidateChart>& out) { return app_.ListCandidates(clock, sex, first, last, out); },
            request, QApplication::activeWindow());
        if (window.exec() != QDialog::Accepted) return std::nullopt;
        return window.Chosen();
    };
    PersonDialog dialog(setup, person, this);
    if (dialog.exec() != QDialog::Accepted) return false;
    person = dialog.Result();
    note = dialog.Note();
    return true;
}

std::optional<int> CMainFrame::RunQueryDialog(int templateId, const std::string& recordsPath) {
    PersonQueryDialog dialog(templateId, recordsPath, app_.Record().YearDisplay, this);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.Chosen();
}

bool CMainFrame::RunSettingsDialog(int templateId, SettingValues& confirmed) {
    SettingsDialog dialog(templateId, app_.SettingsFilePath(), this);
    if (dialog.exec() != QDialog::Accepted) return false;
    confirmed = dialog.Confirmed();
    return true;
}

std::optional<std::string> CMainFrame::ChooseRecordsFile(bool forSaving) {
    return fileChooser_ ? fileChooser_(forSaving) : RunFileDialog(forSaving);
}

std::optional<std::string> CMainFrame::RunFileDialog(bool forSaving) {
    QFileDialog dialog(this);
    dialog.setDirectory(FileDialogFolder());
    dialog.setNameFilter(RecordsFileFilter());
    dialog.setDefaultSuffix(QStringLiteral("sap"));
    dialog.setAcceptMode(forSaving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(forSaving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().front().toStdString();
}

void CMainFrame::ShowLogo(int seconds) {
    std::string path;
    FindProgramData(app_.Paths(), "EABOUT.LGO", path);  // a missing picture shows the plain frame
    RunLogo(seconds, path, this);
}

void CMainFrame::RepaintChart() { view_->viewport()->update(); }

QPrinter& CMainFrame::Printer() {
    if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *printer_;
}

void CMainFrame::PrintChart(bool preview) {
    if (!preview && CalendarActive()) return calendar_->Print();
    if (preview) {
        QPrintPreviewDialog dialog(&Printer(), this);
        connect(&dialog, &QPrintPreviewDialog::paintRequested, this,
                [this](QPrinter* printer) { PrintChartPage(*printer); });
        dialog.exec();
        setWindowTitle(QString::fromStdString(app_.Caption()));
        view_->EndPrintPreview();
        return;
    }
    QPrintDialog dialog(&Printer(), this);
    if (dialog.exec() != QDialog::Accepted) return;
    if (!PrintChartPage(Printer())) ShowMessage(CannotPrintText);
}

bool CMainFrame::PrintChartPage(QPaintDevice& device) {
    return PrintChartOn(device, app_.Record(), app_.CurrentClockNote(), EdgeMarginsOf(app_.Settings()));
}

void CMainFrame::PrintSetup() {
    QPageSetupDialog dialog(&Printer(), this);
    dialog.exec();
}

// The view's whole page, buttons and side panel too, as `render` draws it.
static const QSize ChartPage(kLogicalPageWidth, kLogicalPageHeight);

void CMainFrame::ExportChart() {
    if (CalendarActive()) return calendar_->ExportPicture();
    PersonTexts texts;
    const QString name = LoadPersonTexts(app_.Record().Person, texts).Ok && !texts.Name.empty()
                             ? QString::fromStdString(texts.Name)
                             : QStringLiteral("八字命盤");
    const std::optional<PictureChoice> choice = ChoosePictureFile(this, 2 * ChartPage.width(), name);
    if (!choice) return;
    if (const Result saved = SaveChartPicture(choice->Path, choice->Width); !saved.Ok)
        ShowMessageWith(CannotSavePictureText, PictureFailureText(saved));
}

Result CMainFrame::SaveChartPicture(const std::string& path, int width) {
    const auto paint = [this](QPainter& p) { view_->PaintPage(p, ChartPage); };
    return SavePagePicture(path, ChartPage, width, QStringLiteral("八字命盤"), paint);
}

void CMainFrame::ShowFlowYears(bool show) {
    ShowToolWindow(flowYears_, show, [this] {
        return new CFlowYearWnd(app_.Record(), [this] {
            flowYears_ = nullptr;
            app_.FlowYearWindowClosed();
            UpdateCommandStates();
        }, this, ToolWindowsKeepClear());
    });
}

std::vector<QRect> CMainFrame::ToolWindowsKeepClear() const {
    std::vector<QRect> areas = view_->ClickableAreasOnScreen();
    for (const QWidget* open : std::initializer_list<const QWidget*>{flowYears_, potentials_})
        if (open && open->isVisible()) areas.push_back(open->frameGeometry());
    return areas;
}

void CMainFrame::RepaintFlowYears() {
    if (flowYears_) flowYears_->update();
}

void CMainFrame::ShowPotentials(bool show) {
    ShowToolWindow(potentials_, show, [this] {
        return new CPotentialWnd(app_, [this] {
            potentials_ = nullptr;
            app_.PotentialWindowClosed();
            UpdateCommandStates();
        }, this, ToolWindowsKeepClear());
    });
}

void CMainFrame::RelayoutPotentials() {
    if (potentials_) potentials_->Relayout();
}

void CMainFrame::RepaintPotentials() {
    if (potentials_) potentials_->update();
}

void CMainFrame::PrintPotentials() {
    if (!potentials_) return;
    QPrintDialog dialog(&Printer(), this);
    if (dialog.exec() != QDialog::Accepted) return;
    if (!PrintPotentialOn(Printer(), potentials_->Picture())) ShowMessage(CannotPrintText);
    potentials_->update();
}

bool CMainFrame::RunPotentialDialogs() { return RunPotentialParameterDialogs(app_, this); }

bool CMainFrame::CalendarActive() const { return calendar_ && calendar_->isActiveWindow(); }

void CMainFrame::ShowPillarSearch() {
    if (!pillarSearch_) {
        pillarSearch_ = new PillarSearchWindow(
            app_.Session().Terms(), PillarRatHourRule(app_.Record().Options),
            [this](const Moment& moment, const std::string& note) {
                app_.NewPersonAt(moment, note);
                UpdateCommandStates();
            },
            this);
        pillarSearch_->setAttribute(Qt::WA_DeleteOnClose);
    }
    pillarSearch_->show();
    pillarSearch_->raise();
    pillarSearch_->activateWindow();
}

void CMainFrame::ShowCalendar(bool show) {
    if (!show) {
        if (calendar_) calendar_->close();
        return;
    }
    if (!calendar_) {
        const QDate today = QDate::currentDate();
        CCalendarWnd::Hooks hooks{
            [this](const CivilDate& date) {
                app_.NewPersonOn(date);
                UpdateCommandStates();
            },
            [this] {
                calendar_ = nullptr;
                app_.CalendarWindowClosed();
                UpdateCommandStates();
            },
            [this]() -> QPrinter& { return Printer(); },
            [this] { return PillarRatHourRule(app_.Record().Options); }};
        calendar_ = new CCalendarWnd(*app_.Record().SolarTerms, CivilDate{today.year(), today.month(), today.day()},
                                     std::move(hooks), this, ToolWindowsKeepClear());
    }
    calendar_->show();
    calendar_->raise();
    calendar_->activateWindow();
}

TwoPersonHooks CMainFrame::PersonHooks() {
    return TwoPersonHooks{[this](ChartRecord& out) { return app_.ChartOtherPerson(out); },
                          [this]() -> QPrinter& { return Printer(); }};
}

std::unique_ptr<ChartRecord> CMainFrame::FirstPerson() {
    auto first = std::make_unique<ChartRecord>();
    if (!app_.CopyCurrent(*first) && !app_.ChartOtherPerson(*first)) return nullptr;
    return first;
}

// One window of each kind: asked again, the open one comes to the front.
template <typename Window>
static bool RaiseOpen(const QPointer<Window>& window) {
    if (!window) return false;
    window->raise();
    window->activateWindow();
    return true;
}

void CMainFrame::ShowComparison() {
    if (RaiseOpen(comparison_)) return;
    std::unique_ptr<ChartRecord> a = FirstPerson();
    auto b = std::make_unique<ChartRecord>();
    if (!a || !app_.ChartOtherPerson(*b)) return;
    comparison_ = new CComparisonWnd(std::move(a), std::move(b), PersonHooks(), this);
    comparison_->show();
}

void CMainFrame::ShowBestDays() {
    if (RaiseOpen(bestDays_)) return;
    std::unique_ptr<ChartRecord> a = FirstPerson();
    if (!a) return;
    const QDate today = QDate::currentDate();
    auto openDay = [this](const CivilDate& date) {
        ShowCalendar(true);
        app_.calendarWindowOpen = true;
        calendar_->ShowMonth(date.Year, date.Month);
        calendar_->SelectDay(date.Day);
        UpdateCommandStates();
    };
    bestDays_ = new CBestDaysWnd(std::move(a), CivilDate{today.year(), today.month(), today.day()}, PersonHooks(),
                                 std::move(openDay), this);
    bestDays_->show();
}

void CMainFrame::CloseMainWindow() { close(); }

void CMainFrame::ShowFortuneCurve(const FortuneCurveCommand& command, const FortunePeriod& period) {
    RunFortuneCurve(this, app_.Record(), command.Category, command.Mode, command.Lifetime, period,
                    view_->ClickableAreasOnScreen(), [this](ChartRecord& out) { return app_.ChartOtherPerson(out); });
}

}  // namespace qv::ui

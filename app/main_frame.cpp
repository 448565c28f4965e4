#include "main_frame.h"

#include <QAction>
#include <QFileDialog>
#include <QMenuBar>
#include <QTimer>
#include <span>

#include "chart_view.h"
#include "fortune_window.h"
#include "logo_window.h"
#include "person_dialog.h"
#include "query_dialog.h"
#include "settings_dialog.h"
#include "shell_texts.h"
#include "string_table.h"

namespace qv::ui {

struct MenuItem {
    const char* Text;
    int Id;  // Separator for a rule
    const Menu* Submenu = nullptr;
};

struct Menu {
    const char* Title;
    std::span<const MenuItem> Items;
};

namespace {

constexpr int Separator = 0;

constexpr MenuItem FileItems[] = {
    {"新增個人資料...", ID_NEW_PERSON},
    {"查詢資料...", ID_QUERY_PERSON},
    {"修改資料...", ID_MODIFY_PERSON},
    {"刪除資料...", ID_DELETE_PERSON},
    {"", Separator},
    {"開啟其他資料庫...", ID_OPEN_OTHER_RECORDS},
    {"另存資料庫...", ID_SAVE_RECORDS_AS},
    {"合併至主資料庫...", ID_MERGE_INTO_MAIN},
    {"切換回主資料庫", ID_SWITCH_TO_MAIN},
    {"", Separator},
    {"列印(&P)...\tCtrl+P", ID_FILE_PRINT},
    {"預覽列印(&V)", ID_FILE_PRINT_PREVIEW},
    {"列印設定(&R)...", ID_FILE_PRINT_SETUP},
    {"", Separator},
    {"設定排盤參數...", ID_CHARTING_PARAMETERS},
    {"", Separator},
    {"結束(&X)", ID_APP_EXIT},
};

// Fortune curves: block base + 0 本命 (category 1), + 1 事業 (9), + 3 財運 (5).
constexpr MenuItem LuckCurveItems[] = {
    {"本命", ID_FORTUNE_LUCK_BASE + 0}, {"事業", ID_FORTUNE_LUCK_BASE + 1}, {"財運", ID_FORTUNE_LUCK_BASE + 3}};
constexpr MenuItem TenYearCurveItems[] = {{"本命", ID_FORTUNE_TEN_YEAR_BASE + 0},
                                          {"事業", ID_FORTUNE_TEN_YEAR_BASE + 1},
                                          {"財運", ID_FORTUNE_TEN_YEAR_BASE + 3}};
constexpr MenuItem AboutItems[] = {{"關於 Quorvane(&A)...", ID_APP_ABOUT}};

// The fortune curves the two menus above do not show, by mode then category.
constexpr MenuItem LifetimeCurveItems[] = {
    {"本命", ID_FORTUNE_LIFETIME_BASE + 0}, {"事業", ID_FORTUNE_LIFETIME_BASE + 1},
    {"遷移", ID_FORTUNE_LIFETIME_BASE + 2}, {"財運", ID_FORTUNE_LIFETIME_BASE + 3},
    {"健康", ID_FORTUNE_LIFETIME_BASE + 4}, {"愛情", ID_FORTUNE_LIFETIME_BASE + 5},
    {"類別8", ID_FORTUNE_LIFETIME_BASE + 6}, {"類別4", ID_FORTUNE_LIFETIME_BASE + 7},
    {"類別14", ID_FORTUNE_LIFETIME_BASE + 11}};
constexpr MenuItem MoreLuckCurveItems[] = {
    {"遷移", ID_FORTUNE_LUCK_BASE + 2}, {"健康", ID_FORTUNE_LUCK_BASE + 4},  {"愛情", ID_FORTUNE_LUCK_BASE + 5},
    {"類別8", ID_FORTUNE_LUCK_BASE + 6}, {"類別4", ID_FORTUNE_LUCK_BASE + 7}, {"類別14", ID_FORTUNE_LUCK_BASE + 11}};
constexpr MenuItem MoreTenYearCurveItems[] = {
    {"遷移", ID_FORTUNE_TEN_YEAR_BASE + 2},  {"健康", ID_FORTUNE_TEN_YEAR_BASE + 4},
    {"愛情", ID_FORTUNE_TEN_YEAR_BASE + 5},  {"類別8", ID_FORTUNE_TEN_YEAR_BASE + 6},
    {"類別4", ID_FORTUNE_TEN_YEAR_BASE + 7}, {"類別14", ID_FORTUNE_TEN_YEAR_BASE + 11}};
constexpr MenuItem MonthCurveItems[] = {
    {"本命", ID_FORTUNE_MONTH_BASE + 0},  {"事業", ID_FORTUNE_MONTH_BASE + 1}, {"遷移", ID_FORTUNE_MONTH_BASE + 2},
    {"財運", ID_FORTUNE_MONTH_BASE + 3},  {"健康", ID_FORTUNE_MONTH_BASE + 4}, {"愛情", ID_FORTUNE_MONTH_BASE + 5},
    {"類別8", ID_FORTUNE_MONTH_BASE + 6}, {"類別4", ID_FORTUNE_MONTH_BASE + 7}, {"類別14", ID_FORTUNE_MONTH_BASE + 11}};
constexpr MenuItem DayCurveItems[] = {
    {"本命", ID_FORTUNE_DAY_BASE + 0},  {"事業", ID_FORTUNE_DAY_BASE + 1}, {"遷移", ID_FORTUNE_DAY_BASE + 2},
    {"財運", ID_FORTUNE_DAY_BASE + 3},  {"健康", ID_FORTUNE_DAY_BASE + 4}, {"愛情", ID_FORTUNE_DAY_BASE + 5},
    {"類別8", ID_FORTUNE_DAY_BASE + 6}, {"類別4", ID_FORTUNE_DAY_BASE + 7}, {"類別14", ID_FORTUNE_DAY_BASE + 11}};

constexpr Menu LifetimeCurveMenu{"終身", LifetimeCurveItems};
constexpr Menu MoreLuckCurveMenu{"大運", MoreLuckCurveItems};
constexpr Menu MoreTenYearCurveMenu{"十年", MoreTenYearCurveItems};
constexpr Menu MonthCurveMenu{"流年各月", MonthCurveItems};
constexpr Menu DayCurveMenu{"流月各日", DayCurveItems};
constexpr MenuItem CurveModeItems[] = {
    {"終身", 0, &LifetimeCurveMenu}, {"大運", 0, &MoreLuckCurveMenu}, {"十年", 0, &MoreTenYearCurveMenu},
    {"流年各月", 0, &MonthCurveMenu}, {"流月各日", 0, &DayCurveMenu}};
constexpr Menu CurveModeMenu{"運勢圖", CurveModeItems};
constexpr MenuItem WindowItems[] = {{"運勢圖", 0, &CurveModeMenu}};

constexpr Menu Menus[] = {
    {"檔案(&F)", FileItems},
    {"大運運勢圖", LuckCurveItems},
    {"十年運勢圖", TenYearCurveItems},
    {"視窗", WindowItems},
    {"關於", AboutItems},
};

QString Utf8(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

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
    setWindowTitle(Utf8(StringText(ProductTitleText)));
    setCentralWidget(view_);
    BuildMenus();
    app_.AttachWindows(this);
    UpdateCommandStates();
}

void CMainFrame::BuildMenus() {
    for (const Menu& m : Menus) AddMenuItems(menuBar()->addMenu(QString::fromUtf8(m.Title)), m);
    actions_.at(ID_FILE_PRINT)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
}

void CMainFrame::AddMenuItems(QMenu* menu, const Menu& m) {
    connect(menu, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandStates);
    for (const MenuItem& item : m.Items) {
        if (item.Submenu) {
            AddMenuItems(menu->addMenu(QString::fromUtf8(item.Text)), *item.Submenu);
            continue;
        }
        if (item.Id == Separator) {
            menu->addSeparator();
            continue;
        }
        QAction* action = menu->addAction(QString::fromUtf8(item.Text));
        action->setData(item.Id);
        connect(action, &QAction::triggered, this, [this, id = item.Id] { Run(id); });
        actions_[item.Id] = action;
    }
}

QAction* CMainFrame::Action(int commandId) const {
    const auto it = actions_.find(commandId);
    return it == actions_.end() ? nullptr : it->second;
}

void CMainFrame::UpdateCommandStates() {
    for (const auto& [id, action] : actions_) {
        const CommandState state = app_.StateOf(id);
        action->setEnabled(state.Enabled);
        action->setCheckable(state.Checked);
        action->setChecked(state.Checked);
        if (!state.Text.empty()) action->setText(QString::fromStdString(state.Text));
    }
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

bool CMainFrame::RunPersonDialog(int templateId, PersonRecord& person) {
    const ChartRecord& rec = app_.Record();
    PersonDialogSetup setup{templateId, rec.YearDisplay, rec.Options.FirstTimeBase, rec.Now,
                            [this](const PersonRecord& p) { return app_.WhyNotChartable(p); }};
    PersonDialog dialog(setup, person, this);
    if (dialog.exec() != QDialog::Accepted) return false;
    person = dialog.Result();
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
    dialog.setNameFilter(RecordsFileFilter());
    dialog.setDefaultSuffix(QStringLiteral("sap"));
    dialog.setAcceptMode(forSaving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(forSaving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().front().toStdString();
}

void CMainFrame::ShowLogo(int seconds) {
    std::string path, error;
    EnsureProgramFile(app_.Paths(), "EABOUT.LGO", path, error);  // a missing picture shows the plain frame
    RunLogo(seconds, path, this);
}

void CMainFrame::RepaintChart() { view_->viewport()->update(); }

void CMainFrame::CloseMainWindow() { close(); }

void CMainFrame::ShowFortuneCurve(const FortuneCurveCommand& command, const FortunePeriod& period) {
    RunFortuneCurve(this, app_.Record(), command.Category, command.Mode, command.Lifetime, period);
}

}  // namespace qv::ui

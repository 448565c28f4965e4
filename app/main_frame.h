#pragma once
// The main window (CMainFrame): the menu of the shell, the chart view, and the
// dialogs the shell asks for. Commands go to the application object by number.
#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <map>
#include <memory>
#include <span>
#include <vector>

#include "calendar_window.h"
#include "comparison_window.h"
#include "best_days_window.h"
#include "flow_year_window.h"
#include "potential_window.h"
#include "quorvane_app.h"

class QAction;
class QMenu;
class QMenuBar;
class QPrinter;

namespace qv::ui {

class CQuorvaneView;
struct Menu;


// The menu table: an item is a command, a rule (Separator), or a submenu with
// items of its own.
inline constexpr int Separator = 0;
struct MenuItem {
    const char* Text;
    int Id;                           // Separator for a rule or a submenu
    std::span<const MenuItem> Items{};  // a submenu's items
    const char* Keys = nullptr;       // the shortcut, as "Ctrl+N"
};
struct Menu {
    const char* Title;
    std::span<const MenuItem> Items;
};
// Hands each command's action to the frame as the menus are built.
using MenuCommandSink = std::function<void(int commandId, QAction* action)>;
void AddMenuItems(QMenu& menu, std::span<const MenuItem> items, const MenuCommandSink& sink);
void BuildMenuBar(QMenuBar& bar, std::span<const Menu> menus, const MenuCommandSink& sink);

class CMainFrame : public QMainWindow, public ShellWindows {
    Q_OBJECT
public:
    explicit CMainFrame(CQuorvaneApp& app, QWidget* parent = nullptr);
    ~CMainFrame() override;

    // Posts the start-up message; its handler runs once the event loop is going.
    void PostStartup(bool showLogo);

    CQuorvaneView* View() const { return view_; }
    QAction* Action(int commandId) const;
    // Brings every action in line with the command table.
    void UpdateCommandStates();

    // Replaces the file dialogs (a test answers them); an empty one restores them.
    using FileChooser = std::function<std::optional<std::string>(bool forSaving)>;
    void SetFileChooser(FileChooser chooser) { fileChooser_ = std::move(chooser); }

    // ShellWindows
    bool RunPersonDialog(int templateId, PersonRecord& person, ClockNote& note) override;
    std::optional<int> RunQueryDialog(int templateId, const std::string& recordsPath) override;
    bool RunSettingsDialog(int templateId, SettingValues& confirmed) override;
    std::optional<std::string> ChooseRecordsFile(bool forSaving) override;
    void ShowLogo(int seconds) override;
    void RepaintChart() override;
    void PrintChart(bool preview) override;
    void PrintSetup() override;
    void ExportChart() override;
    // The chart view's page as the view shows it, as a PNG `width` pixels wide
    // (0: 1024) or a PDF; false with the reason.
    Result SaveChartPicture(const std::string& path, int width);
    void ShowFlowYears(bool show) override;
    void RepaintFlowYears() override;
    void CloseMainWindow() override;
    void ShowFortuneCurve(const FortuneCurveCommand& command, const FortunePeriod& period) override;
    bool RunPotentialDialogs() override;
    void ShowPotentials(bool show) override;
    void RelayoutPotentials() override;
    void RepaintPotentials() override;
    void PrintPotentials() override;
    void ShowCalendar(bool show) override;
    void ShowPillarSearch() override;
    void ShowComparison() override;
    void ShowBestDays() override;

    CFlowYearWnd* FlowYears() const { return flowYears_; }
    CPotentialWnd* PotentialWindow() const { return potentials_; }
    CCalendarWnd* CalendarWindow() const { return calendar_; }
    CComparisonWnd* ComparisonWindow() const { return comparison_; }
    CBestDaysWnd* BestDaysWindow() const { return bestDays_; }
    // 列印 and 匯出圖片 serve the calendar while it is the window in use.
    bool CalendarActive() const;
    // The printer the print commands share, made on first use.
    QPrinter& Printer();
    bool PrintChartPage(QPaintDevice& device);

private:
    void BuildMenus();
    void Run(int commandId);
    std::optional<std::string> RunFileDialog(bool forSaving);
    // What a new tool window stands clear of: the view's clickable places and
    // the tool windows open already.
    std::vector<QRect> ToolWindowsKeepClear() const;
    TwoPersonHooks PersonHooks();
    // The first person of a two-person window: the one on show, else one chosen.
    std::unique_ptr<ChartRecord> FirstPerson();

    CQuorvaneApp& app_;
    CQuorvaneView* view_;
    std::map<int, QAction*> actions_;
    FileChooser fileChooser_;
    std::unique_ptr<QPrinter> printer_;
    QPointer<CFlowYearWnd> flowYears_;
    QPointer<CPotentialWnd> potentials_;
    QPointer<CCalendarWnd> calendar_;
    QPointer<QDialog> pillarSearch_;
    QPointer<CComparisonWnd> comparison_;
    QPointer<CBestDaysWnd> bestDays_;
};

// The file dialogs' filter from string 458 ("*.sap Tessaly資料檔|*.sap|").
QString RecordsFileFilter();

}  // namespace qv::ui

#pragma once
// The main window (CMainFrame): the menu of the shell, the chart view, and the
// dialogs the shell asks for. Commands go to the application object by number.
#include <QMainWindow>
#include <functional>
#include <map>

#include "quorvane_app.h"

class QAction;
class QMenu;

namespace qv::ui {

class CQuorvaneView;
struct Menu;

class CMainFrame : public QMainWindow, public ShellWindows {
    Q_OBJECT
public:
    explicit CMainFrame(CQuorvaneApp& app, QWidget* parent = nullptr);

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
    bool RunPersonDialog(int templateId, PersonRecord& person) override;
    std::optional<int> RunQueryDialog(int templateId, const std::string& recordsPath) override;
    bool RunSettingsDialog(int templateId, SettingValues& confirmed) override;
    std::optional<std::string> ChooseRecordsFile(bool forSaving) override;
    void ShowLogo(int seconds) override;
    void RepaintChart() override;
    void CloseMainWindow() override;
    void ShowFortuneCurve(const FortuneCurveCommand& command, const FortunePeriod& period) override;

private:
    void BuildMenus();
    void AddMenuItems(QMenu* menu, const Menu& items);
    void Run(int commandId);
    std::optional<std::string> RunFileDialog(bool forSaving);

    CQuorvaneApp& app_;
    CQuorvaneView* view_;
    std::map<int, QAction*> actions_;
    FileChooser fileChooser_;
};

// The file dialogs' filter from string 458 ("*.sap Tessaly資料檔|*.sap|").
QString RecordsFileFilter();

}  // namespace qv::ui

#pragma once
// The two settings dialogs: charting parameters (6016, "請設定使用參數") and
// the index formula (6021). Each reads its keys from the settings file when it
// is made, and writes them back, in its order, only on "確定".
#include <QDialog>
#include <optional>
#include <string>
#include <vector>

#include "quorvane_app.h"

class QButtonGroup;
class QLabel;
class QLineEdit;

namespace qv::ui {

class SettingsDialog : public QDialog {
    Q_OBJECT
public:
    // templateId: ChartingParametersDialog or IndexFormulaDialog.
    SettingsDialog(int templateId, std::string settingsPath, QWidget* parent = nullptr);

    // The values written on OK, in the order written.
    const SettingValues& Confirmed() const { return confirmed_; }
    void accept() override;

private:
    struct Control {
        SettingKey Key;
        QButtonGroup* Choices = nullptr;  // a radio group, or
        QLineEdit* Edit = nullptr;        // an edit
        QString Title;
    };
    // The value to write; none for an edit outside its key's range.
    std::optional<int16_t> ValueOf(const Control& control) const;

    std::string path_;
    QLabel* problem_ = nullptr;
    std::vector<Control> controls_;
    SettingValues confirmed_;
};

// An edit's text as the key's value: a whole number within the key's range, else none.
std::optional<int16_t> EditValue(const QString& text, SettingKey key);

}  // namespace qv::ui

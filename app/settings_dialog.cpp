#include "settings_dialog.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <cerrno>
#include <cstdlib>
#include <span>

#include "engine/texts/text_ids.h"
#include "show_message.h"
#include "engine/texts/string_table.h"

namespace qv::ui {
namespace {

struct Choice {
    const char* Text;
    int16_t Value;
    const char* ObjectName;  // the control number of the dialog template
};

// One key of a dialog: a group of radio buttons, or an edit with a label, a
// unit after it and a note below. Listed in the order the dialog writes them;
// Row and Column place it on the dialog's grid.
struct Field {
    SettingKey Key;
    const char* Title;
    std::span<const Choice> Choices;  // empty for an edit
    const char* Unit = "";
    const char* Note = "";
    const char* EditName = "";
    int Row = 0, Column = 0;
};

constexpr Choice YearChoices[] = {{"西元年", 0, "1059"}, {"民國年", 1, "1060"}};
constexpr Choice SkyChoices[] = {{"只對應一個天干", 0, "1002"}, {"對應二個天干", 1, "1003"}};
constexpr Choice GodChoices[] = {{"以年為主", 0, "1005"}, {"以日為主", 1, "1006"}};
constexpr Choice PoolChoices[] = {{"以年為主", 0, "1007"}, {"以月為主", 1, "1008"}};
constexpr Choice RatChoices[] = {{"早子時", 0, "1009"}, {"一般子時", 1, "1010"}, {"夜子時", 2, "1011"}};
constexpr Choice FiveChoices[] = {{"原始五行", 0, "1012"}, {"改變後五行", 1, "1013"}};
constexpr Choice BaseChoices[] = {{"以月柱為底", 0, "1017"}, {"以日柱為底", 1, "1019"}};

const Field ChartingFields[] = {
    {SettingKey::GodBase, "華蓋,驛馬,劫煞,亡神排法：", GodChoices, "", "", "", 1, 1},
    {SettingKey::SkyBase, "子卯酉藏干對照表：", SkyChoices, "", "", "", 0, 1},
    {SettingKey::YearDisplay, "年代顯示：", YearChoices, "", "", "", 0, 0},
    {SettingKey::PoolBase, "咸池排法：", PoolChoices, "", "", "", 2, 1},
    {SettingKey::FirstTimeBase, "子時排法：", RatChoices, "", "", "", 1, 0},
    {SettingKey::MIDPARM, "中用神", {}, "/10", "(陰陽氣合)", "1028", 2, 0},
    {SettingKey::TermEdgeMinutes, "出生距節氣：", {}, "分鐘內", "在命盤上提示", "1029", 3, 0},
    {SettingKey::HourEdgeMinutes, "出生距時辰交界：", {}, "分鐘內", "在命盤上提示", "1030", 3, 1},
};

const Field IndexFields[] = {
    {SettingKey::FiveType, "使用四柱天干五行：", FiveChoices, "", "", "", 0, 0},
    {SettingKey::K1, "K1 : ", {}, "", "", "1015", 1, 1},
    {SettingKey::K2, "K2 : ", {}, "", "", "1016", 2, 1},
    {SettingKey::BTYPE, "b :", BaseChoices, "", "", "", 3, 1},
    {SettingKey::BBase, "基底數值 :", {}, "/100", "", "1018", 4, 1},
    {SettingKey::BADD, "累加數值 :", {}, "/100", "", "1020", 5, 1},
    {SettingKey::CBASE, "c :", {}, "/100", "", "1021", 6, 1},
};

std::span<const Field> FieldsOf(int templateId) {
    if (templateId == IndexFormulaDialog) return IndexFields;
    return ChartingFields;
}

QString Utf8(const char* text) { return QString::fromUtf8(text); }

QGroupBox* ChoiceBox(const Field& field, int16_t value, QButtonGroup& group) {
    auto* box = new QGroupBox(Utf8(field.Title));
    auto* layout = new QVBoxLayout(box);
    for (const Choice& c : field.Choices) {
        auto* radio = new QRadioButton(Utf8(c.Text));
        radio->setObjectName(QString::fromLatin1(c.ObjectName));
        radio->setChecked(c.Value == value);
        group.addButton(radio, c.Value);
        layout->addWidget(radio);
    }
    return box;
}

QString RangeText(SettingKey key) {
    const SettingInfo& info = InfoOf(key);
    return QStringLiteral("%1 至 %2").arg(info.Min).arg(info.Max);
}

// The edit takes only whole numbers the key can hold, its range shown beside it.
QWidget* EditBox(const Field& field, int16_t value, QLineEdit*& edit) {
    auto* box = new QWidget;
    auto* layout = new QGridLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    edit = new QLineEdit(QString::number(value));
    edit->setObjectName(QString::fromLatin1(field.EditName));
    const SettingInfo& info = InfoOf(field.Key);
    edit->setValidator(new QIntValidator(info.Min, info.Max, edit));
    edit->setToolTip(RangeText(field.Key));
    layout->addWidget(new QLabel(Utf8(field.Title)), 0, 0);
    layout->addWidget(edit, 0, 1);
    layout->addWidget(new QLabel(Utf8(field.Unit)), 0, 2);
    auto* range = new QLabel(QStringLiteral("（") + RangeText(field.Key) + QStringLiteral("）"));
    range->setEnabled(false);
    layout->addWidget(range, 1, 1, 1, 2);
    if (*field.Note) layout->addWidget(new QLabel(Utf8(field.Note)), 2, 1);
    return box;
}

}  // namespace

std::optional<int16_t> EditValue(const QString& text, SettingKey key) {
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    const SettingInfo& info = InfoOf(key);
    if (!ok || n < info.Min || n > info.Max) return std::nullopt;
    return static_cast<int16_t>(n);
}

SettingsDialog::SettingsDialog(int templateId, std::string settingsPath, QWidget* parent)
    : QDialog(parent), path_(std::move(settingsPath)) {
    const bool index = templateId == IndexFormulaDialog;
    setWindowTitle(index ? QStringLiteral("請設定指數公式參數") : QStringLiteral("請設定使用參數"));
    auto* grid = new QGridLayout(this);
    if (index) grid->addWidget(new QLabel(QStringLiteral("K1 + K2 * sqrt (a + b + c)")), 0, 1);
    for (const Field& field : FieldsOf(templateId)) {
        const int16_t value = ReadSetting(path_, field.Key);
        Control control{field.Key, nullptr, nullptr, Utf8(field.Title)};
        if (field.Choices.empty()) {
            grid->addWidget(EditBox(field, value, control.Edit), field.Row, field.Column);
        } else {
            control.Choices = new QButtonGroup(this);
            grid->addWidget(ChoiceBox(field, value, *control.Choices), field.Row, field.Column);
        }
        controls_.push_back(control);
    }
    problem_ = new QLabel;
    problem_->setObjectName(QStringLiteral("problem"));
    problem_->setStyleSheet(QStringLiteral("color: #b00000"));
    problem_->hide();
    grid->addWidget(problem_, grid->rowCount(), 0, 1, 2);
    auto* buttons = new QDialogButtonBox;
    buttons->addButton(QStringLiteral("確定"), QDialogButtonBox::AcceptRole)->setObjectName(QStringLiteral("ok"));
    connect(buttons, &QDialogButtonBox::accepted, this, &SettingsDialog::accept);
    grid->addWidget(buttons, grid->rowCount(), 0, 1, 2, Qt::AlignHCenter);
}

std::optional<int16_t> SettingsDialog::ValueOf(const Control& control) const {
    if (control.Edit) return EditValue(control.Edit->text(), control.Key);
    const int checked = control.Choices->checkedId();
    // With no button checked the file's value stays as it was.
    return checked >= 0 ? static_cast<int16_t>(checked) : ReadSetting(path_, control.Key);
}

void SettingsDialog::accept() {
    // Nothing is written while an entry lies outside its range: the dialog says which.
    for (const Control& control : controls_) {
        if (ValueOf(control)) continue;
        problem_->setText(control.Title + QString::fromUtf8(StringText(OutOfRangeText)) + RangeText(control.Key));
        problem_->show();
        control.Edit->setFocus();
        control.Edit->selectAll();
        return;
    }
    confirmed_.clear();
    Result saved = Result::Done();
    for (const Control& control : controls_) {
        const int16_t value = *ValueOf(control);
        if (const Result written = WriteSetting(path_, control.Key, value); !written.Ok && saved.Ok) saved = written;
        confirmed_.push_back(SettingValue{control.Key, value});
    }
    if (!saved.Ok) ShowMessageWith(SettingsSaveFailedText, saved.ReasonText());
    QDialog::accept();
}

}  // namespace qv::ui

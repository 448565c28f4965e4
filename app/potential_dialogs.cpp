#include "potential_dialogs.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cstring>

#include "engine/texts/big5.h"
#include "paint_helpers.h"
#include "potential_file.h"
#include "quorvane_app.h"
#include "engine/texts/text_ids.h"
#include "show_message.h"
#include "engine/texts/string_table.h"

namespace qv::ui {
namespace {


QString Unnamed() { return Utf8(StringText(UnnamedText)); }

template <size_t N>
QString NameOf(const char (&field)[N]) { return Utf8(PotentialNameText(field)); }

QLineEdit* Edit(const char* objectName, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(objectName));
    return edit;
}

QPushButton* OkButton(const char* text, QDialog* dialog) {
    auto* ok = new QPushButton(QString::fromUtf8(text), dialog);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setDefault(true);
    return ok;
}

QComboBox* Choices(const QString& objectName, int firstText, int count, QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setObjectName(objectName);
    box->addItem(Utf8(StringText(PotentialUnusedText)));
    for (int i = 0; i < count; ++i) box->addItem(Utf8(StringText(firstText + i)));
    return box;
}

// The set bits from the top (0x80 >> 0 first) shown in the lists, selection b + 1 for bit b.
void ShowBits(unsigned mask, int bits, int topBit, QComboBox* const* lists, int listCount) {
    int shown = 0;
    for (int b = 0; b < bits && shown < listCount; ++b)
        if (mask & (topBit >> b)) lists[shown++]->setCurrentIndex(b + 1);
    for (; shown < listCount; ++shown) lists[shown]->setCurrentIndex(0);
}

// A red line for a refused entry, hidden until there is one.
QLabel* ProblemLabel(QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(QStringLiteral("problem"));
    label->setStyleSheet(QStringLiteral("color: #b00000"));
    label->hide();
    return label;
}

// Stores the name from `edit`; when it is refused, says why after the field's
// label, the edit's text chosen for retyping.
template <size_t N>
bool StoreNameFrom(QLineEdit* edit, const QString& label, char (&field)[N], QLabel* problem) {
    const int why = StorePotentialName(field, N, edit->text());
    problem->setVisible(why != 0);
    if (why == 0) return true;
    problem->setText(label + Utf8(StringText(why)));
    edit->setFocus();
    edit->selectAll();
    return false;
}

unsigned BitsOf(int topBit, QComboBox* const* lists, int listCount) {
    unsigned mask = 0;
    for (int i = 0; i < listCount; ++i)
        if (const int s = lists[i]->currentIndex(); s > 0) mask |= static_cast<unsigned>(topBit >> (s - 1));
    return mask;
}

}  // namespace

int StorePotentialName(char* field, size_t capacity, const QString& text) {
    std::string big5;
    if (!Utf8ToBig5(text.toStdString(), big5)) return NotBig5Text;
    if (big5.size() >= capacity) return TooLongText;
    std::memset(field, 0, capacity);
    std::memcpy(field, big5.data(), big5.size());
    return 0;
}

// ---- PotentialCategoryDialog ----

PotentialCategoryDialog::PotentialCategoryDialog(PotentialTable& table, int16_t& currentCategory, QWidget* parent)
    : QDialog(parent),
      table_(table),
      current_(currentCategory),
      list_(new QListWidget(this)),
      newRadio_(new QRadioButton(QStringLiteral("產生新分類"), this)),
      oldRadio_(new QRadioButton(QStringLiteral("選擇舊分類"), this)),
      k_(Edit("1022", this)),
      count_(Edit("1023", this)),
      name_(Edit("1033", this)),
      present_(new QLabel(this)),
      problem_(ProblemLabel(this)) {
    setWindowTitle(QStringLiteral("請切換潛能分類及設定潛能參數"));
    list_->setObjectName(QStringLiteral("1036"));
    newRadio_->setObjectName(QStringLiteral("1034"));
    oldRadio_->setObjectName(QStringLiteral("1035"));
    present_->setObjectName(QStringLiteral("1037"));
    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("各項能力計算公式 : P = K * F + (1 - K) * G"), this), 0, 0, 1, 2);
    grid->addWidget(oldRadio_, 1, 0);
    grid->addWidget(newRadio_, 1, 1);
    grid->addWidget(list_, 2, 0, 1, 2);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("潛能分類名稱："), name_);
    form->addRow(QStringLiteral("K (%)："), k_);
    form->addRow(QStringLiteral("項目數："), count_);
    form->addRow(QStringLiteral("目前項目："), present_);
    grid->addLayout(form, 3, 0, 1, 2);
    grid->addWidget(problem_, 5, 0, 1, 2);
    QPushButton* ok = OkButton("繼續設定", this);
    grid->addWidget(ok, 4, 1);
    connect(ok, &QPushButton::clicked, this, &PotentialCategoryDialog::Continue);
    connect(newRadio_, &QRadioButton::clicked, this, &PotentialCategoryDialog::ChooseNew);
    connect(oldRadio_, &QRadioButton::clicked, this, &PotentialCategoryDialog::ChooseOld);

    const int c = table_.CategoryCount;
    if (c >= MaxPotentialCategories) {
        newRadio_->setEnabled(false);
        newRadio_->setToolTip(QStringLiteral("潛能分類已滿 32 類，無法再產生新分類"));
    }
    if (c > 0) {
        for (int i = 0; i < c; ++i) list_->addItem(NameOf(table_.Categories[i].Name));
        selected_ = std::clamp<int>(current_, 0, c - 1);
        list_->setCurrentRow(selected_);
        oldRadio_->setChecked(true);
        LoadCategory(selected_);
    } else {
        list_->setEnabled(false);
        oldRadio_->setEnabled(false);
        newRadio_->setChecked(true);
        newCategory_ = true;
        selected_ = 0;
        LoadCategory(0);
    }
    connect(list_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0 && !newCategory_) LoadCategory(selected_ = row);
    });
}

void PotentialCategoryDialog::LoadCategory(int c) {
    const PotentialCategory& cat = table_.Categories[c];
    k_->setText(QString::number(cat.K));
    count_->setText(QString::number(cat.ItemCount));
    present_->setText(QString::number(cat.ItemCount));
    name_->setText(NameOf(cat.Name));
}

void PotentialCategoryDialog::ChooseNew() {
    newCategory_ = true;
    list_->setEnabled(false);
    selected_ = table_.CategoryCount;
    count_->setText(QStringLiteral("0"));
    present_->setText(QStringLiteral("0"));
    name_->setText(Unnamed());
}

void PotentialCategoryDialog::ChooseOld() {
    newCategory_ = false;
    list_->setEnabled(true);
    selected_ = std::max(0, list_->currentRow());
    LoadCategory(selected_);
}

void PotentialCategoryDialog::Continue() {
    // The name is checked first: a refused one keeps the dialog open with nothing changed.
    char name[sizeof(PotentialCategory::Name)];
    if (!StoreNameFrom(name_, QStringLiteral("潛能分類名稱："), name, problem_)) return;
    const int k = std::clamp(k_->text().trimmed().toInt(), 0, 100);
    const int n = std::min(count_->text().trimmed().toInt(), MaxItemsPerCategory);
    const int old = newCategory_ ? 0 : table_.Categories[selected_].ItemCount;
    if (n <= 0 || table_.ItemTotal + (n - old) >= 256 || (newCategory_ && table_.CategoryCount >= MaxPotentialCategories)) {
        accept();
        return;
    }
    const int c = newCategory_ ? AddPotentialCategory(table_, k, n) : selected_;
    if (c < 0 || (!newCategory_ && !ResizePotentialCategory(table_, c, n))) {
        accept();
        return;
    }
    PotentialCategory& cat = table_.Categories[c];
    cat.K = static_cast<int16_t>(k);
    std::memcpy(cat.Name, name, sizeof cat.Name);
    current_ = static_cast<int16_t>(c);
    applied_ = c;
    accept();
}

// ---- PotentialItemDialog ----

PotentialItemDialog::PotentialItemDialog(PotentialTable& table, int category, QWidget* parent)
    : QDialog(parent),
      table_(table),
      first_(table.Categories[category].FirstItem),
      count_(table.Categories[category].ItemCount),
      list_(new QListWidget(this)),
      name_(Edit("1000", this)),
      problem_(ProblemLabel(this)) {
    setWindowTitle(QStringLiteral("請設定潛能參數"));
    list_->setObjectName(QStringLiteral("1024"));
    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("潛能項次"), this), 0, 0);
    grid->addWidget(list_, 1, 0, 4, 1);
    grid->addWidget(new QLabel(QStringLiteral("潛能名稱："), this), 0, 1);
    grid->addWidget(name_, 0, 2, 1, 4);
    grid->addWidget(new QLabel(QStringLiteral("五行："), this), 1, 1);
    for (int i = 0; i < 3; ++i) {
        elements_[i] = Choices(QString::number(1026 + i), text_base::Element, 5, this);
        grid->addWidget(elements_[i], 1, 2 + i);
    }
    grid->addWidget(new QLabel(QStringLiteral("十神："), this), 2, 1);
    for (int i = 0; i < 4; ++i) {
        tenGods_[i] = Choices(QString::number(1029 + i), text_base::TenGod, 10, this);
        grid->addWidget(tenGods_[i], 2, 2 + i);
    }
    grid->addWidget(problem_, 3, 1, 1, 5);
    QPushButton* ok = OkButton("設定完畢", this);
    grid->addWidget(ok, 4, 5);
    connect(ok, &QPushButton::clicked, this, [this] {
        if (StoreItem(selected_)) accept();
    });
    FillList();
    list_->setCurrentRow(0);
    LoadItem(0);
    connect(list_, &QListWidget::currentRowChanged, this, &PotentialItemDialog::Select);
}

void PotentialItemDialog::FillList() {
    const QSignalBlocker quiet(list_);
    const int row = list_->currentRow();
    list_->clear();
    // The names are Big5: decoded for the list, an empty one left empty.
    for (int i = 0; i < count_; ++i) {
        const PotentialItem& item = table_.Items[first_ + i];
        list_->addItem(QString::number(i + 1) + QLatin1Char(' ') + (item.Name[0] ? NameOf(item.Name) : QString()));
    }
    list_->setCurrentRow(row);
}

void PotentialItemDialog::LoadItem(int i) {
    if (i < 0 || i >= count_) return;
    const PotentialItem& item = table_.Items[first_ + i];
    name_->setText(NameOf(item.Name));
    ShowBits(item.ElementMask, 5, 0x80, elements_, 3);
    ShowBits(item.TenGodMask, 10, 0x8000, tenGods_, 4);
}

bool PotentialItemDialog::StoreItem(int i) {
    if (i < 0 || i >= count_) return true;
    PotentialItem& item = table_.Items[first_ + i];
    if (!StoreNameFrom(name_, QStringLiteral("潛能名稱："), item.Name, problem_)) return false;
    item.ElementMask = static_cast<uint8_t>(BitsOf(0x80, elements_, 3));
    item.TenGodMask = static_cast<uint16_t>(BitsOf(0x8000, tenGods_, 4));
    return true;
}

void PotentialItemDialog::Select(int row) {
    if (row < 0) return;
    if (!StoreItem(selected_)) {
        // The ability with the refused name stays chosen until it is mended.
        const QSignalBlocker quiet(list_);
        list_->setCurrentRow(selected_);
        return;
    }
    selected_ = row;
    LoadItem(row);
    FillList();
}

// ---- the command ----

bool RunPotentialParameterDialogs(CQuorvaneApp& app, QWidget* parent) {
    PotentialTable& table = app.Potentials();
    if (!table.TableReady) return false;
    PotentialCategoryDialog categories(table, app.currentCategory, parent);
    if (categories.exec() != QDialog::Accepted) return false;
    if (categories.Applied() < 0) return true;
    const std::string path = PotentialTablePath(app.Paths());
    PotentialItemDialog items(table, categories.Applied(), parent);
    if (items.exec() != QDialog::Accepted) {
        LoadPotentialTable(path, table);  // every change of this run goes
        return true;
    }
    // A file that cannot be written keeps the old definitions on disk; these
    // stay in use until the program ends, and the user is told why.
    if (const Result saved = SavePotentialTable(path, table); !saved.Ok)
        ShowMessageWith(PotentialSaveFailedText, saved.ReasonText());
    return true;
}

}  // namespace qv::ui

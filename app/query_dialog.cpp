#include "query_dialog.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>

#include "engine/texts/big5.h"
#include "paint_helpers.h"
#include "records_file.h"
#include "engine/texts/text_ids.h"
#include "show_message.h"
#include "engine/texts/string_table.h"

namespace qv::ui {
namespace {

constexpr int Big5Role = Qt::UserRole;  // a list entry's name as the file holds it

QString FromBig5(std::string_view big5) {
    std::string utf8;
    return Big5ToUtf8(big5, utf8) ? QString::fromStdString(utf8) : QString::fromLatin1(big5.data(), big5.size());
}

QDialogButtonBox* OkCancel(QDialog& dialog, const QString& okText) {
    auto* buttons = new QDialogButtonBox;
    buttons->addButton(okText, QDialogButtonBox::AcceptRole)->setObjectName(QStringLiteral("ok"));
    buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole)->setObjectName(QStringLiteral("cancel"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    return buttons;
}

QListWidget* NewList(const char* objectName) {
    auto* list = new QListWidget;
    list->setObjectName(QString::fromLatin1(objectName));
    return list;
}

bool IsDeleteTemplate(int templateId) { return templateId == 6018 || templateId == 6019; }

// 無名氏 in Big5: the name the lists show for a person stored without one.
const std::string& NamelessBig5() {
    static const std::string big5 = [] {
        std::string out;
        Utf8ToBig5(StringText(NamelessText), out);
        return out;
    }();
    return big5;
}

// The records listed under `name` (Big5), in file order: those of that name
// and, under 無名氏, those stored without a name.
int FindListedName(const std::string& path, const std::string& name, std::vector<int>& numbers) {
    PersonRecord scratch{};
    FindByName(path, name, scratch, numbers);
    if (name == NamelessBig5()) {
        std::vector<int> nameless;
        FindByName(path, "", scratch, nameless);
        numbers.insert(numbers.end(), nameless.begin(), nameless.end());
        std::ranges::sort(numbers);
        if (numbers.size() > MaxNameMatches) numbers.resize(MaxNameMatches);
    }
    return static_cast<int>(numbers.size());
}

// A record's name as the lists show it.
QString ShownName(const PersonRecord& r) {
    const std::string_view name = FieldText(r.name);
    return FromBig5(name.empty() ? std::string_view(NamelessBig5()) : name);
}

}  // namespace

// ---- the query dialog ----

PersonQueryDialog::PersonQueryDialog(int templateId, std::string recordsPath, int yearDisplay, QWidget* parent)
    : QDialog(parent), templateId_(templateId), path_(std::move(recordsPath)), yearDisplay_(yearDisplay) {
    setWindowTitle(IsDeleteTemplate(templateId) ? QStringLiteral("刪除個人資料") : QStringLiteral("查詢個人資料"));
    BuildWidgets();
    if (ReadCount(path_) >= 1) {
        allNames_->setChecked(true);
        ShowAllNames();
    } else {
        allNames_->setEnabled(false);
        fullName_->setChecked(true);
        UseFullName();
    }
}

void PersonQueryDialog::BuildWidgets() {
    search_ = new QLineEdit;
    search_->setObjectName(QStringLiteral("search"));
    names_ = NewList("names");
    searchButton_ = new QPushButton(QStringLiteral("搜尋"));
    searchButton_->setObjectName(QStringLiteral("searchButton"));
    searchButton_->setAutoDefault(false);
    searchButton_->setEnabled(false);
    auto* modes = new QButtonGroup(this);
    allNames_ = new QRadioButton(QStringLiteral("顯示所有姓名"));
    allNames_->setObjectName(QStringLiteral("allNames"));
    surname_ = new QRadioButton(QStringLiteral("使用姓氏查詢"));
    surname_->setObjectName(QStringLiteral("surname"));
    fullName_ = new QRadioButton(QStringLiteral("使用全名查詢"));
    fullName_->setObjectName(QStringLiteral("fullName"));
    for (QRadioButton* r : {allNames_, surname_, fullName_}) modes->addButton(r);

    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("姓名：")), 0, 0);
    grid->addWidget(search_, 0, 1);
    grid->addWidget(searchButton_, 0, 2);
    grid->addWidget(allNames_, 1, 0, 1, 3);
    grid->addWidget(surname_, 2, 0, 1, 3);
    grid->addWidget(fullName_, 3, 0, 1, 3);
    grid->addWidget(names_, 4, 0, 1, 3);
    grid->addWidget(OkCancel(*this, QStringLiteral("確定")), 5, 0, 1, 3);

    connect(allNames_, &QRadioButton::clicked, this, &PersonQueryDialog::ShowAllNames);
    connect(surname_, &QRadioButton::clicked, this, &PersonQueryDialog::SearchSurname);
    connect(searchButton_, &QPushButton::clicked, this, &PersonQueryDialog::SearchSurname);
    connect(fullName_, &QRadioButton::clicked, this, &PersonQueryDialog::UseFullName);
    connect(names_, &QListWidget::itemDoubleClicked, this, &PersonQueryDialog::accept);
}

void PersonQueryDialog::ShowAllNames() {
    mode_ = Mode::AllNames;
    searchButton_->setEnabled(false);
    ListNamesOf(ListNames(path_));
}

void PersonQueryDialog::SearchSurname() {
    mode_ = Mode::Surname;
    searchButton_->setEnabled(true);
    std::string prefix;
    if (search_->text().isEmpty() || !Utf8ToBig5(search_->text().toStdString(), prefix)) return;
    ListNamesOf(ListNamesByPrefix(path_, prefix));
}

void PersonQueryDialog::UseFullName() {
    mode_ = Mode::FullName;
    searchButton_->setEnabled(false);
    names_->setEnabled(false);
}

void PersonQueryDialog::ListNamesOf(const std::vector<std::string>& big5Names) {
    names_->clear();
    for (const std::string& name : big5Names) {
        auto* item = new QListWidgetItem(FromBig5(name), names_);
        item->setData(Big5Role, QByteArray(name.data(), static_cast<qsizetype>(name.size())));
    }
    names_->setEnabled(true);
    if (names_->count() > 0) names_->setCurrentRow(0);
}

std::string PersonQueryDialog::ChosenName() const {
    if (mode_ != Mode::FullName) {
        const QListWidgetItem* item = names_->currentItem();
        return item ? item->data(Big5Role).toByteArray().toStdString() : std::string();
    }
    std::string big5;
    return Utf8ToBig5(search_->text().trimmed().toStdString(), big5) ? big5 : std::string();
}

void PersonQueryDialog::accept() {
    const std::string name = ChosenName();
    std::vector<int> numbers;
    const int found = name.empty() ? 0 : FindListedName(path_, name, numbers);
    if (found == 0) {
        ShowMessage(CustomerNotFoundText);
        return;
    }
    if (found == 1) {
        chosen_ = numbers.front();
        QDialog::accept();
    } else if (Pick(numbers)) {
        QDialog::accept();
    } else if (IsDeleteTemplate(templateId_)) {
        reject();  // a cancelled pick ends the delete: nothing is deleted
    }
}

bool PersonQueryDialog::Pick(const std::vector<int>& numbers) {
    PersonPickDialog pick(IsDeleteTemplate(templateId_) ? 6019 : 6009, path_, numbers, yearDisplay_, this);
    if (pick.exec() != QDialog::Accepted) return false;
    chosen_ = pick.Picked();
    return true;
}

// ---- the pick dialog ----

QString PickLineText(const PersonRecord& r, int yearDisplay) {
    QString line = yearDisplay == 1
                       ? QString::fromStdString(EraYearText(r.year))
                       : ShownName(r) + QStringLiteral("國曆%1年").arg(r.year, 4);
    line += QStringLiteral("%1月%2日").arg(r.month, 3).arg(r.day, 3);
    if (r.hour >= 0 && r.hour <= 24) line += QStringLiteral("%1時%2分").arg(r.hour, 2).arg(r.minute, 2);
    return line;
}

PersonPickDialog::PersonPickDialog(int templateId, const std::string& recordsPath, const std::vector<int>& numbers,
                                   int yearDisplay, QWidget* parent)
    : QDialog(parent), numbers_(numbers) {
    const bool deleting = IsDeleteTemplate(templateId);
    setWindowTitle(deleting ? QStringLiteral("刪除個人資料") : QStringLiteral("查詢個人資料"));
    auto* name = new QLineEdit;
    name->setObjectName(QStringLiteral("name"));
    name->setEnabled(false);
    lines_ = NewList("lines");
    for (int n : numbers_) {
        PersonRecord r{};
        ReadRecord(recordsPath, n, r);
        if (name->text().isEmpty()) name->setText(ShownName(r));
        lines_->addItem(PickLineText(r, yearDisplay));
    }
    if (lines_->count() > 0) lines_->setCurrentRow(0);
    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("姓名：")), 0, 0);
    grid->addWidget(name, 0, 1);
    grid->addWidget(lines_, 1, 0, 1, 2);
    grid->addWidget(OkCancel(*this, deleting ? QStringLiteral("刪除") : QStringLiteral("排盤")), 2, 0, 1, 2);
    connect(lines_, &QListWidget::itemDoubleClicked, this, &PersonPickDialog::accept);
}

void PersonPickDialog::accept() {
    const int row = lines_->currentRow();
    if (row < 0 || row >= static_cast<int>(numbers_.size())) return;
    picked_ = numbers_[row];
    QDialog::accept();
}

}  // namespace qv::ui

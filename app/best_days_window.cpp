#include "best_days_window.h"

#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <cmath>

#include "client_line.h"
#include "picture_export.h"
#include "engine/texts/string_table.h"
#include "engine/texts/text_ids.h"
#include "paint_helpers.h"
#include "tool_window_place.h"

namespace qv::ui {
namespace {


QDate ToQDate(const CivilDate& d) { return QDate(d.Year, d.Month, d.Day); }
CivilDate ToCivil(const QDate& d) { return CivilDate{d.year(), d.month(), d.day()}; }

QPushButton* Button(const char* text, const char* name) {
    auto* b = new QPushButton(QString::fromUtf8(text));
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

}  // namespace

CBestDaysWnd::CBestDaysWnd(std::unique_ptr<ChartRecord> first, const CivilDate& today, TwoPersonHooks hooks,
                           DayOpener openDay, QWidget* owner)
    : QDialog(owner), persons_{std::move(first), nullptr}, hooks_(std::move(hooks)), openDay_(std::move(openDay)),
      days_(std::make_unique<BestDays>()) {
    setObjectName(QStringLiteral("bestDaysWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(Utf8(StringText(BestDaysTitleText)));
    // The size of the 1024 x 768 layouts, scaled as they are, within the screen.
    const QRect screen = ToolScreenArea(owner);
    const QMargins frame = ToolWindowFrame(*this);
    const double scale = ScreenScale(screen.size());
    ScaleControlFont(*this, scale);  // before the widgets, so that the table's rows and headings follow
    BuildWidgets(today);
    List();
    setGeometry(CentredClient(QSize(int(std::lround(860 * scale)), int(std::lround(700 * scale))), frame, screen));
}

CBestDaysWnd::~CBestDaysWnd() = default;

void CBestDaysWnd::BuildWidgets(const CivilDate& today) {
    auto* form = new QFormLayout;
    for (int side = 0; side < 2; ++side) {
        auto* row = new QHBoxLayout;
        who_[side] = new QLabel;
        row->addWidget(who_[side], 1);
        QPushButton* choose = Button(side == 0 ? "選擇(&A)..." : "選擇(&B)...", side == 0 ? "choosePersonA" : "choosePersonB");
        connect(choose, &QPushButton::clicked, this, [this, side] { ChoosePerson(side); });
        row->addWidget(choose);
        if (side == 1) {
            drop_ = Button("只看甲方(&O)", "dropPersonB");
            connect(drop_, &QPushButton::clicked, this, &CBestDaysWnd::DropSecond);
            row->addWidget(drop_);
        }
        form->addRow(Utf8(StringText(side == 0 ? PersonAText : PersonBText)) + u'：', row);
    }
    category_ = new QComboBox;
    category_->setObjectName(QStringLiteral("categoryBox"));
    for (const DayCategory& c : DayCategories) category_->addItem(QString::fromUtf8(c.Name), c.Category);
    auto* range = new QHBoxLayout;
    from_ = new QDateEdit(ToQDate(today));
    to_ = new QDateEdit(ToQDate(today).addYears(1).addDays(-1));
    for (QDateEdit* edit : {from_, to_}) {
        edit->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
        edit->setCalendarPopup(true);
        connect(edit, &QDateEdit::dateChanged, this, &CBestDaysWnd::List);
    }
    from_->setObjectName(QStringLiteral("fromDate"));
    to_->setObjectName(QStringLiteral("toDate"));
    auto* fromLabel = new QLabel(QStringLiteral("自(&F)"));
    fromLabel->setBuddy(from_);
    auto* toLabel = new QLabel(QStringLiteral("至(&T)"));
    toLabel->setBuddy(to_);
    auto* categoryLabel = new QLabel(QStringLiteral("類別(&C)"));
    categoryLabel->setBuddy(category_);
    for (QWidget* w : std::initializer_list<QWidget*>{categoryLabel, category_, fromLabel, from_, toLabel, to_}) range->addWidget(w);
    range->addStretch();
    connect(category_, &QComboBox::currentIndexChanged, this, &CBestDaysWnd::List);

    table_ = new QTableWidget(0, BestDaysColumnCount);
    table_->setObjectName(QStringLiteral("daysTable"));
    QStringList headings;
    for (int column = 0; column < BestDaysColumnCount; ++column) headings << BestDaysHeading(column);
    table_->setHorizontalHeaderLabels(headings);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->verticalHeader()->hide();
    // The rows and headings at the window's own size of text, which a large screen has grown.
    table_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() * 3 / 2);
    table_->horizontalHeader()->setFont(font());
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    // Enter, or a double-click (a single one where the style activates so).
    connect(table_, &QTableWidget::activated, this, &CBestDaysWnd::OpenCurrentDay);

    status_ = new QLabel;
    status_->setObjectName(QStringLiteral("statusLine"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(status_, 1);
    AddPrintAndExport(*buttons, *this, [this] { Print(); }, [this] { ExportPicture(); });
    QPushButton* open = Button("開啟萬年曆(&K)", "openDayButton");
    connect(open, &QPushButton::clicked, this, &CBestDaysWnd::OpenCurrentDay);
    QPushButton* close = Button("關閉", "closeButton");
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addWidget(open);
    buttons->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(range);
    layout->addWidget(table_, 1);
    layout->addLayout(buttons);
}

QString CBestDaysWnd::PersonLine(int side) const {
    return persons_[side] ? QString::fromStdString(ClientLine(*persons_[side])) : QStringLiteral("（無，只看甲方）");
}

void CBestDaysWnd::ChoosePerson(int side) {
    if (auto chosen = ChooseCharted(hooks_)) {
        persons_[side] = std::move(chosen);
        List();
    }
}

void CBestDaysWnd::DropSecond() {
    persons_[1].reset();
    List();
}

void CBestDaysWnd::SetRange(const CivilDate& from, const CivilDate& to) {
    const QSignalBlocker quiet(from_);
    from_->setDate(ToQDate(from));
    to_->setDate(ToQDate(to));  // lists, as a user's change does
}

void CBestDaysWnd::SetCategoryIndex(int index) { category_->setCurrentIndex(index); }

void CBestDaysWnd::List() {
    for (int side = 0; side < 2; ++side) who_[side]->setText(PersonLine(side));
    drop_->setEnabled(persons_[1] != nullptr);
    const int category = category_->currentData().toInt();
    listed_ = FindBestDays(*persons_[0], persons_[1].get(), category, ToCivil(from_->date()), ToCivil(to_->date()), *days_);
    if (!listed_) days_->Count = 0;
    FillTable();
    status_->setText(listed_ ? QStringLiteral("共 %1 日，依%2取值排列；沖日支之日排在最後。")
                                   .arg(days_->Count)
                                   .arg(persons_[1] ? QStringLiteral("兩人中較低的") : QString())
                             : QStringLiteral("日期須由先而後，最多一年，且在節氣表的年份之內。"));
}

void CBestDaysWnd::FillTable() {
    const bool two = persons_[1] != nullptr;
    table_->setColumnHidden(ValueB, !two);
    table_->setColumnHidden(RelationB, !two);
    table_->setRowCount(days_->Count);
    for (int row = 0; row < days_->Count; ++row) {
        const BestDay& d = days_->Days[row];
        for (int column = 0; column < BestDaysColumnCount; ++column) {
            auto* item = new QTableWidgetItem(BestDaysCell(d, row, column));
            item->setTextAlignment(Qt::AlignCenter);
            if (d.Clash) item->setForeground(ClashColor);
            table_->setItem(row, column, item);
        }
    }
    if (days_->Count > 0) table_->setCurrentCell(0, DateColumn);
}

BestDaysSheet CBestDaysWnd::Sheet() const {
    return BestDaysSheet{days_.get(), persons_[0].get(), persons_[1].get(), category_->currentText().toStdString(),
                         ToCivil(from_->date()), ToCivil(to_->date())};
}

bool CBestDaysWnd::PrintOn(QPrinter& printer) const {
    const BestDaysSheet sheet = Sheet();
    const QRectF page(QPointF(0, 0), printer.pageLayout().paintRectPixels(printer.resolution()).size());
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    for (int k = 0; k < BestDaysPageCount(sheet, page.size()); ++k) {
        if (k > 0 && !printer.newPage()) return false;
        PaintBestDaysPage(painter, sheet, page, k);
    }
    return painter.end();
}

// A list down the page.
void CBestDaysWnd::Print() {
    PrintThrough(hooks_, this, QPageLayout::Portrait, BestDaysTitleText,
                 [this](QPrinter& printer) { return PrintOn(printer); });
}

void CBestDaysWnd::ExportPicture() {
    const BestDaysSheet sheet = Sheet();
    const QSize page = BestDaysListSize(sheet);
    ExportPictureTelling(this, page, PersonsPictureName(*persons_[0], persons_[1].get(), BestDaysTitleText),
                         [&sheet, page](QPainter& painter) { PaintBestDaysPage(painter, sheet, QRectF(QPointF(0, 0), page), 0); });
}

void CBestDaysWnd::OpenCurrentDay() {
    const int row = table_->currentRow();
    if (row < 0 || row >= days_->Count || !openDay_) return;
    openDay_(days_->Days[row].Date);
}

}  // namespace qv::ui

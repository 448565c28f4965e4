#include "candidates_window.h"

#include <QApplication>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "clock_note.h"
#include "engine/texts/string_table.h"
#include "engine/texts/text_ids.h"
#include "paint_helpers.h"

namespace qv::ui {
namespace {


// Each row of the table: its title and the text of a candidate.
struct FieldRow {
    const char* Title;
    QString (*Of)(const CandidateChart&);
};

// The date over the time, so that a day's columns fit the screen side by side.
QString CellMomentText(const Moment& m) { return Utf8(MomentText(m)).replace(QLatin1Char(' '), QLatin1Char('\n')); }

QString PillarOf(int pillar) { return Text(text_base::Stem + pillar % 10) + Text(text_base::Branch + pillar % 12); }

QString ChangesText(unsigned changes) {
    QStringList names;
    for (int bit = 0; bit < 5; ++bit)
        if (changes & (1u << bit)) names << Text(text_base::PillarChange + bit);
    return names.isEmpty() ? QStringLiteral("－") : names.join(QLatin1Char(' '));
}

QString RoleText(const CandidateChart& c, int role) { return Text(text_base::Element + c.Roles[role]); }

const FieldRow Rows[] = {
    {"起", [](const CandidateChart& c) { return CellMomentText(c.Candidate.FirstOnClock()); }},
    {"迄", [](const CandidateChart& c) { return CellMomentText(c.Candidate.LastOnClock()); }},
    {"年柱", [](const CandidateChart& c) { return PillarOf(c.Candidate.Span.Pillars.Pillar[0]); }},
    {"月柱", [](const CandidateChart& c) { return PillarOf(c.Candidate.Span.Pillars.Pillar[1]); }},
    {"日柱", [](const CandidateChart& c) { return PillarOf(c.Candidate.Span.Pillars.Pillar[2]); }},
    {"時柱", [](const CandidateChart& c) { return PillarOf(c.Candidate.Span.Pillars.Pillar[3]); }},
    {"起點變化", [](const CandidateChart& c) { return ChangesText(c.Candidate.Span.Changes); }},
    {"大運", [](const CandidateChart& c) { return Text(c.LuckForward ? ForwardText : BackwardText); }},
    {"起運", [](const CandidateChart& c) { return QString::number(c.LuckStartAge) + Text(LuckStartText); }},
    {"首三步大運",
     [](const CandidateChart& c) {
         QStringList pillars;
         for (int i = 0; i < CandidateLuckPillars; ++i)
             pillars << Text(text_base::Stem + c.LuckStem[i]) + Text(text_base::Branch + c.LuckBranch[i]);
         return pillars.join(QLatin1Char(' '));
     }},
    {"日主", [](const CandidateChart& c) { return Text(c.Strong ? StrongText : WeakText); }},
    {"用神", [](const CandidateChart& c) { return RoleText(c, 0); }},
    {"喜神", [](const CandidateChart& c) { return RoleText(c, 1); }},
    {"忌神", [](const CandidateChart& c) { return RoleText(c, 3); }},
    {"仇神", [](const CandidateChart& c) { return RoleText(c, 4); }},
    {"特殊格局", [](const CandidateChart& c) { return c.Pattern >= 0 ? Text(text_base::Pattern + c.Pattern) : Text(NoPatternText); }},
};

// The sort choices: the orders, then a favoured element each.
constexpr const char* OrderNames[] = {"時間先後", "身強在前", "身弱在前", "起運早在前", "有特殊格局在前"};

QDateTime ToQt(const Moment& m) { return QDateTime(QDate(m.Year, m.Month, m.Day), QTime(m.Hour, m.Minute)); }
Moment FromQt(const QDateTime& t) {
    return Moment{t.date().year(), t.date().month(), t.date().day(), t.time().hour(), t.time().minute()};
}

QDateTimeEdit* TimeBox(const char* name, const Moment& m) {
    auto* box = new QDateTimeEdit(ToQt(m));
    box->setObjectName(QString::fromLatin1(name));
    box->setDisplayFormat(QStringLiteral("yyyy-MM-dd HH:mm"));
    box->setMinimumDate(QDate(1801, 1, 1));
    box->setMaximumDate(QDate(2100, 12, 31));
    box->setCalendarPopup(true);
    return box;
}

}  // namespace

void SortCandidates(std::vector<CandidateChart>& charts, CandidateOrder order, int element) {
    const auto key = [order, element](const CandidateChart& c) {
        switch (order) {
            case CandidateOrder::StrongFirst: return c.Strong ? 0 : 1;
            case CandidateOrder::WeakFirst: return c.Strong ? 1 : 0;
            case CandidateOrder::EarlyLuckFirst: return c.LuckStartAge;
            case CandidateOrder::PatternFirst: return c.Pattern >= 0 ? 0 : 1;
            case CandidateOrder::FavouredElement: return c.Roles[0] == element || c.Roles[1] == element ? 0 : 1;
            case CandidateOrder::Time: break;
        }
        return 0;
    };
    std::stable_sort(charts.begin(), charts.end(), [&key](const CandidateChart& a, const CandidateChart& b) {
        if (key(a) != key(b)) return key(a) < key(b);
        return a.Candidate.Span.First < b.Candidate.Span.First;
    });
}

CandidatesWindow::CandidatesWindow(CandidateLister lister, const CandidateRequest& request, QWidget* parent)
    : QDialog(parent), lister_(std::move(lister)), request_(request) {
    setWindowTitle(QStringLiteral("時辰不確定：這段時間內的每一種命盤"));
    const CivilDate& d = request.Date;
    from_ = TimeBox("from", Moment{d.Year, d.Month, d.Day, 0, 0});
    until_ = TimeBox("until", Moment{d.Year, d.Month, d.Day, 23, 59});
    auto* list = new QPushButton(QStringLiteral("列出(&L)"));
    list->setObjectName(QStringLiteral("list"));
    list->setAutoDefault(false);
    order_ = new QComboBox;
    order_->setObjectName(QStringLiteral("order"));
    for (const char* name : OrderNames) order_->addItem(QString::fromUtf8(name));
    for (int e = 0; e < 5; ++e) order_->addItem(QStringLiteral("喜用神有%1在前").arg(Text(text_base::Element + e)));

    auto* range = new QHBoxLayout;
    range->addWidget(new QLabel(QStringLiteral("從")));
    range->addWidget(from_);
    range->addWidget(new QLabel(QStringLiteral("到")));
    range->addWidget(until_);
    range->addWidget(list);
    range->addSpacing(16);
    range->addWidget(new QLabel(QStringLiteral("排序：")));
    range->addWidget(order_);
    range->addStretch();

    table_ = new QTableWidget(static_cast<int>(std::size(Rows)), 0);
    table_->setObjectName(QStringLiteral("candidates"));
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectColumns);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    QStringList titles;
    for (const FieldRow& row : Rows) titles << QString::fromUtf8(row.Title);
    table_->setVerticalHeaderLabels(titles);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);

    auto* note = new QLabel(QStringLiteral("時間以出生地的時鐘計，依個人資料所選的時區與真太陽時排盤；各欄取其時段中間的一分鐘。雙擊一欄或按「選用」填入出生時間。"));
    note->setWordWrap(true);
    problem_ = new QLabel;
    problem_->setObjectName(QStringLiteral("problem"));
    problem_->setStyleSheet(QStringLiteral("color: #b00000"));
    problem_->hide();
    auto* buttons = new QDialogButtonBox;
    buttons->addButton(QStringLiteral("選用"), QDialogButtonBox::AcceptRole)->setObjectName(QStringLiteral("choose"));
    buttons->addButton(QStringLiteral("關閉"), QDialogButtonBox::RejectRole);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(range);
    layout->addWidget(table_, 1);
    layout->addWidget(note);
    layout->addWidget(problem_);
    layout->addWidget(buttons);

    connect(list, &QPushButton::clicked, this, &CandidatesWindow::List);
    connect(order_, &QComboBox::currentIndexChanged, this, [this] { Sort(), Fill(); });
    // A double click or Enter on a column.
    connect(table_, &QTableWidget::cellActivated, this, [this] { accept(); });
    connect(buttons, &QDialogButtonBox::accepted, this, &CandidatesWindow::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CandidatesWindow::reject);
    List();
    table_->setFocus();
    // As wide as the columns need, within the screen.
    const QRect screen = (parent ? parent->screen() : QApplication::primaryScreen())->availableGeometry();
    const int wanted = table_->verticalHeader()->width() + table_->horizontalHeader()->length() + 60;
    resize(std::min(std::max(wanted, 640), screen.width() - 40), std::min(sizeHint().height() + 40, screen.height() - 60));
}

void CandidatesWindow::List() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool ok = lister_(request_.Clock, request_.Sex, FromQt(from_->dateTime()), FromQt(until_->dateTime()), charts_);
    QApplication::restoreOverrideCursor();
    if (!ok) charts_.clear();
    problem_->setText(Text(SpanRangeText));
    problem_->setVisible(!ok);
    Sort();
    Fill();
}

void CandidatesWindow::Sort() {
    const int i = order_->currentIndex();
    const int orders = static_cast<int>(std::size(OrderNames));
    SortCandidates(charts_, i < orders ? static_cast<CandidateOrder>(i) : CandidateOrder::FavouredElement, i - orders);
}

void CandidatesWindow::Fill() {
    table_->setColumnCount(static_cast<int>(charts_.size()));
    for (int col = 0; col < static_cast<int>(charts_.size()); ++col) {
        table_->setHorizontalHeaderItem(col, new QTableWidgetItem(QString::number(col + 1)));
        for (int row = 0; row < static_cast<int>(std::size(Rows)); ++row) {
            auto* item = new QTableWidgetItem(Rows[row].Of(charts_[static_cast<size_t>(col)]));
            item->setTextAlignment(Qt::AlignCenter);
            table_->setItem(row, col, item);
        }
    }
    table_->resizeRowsToContents();
    // Every field in sight: the table as tall as its rows, within the screen.
    const int rows = table_->horizontalHeader()->height() + table_->verticalHeader()->length() +
                     2 * table_->frameWidth() + table_->horizontalScrollBar()->sizeHint().height();
    table_->setMinimumHeight(std::min(rows, screen()->availableGeometry().height() - 200));
    if (!charts_.empty()) table_->setCurrentCell(0, 0);
}

void CandidatesWindow::accept() {
    const int col = table_->currentColumn();
    if (col < 0 || col >= static_cast<int>(charts_.size())) return;
    chosen_ = charts_[static_cast<size_t>(col)].Candidate.MiddleOnClock();
    QDialog::accept();
}

}  // namespace qv::ui

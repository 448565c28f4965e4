#include "pillar_search_window.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "clock_note.h"
#include "engine/texts/string_table.h"
#include "engine/texts/text_ids.h"
#include "paint_helpers.h"

namespace qv::ui {
namespace {

// A year pillar recurs five times in 300 years, each time with one month of
// the pillar and in it a day or two.
constexpr size_t MaxRanges = 64;
constexpr const char* PillarTitles[4] = {"年柱", "月柱", "日柱", "時柱"};
constexpr const char* RuleNames[3] = {"早子時", "一般子時", "夜子時"};


QString PillarName(int pillar) { return Text(text_base::Stem + pillar % 10) + Text(text_base::Branch + pillar % 12); }

QString MomentShown(ClockMinute minute) { return Utf8(MomentText(MomentOfClockMinute(minute))); }

QString LunarText(ClockMinute minute, int rule) {
    LunarDate d{};
    if (!LunarDateAt(MomentOfClockMinute(minute), rule, d)) return QStringLiteral("－");
    return QStringLiteral("%1年%2%3月%4日").arg(d.Year).arg(d.Leap ? QStringLiteral("閏") : QString()).arg(d.Month).arg(d.Day);
}

QSpinBox* YearBox(const char* name, int value) {
    auto* box = new QSpinBox;
    box->setObjectName(QString::fromLatin1(name));
    box->setRange(DefaultSearchFirstYear, DefaultSearchLastYear);
    box->setValue(value);
    return box;
}

}  // namespace

PillarSearchWindow::PillarSearchWindow(const SolarTermTable& table, int ratHourRule, NewPersonAtMoment newPerson,
                                       QWidget* parent)
    : QDialog(parent), table_(table), newPerson_(std::move(newPerson)) {
    setWindowTitle(QStringLiteral("八字反查"));
    auto* choices = new QGridLayout;
    for (int p = 0; p < 4; ++p) {
        pillars_[p] = new QComboBox;
        pillars_[p]->setObjectName(QStringLiteral("pillar%1").arg(p));
        // The day and the hour may be unknown; year and month are needed.
        if (p >= 2) pillars_[p]->addItem(QStringLiteral("（不指定）"), -1);
        for (int n = 0; n < 60; ++n) pillars_[p]->addItem(PillarName(n), n);
        choices->addWidget(new QLabel(QString::fromUtf8(PillarTitles[p])), 0, p);
        choices->addWidget(pillars_[p], 1, p);
    }
    rule_ = new QComboBox;
    rule_->setObjectName(QStringLiteral("ratHour"));
    for (const char* name : RuleNames) rule_->addItem(QString::fromUtf8(name));
    rule_->setCurrentIndex(std::clamp(ratHourRule, 0, 2));
    firstYear_ = YearBox("firstYear", DefaultSearchFirstYear);
    lastYear_ = YearBox("lastYear", DefaultSearchLastYear);
    auto* search = new QPushButton(QStringLiteral("查詢(&S)"));
    search->setObjectName(QStringLiteral("search"));
    search->setDefault(true);
    auto* options = new QHBoxLayout;
    options->addWidget(new QLabel(QStringLiteral("子時排法：")));
    options->addWidget(rule_);
    options->addSpacing(12);
    options->addWidget(new QLabel(QStringLiteral("年份：")));
    options->addWidget(firstYear_);
    options->addWidget(new QLabel(QStringLiteral("至")));
    options->addWidget(lastYear_);
    options->addStretch();
    options->addWidget(search);

    list_ = new QTableWidget(0, 4);
    list_->setObjectName(QStringLiteral("ranges"));
    list_->setHorizontalHeaderLabels({QStringLiteral("起（國曆）"), QStringLiteral("迄（國曆）"), QStringLiteral("起（農曆）"),
                                      QStringLiteral("迄（農曆）")});
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    status_ = new QLabel;
    status_->setObjectName(QStringLiteral("status"));
    status_->setWordWrap(true);
    auto* hint = new QLabel(QStringLiteral("雙擊一列（或按 Enter）以該時段的中間時刻新增個人資料。"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("關閉"));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(choices);
    layout->addLayout(options);
    layout->addWidget(status_);
    layout->addWidget(list_, 1);
    layout->addWidget(hint);
    layout->addWidget(buttons);
    connect(search, &QPushButton::clicked, this, &PillarSearchWindow::Search);
    // A double click or Enter on a row.
    connect(list_, &QTableWidget::cellActivated, this, [this](int row) { OpenRow(row); });
    connect(buttons, &QDialogButtonBox::rejected, this, &PillarSearchWindow::reject);
    resize(760, 480);
}

void PillarSearchWindow::Search() {
    PillarQuery q;
    q.Count = 2;
    for (int p = 0; p < 4; ++p) {
        const int n = pillars_[p]->currentData().toInt();
        q.Pillar[p] = n;
        // An unknown day leaves the hour out as well.
        if (p >= 2 && n >= 0 && q.Count == p) q.Count = p + 1;
    }
    q.RatHourRule = rule_->currentIndex();
    q.FirstYear = firstYear_->value();
    q.LastYear = lastYear_->value();
    std::vector<PillarRange> ranges(MaxRanges);
    const PillarSearchResult r = FindPillarRanges(table_, q, ranges);
    found_.assign(ranges.begin(), ranges.begin() + static_cast<std::ptrdiff_t>(std::min(r.Found, ranges.size())));
    list_->setRowCount(static_cast<int>(found_.size()));
    for (int row = 0; row < static_cast<int>(found_.size()); ++row) {
        const PillarRange& range = found_[static_cast<size_t>(row)];
        const QString cells[4] = {MomentShown(range.First), MomentShown(range.Last),
                                  LunarText(range.First, q.RatHourRule), LunarText(range.Last, q.RatHourRule)};
        for (int c = 0; c < 4; ++c) list_->setItem(row, c, new QTableWidgetItem(cells[c]));
    }
    if (r.Problem != PillarQueryProblem::None) {
        status_->setStyleSheet(QStringLiteral("color: #b00000"));
        status_->setText(Text(PillarQueryProblemText(r.Problem)));
    } else if (found_.empty()) {
        status_->setStyleSheet(QStringLiteral("color: #b00000"));
        status_->setText(Text(NothingFoundText) + QStringLiteral("（%1–%2）").arg(q.FirstYear).arg(q.LastYear));
    } else {
        status_->setStyleSheet(QString());
        status_->setText(QStringLiteral("共 %1 個時段").arg(found_.size()));
        list_->setCurrentCell(0, 0);
    }
}

Moment PillarSearchWindow::MiddleOf(const PillarRange& r) { return MomentOfClockMinute((r.First + r.Last) / 2); }

std::string PillarSearchWindow::RangeNote(const PillarRange& r) {
    return (QStringLiteral("八字反查：") + MomentShown(r.First) + QStringLiteral(" 至 ") +
            MomentShown(r.Last))
        .toStdString();
}

void PillarSearchWindow::OpenRow(int row) {
    if (row < 0 || row >= static_cast<int>(found_.size()) || !newPerson_) return;
    const PillarRange& r = found_[static_cast<size_t>(row)];
    newPerson_(MiddleOf(r), RangeNote(r));
}

}  // namespace qv::ui

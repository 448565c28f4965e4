#include "calendar_window.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QVBoxLayout>

#include "paint_helpers.h"
#include "picture_export.h"
#include "tool_window_place.h"

namespace qv::ui {

// The drawing area: the picture scaled onto it, clicks mapped back to days.
class CalendarCanvas : public QWidget {
public:
    explicit CalendarCanvas(CCalendarWnd& owner) : QWidget(&owner), owner_(owner) {
        setObjectName(QStringLiteral("calendarGrid"));
        // The grid holds the keyboard: its keys go on to the window's handler.
        setFocusPolicy(Qt::StrongFocus);
        setMinimumSize(CalendarPageSize() / 2);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::TextAntialiasing);
        painter.fillRect(rect(), Qt::white);
        ScaleToLogicalPage(painter, CalendarPageSize(), size());
        if (owner_.hooks_.RatHourRule) owner_.picture_.RatHourRule = owner_.hooks_.RatHourRule();
        PaintCalendar(painter, owner_.picture_);
    }
    void mousePressEvent(QMouseEvent* event) override {
        if (const int day = CalendarDayAt(owner_.picture_, owner_.PagePoint(event->position()))) owner_.SelectDay(day);
    }
    void mouseDoubleClickEvent(QMouseEvent* event) override {
        if (const int day = CalendarDayAt(owner_.picture_, owner_.PagePoint(event->position()))) {
            owner_.SelectDay(day);
            owner_.OpenNewPerson();
        }
    }

private:
    CCalendarWnd& owner_;
};

namespace {

QPushButton* Button(const QString& text, const QString& tip, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setToolTip(tip);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

}  // namespace

CCalendarWnd::CCalendarWnd(const SolarTermTable& table, const CivilDate& today, Hooks hooks, QWidget* owner,
                           const std::vector<QRect>& keepClear)
    : QWidget(owner, Qt::Window), table_(table), hooks_(std::move(hooks)) {
    setObjectName(QStringLiteral("calendarWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFocusPolicy(Qt::StrongFocus);
    picture_.Today = today;
    picture_.Table = &table_;
    BuildControls();
    setFocusProxy(canvas_);
    canvas_->setFocus();
    ShowToday();
    // Three quarters of a 1024 x 768 screen's height in the page's shape, with
    // the button row, scaled and placed as the other tool windows.
    const int pageHeight = 768 * 3 / 4 - 40;
    const QSize logical(pageHeight * CalendarPageSize().width() / CalendarPageSize().height() + 12, pageHeight + 40);
    const ToolPlacement place = PlaceToolWindow(logical, 0, ToolWindowFrame(*this), ToolScreenArea(owner), keepClear,
                                                ToolAnchor::BottomRight);
    ScaleControlFont(*this, place.Scale);
    setGeometry(place.Client);
}

void CCalendarWnd::BuildControls() {
    auto* bar = new QHBoxLayout;
    auto* previousYear = Button(QStringLiteral("« 上一年"), QStringLiteral("Ctrl+Page Up"), this);
    auto* previousMonth = Button(QStringLiteral("‹ 上個月"), QStringLiteral("Page Up"), this);
    auto* nextMonth = Button(QStringLiteral("下個月 ›"), QStringLiteral("Page Down"), this);
    auto* nextYear = Button(QStringLiteral("下一年 »"), QStringLiteral("Ctrl+Page Down"), this);
    auto* today = Button(QStringLiteral("今天"), QStringLiteral("Home"), this);
    auto* print = Button(QStringLiteral("列印..."), QStringLiteral("Ctrl+P"), this);
    yearBox_ = new QSpinBox(this);
    yearBox_->setObjectName(QStringLiteral("calendarYear"));
    yearBox_->setRange(table_.FirstYear, table_.LastYear);
    yearBox_->setSuffix(QStringLiteral(" 年"));
    yearBox_->setKeyboardTracking(false);  // a year typed digit by digit is chosen once, when complete
    monthBox_ = new QComboBox(this);
    monthBox_->setObjectName(QStringLiteral("calendarMonth"));
    for (int m = 1; m <= 12; ++m) monthBox_->addItem(QStringLiteral("%1 月").arg(m));
    bar->addWidget(previousYear);
    bar->addWidget(previousMonth);
    bar->addStretch();
    bar->addWidget(yearBox_);
    bar->addWidget(monthBox_);
    bar->addWidget(today);
    bar->addStretch();
    bar->addWidget(print);
    bar->addWidget(nextMonth);
    bar->addWidget(nextYear);
    canvas_ = new CalendarCanvas(*this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(bar);
    layout->addWidget(canvas_, 1);
    connect(previousYear, &QPushButton::clicked, this, [this] { MoveMonths(-12); });
    connect(previousMonth, &QPushButton::clicked, this, [this] { MoveMonths(-1); });
    connect(nextMonth, &QPushButton::clicked, this, [this] { MoveMonths(1); });
    connect(nextYear, &QPushButton::clicked, this, [this] { MoveMonths(12); });
    connect(today, &QPushButton::clicked, this, [this] { ShowToday(); });
    connect(print, &QPushButton::clicked, this, [this] { Print(); });
    auto chosen = [this] {
        if (!choosing_) ShowMonth(yearBox_->value(), monthBox_->currentIndex() + 1);
    };
    connect(yearBox_, &QSpinBox::valueChanged, this, chosen);
    connect(monthBox_, &QComboBox::currentIndexChanged, this, chosen);
    // After a month is picked from the list the arrows move the day again.
    connect(monthBox_, &QComboBox::activated, this, [this] { canvas_->setFocus(); });
}

void CCalendarWnd::ShowMonth(int year, int month) {
    // Clamp into the table's months: the first and the last month stay reachable.
    int index = std::clamp(year * 12 + month - 1, table_.FirstYear * 12, table_.LastYear * 12 + 11);
    if (!FillMonthCalendar(table_, index / 12, index % 12 + 1, picture_.Month)) return;
    picture_.SelectedDay = std::clamp(picture_.SelectedDay, 1, picture_.Month.DayCount);
    setWindowTitle(QStringLiteral("萬年曆 - ") + CalendarMonthTitle(picture_.Month.Year, picture_.Month.Month));
    ShowChoice();
    canvas_->update();
}

void CCalendarWnd::ShowChoice() {
    choosing_ = true;
    yearBox_->setValue(picture_.Month.Year);
    monthBox_->setCurrentIndex(picture_.Month.Month - 1);
    choosing_ = false;
}

void CCalendarWnd::SelectDay(int day) {
    picture_.SelectedDay = std::clamp(day, 1, picture_.Month.DayCount);
    canvas_->update();
}

void CCalendarWnd::MoveMonths(int months) {
    ShowMonth(picture_.Month.Year, picture_.Month.Month + months);
}

void CCalendarWnd::ShowToday() {
    const CivilDate& t = picture_.Today;
    picture_.SelectedDay = t.Day;
    ShowMonth(t.Year, t.Month);
}

QPointF CCalendarWnd::PagePoint(QPointF widgetPoint) const {
    return LogicalPageTransform(CalendarPageSize(), canvas_->size()).inverted().map(widgetPoint);
}

void CCalendarWnd::OpenNewPerson() {
    if (hooks_.NewPerson && picture_.SelectedDay > 0) hooks_.NewPerson(picture_.Month.Days[picture_.SelectedDay - 1].Date);
}

bool CCalendarWnd::PrintOn(QPrinter& printer) const {
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
    ScaleToLogicalPage(painter, CalendarPageSize(), page.size());
    PaintCalendar(painter, picture_);
    return painter.end();
}

void CCalendarWnd::Print() {
    if (!hooks_.Printer) return;
    QPrinter& printer = hooks_.Printer();
    printer.setPageOrientation(QPageLayout::Landscape);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted) PrintOn(printer);
}

void CCalendarWnd::keyPressEvent(QKeyEvent* event) {
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    auto moveDay = [this](int by) {
        const int target = picture_.SelectedDay + by;
        if (target >= 1 && target <= picture_.Month.DayCount) return SelectDay(target);
        // Across the month's edge: the neighbouring month, on the day reached.
        const CivilDate d = AddDays(picture_.Month.Days[picture_.SelectedDay - 1].Date, by);
        if (!CalendarCoversMonth(table_, d.Year, d.Month)) return;
        picture_.SelectedDay = d.Day;
        ShowMonth(d.Year, d.Month);
    };
    switch (event->key()) {
    case Qt::Key_PageUp: MoveMonths(ctrl ? -12 : -1); break;
    case Qt::Key_PageDown: MoveMonths(ctrl ? 12 : 1); break;
    case Qt::Key_Home: ShowToday(); break;
    case Qt::Key_Escape: close(); break;
    case Qt::Key_Left: moveDay(-1); break;
    case Qt::Key_Right: moveDay(1); break;
    case Qt::Key_Up: moveDay(-7); break;
    case Qt::Key_Down: moveDay(7); break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // Return in the year box ends the typing; only on the grid does it take the day.
        if (focusWidget() != canvas_) return QWidget::keyPressEvent(event);
        OpenNewPerson();
        break;
    case Qt::Key_P:
        if (ctrl) {
            Print();
            break;
        }
        return QWidget::keyPressEvent(event);
    case Qt::Key_S: ExportPicture(); break;
    default: QWidget::keyPressEvent(event); return;
    }
    event->accept();
}

void CCalendarWnd::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    connect(menu.addAction(QStringLiteral("列印...\tCtrl+P")), &QAction::triggered, this, &CCalendarWnd::Print);
    connect(menu.addAction(QStringLiteral("匯出圖片...\tS")), &QAction::triggered, this, &CCalendarWnd::ExportPicture);
    menu.exec(event->globalPos());
}

void CCalendarWnd::ExportPicture() {
    ExportPictureTelling(this, CalendarPageSize(), CalendarMonthTitle(picture_.Month.Year, picture_.Month.Month),
                         [this](QPainter& painter) { PaintCalendar(painter, picture_); });
}

void CCalendarWnd::closeEvent(QCloseEvent* event) {
    if (hooks_.Closed) hooks_.Closed();
    QWidget::closeEvent(event);
}

}  // namespace qv::ui

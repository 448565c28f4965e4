// The perpetual calendar window as a user meets it: opened from the menu on
// today's month, paged by keys and buttons, and a day taken to a new person.
#include <QComboBox>
#include <QDate>
#include <QImage>
#include <QPrinter>
#include <QPushButton>
#include <QSpinBox>
#include <QMenuBar>

#include "calendar_window.h"
#include "tool_window_place.h"
#include "paint_helpers.h"
#include "person_dialog.h"
#include "shell_fixture.h"

namespace qv::test {
namespace {

using namespace qv::ui;

class CalendarWindowTest : public ShellTest {
protected:
    CCalendarWnd& Open() {
        StartProgram(root_, app_, frame_);
        ChooseCommand(*frame_, ID_CALENDAR_WINDOW);
        CCalendarWnd* w = frame_->CalendarWindow();
        if (!w) throw std::runtime_error("no calendar window");
        w->resize(1024, 800);
        return *w;
    }
    static QPoint CellCentre(CCalendarWnd& w, int day) {
        const QRectF cell = CalendarDayRect(w.Picture(), day);
        return LogicalPageTransform(CalendarPageSize(), w.Canvas()->size()).map(cell.center()).toPoint();
    }
    static std::pair<int, int> Shown(const CCalendarWnd& w) { return {w.Picture().Month.Year, w.Picture().Month.Month}; }
    static void Key(CCalendarWnd& w, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyClick(w.Canvas(), key, mods);  // where the keyboard is: the grid
    }
};

TEST_F(CalendarWindowTest, OpensModelessOnTodayAndPagesByKeysAndChoice) {
    CCalendarWnd& w = Open();
    const QDate today = QDate::currentDate();
    EXPECT_FALSE(w.isModal());
    EXPECT_EQ(Shown(w), std::make_pair(today.year(), today.month()));
    EXPECT_EQ(w.Picture().SelectedDay, today.day());
    EXPECT_EQ(w.Picture().Today, (CivilDate{today.year(), today.month(), today.day()}));

    w.ShowMonth(2025, 7);
    w.SelectDay(31);
    Key(w, Qt::Key_PageDown);
    EXPECT_EQ(Shown(w), std::make_pair(2025, 8));
    Key(w, Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_EQ(Shown(w), std::make_pair(2024, 8));
    Key(w, Qt::Key_PageUp);
    EXPECT_EQ(Shown(w), std::make_pair(2024, 7));
    EXPECT_EQ(w.Picture().SelectedDay, 31);
    Key(w, Qt::Key_Right);  // over the month's edge onto 1 August
    EXPECT_EQ(Shown(w), std::make_pair(2024, 8));
    EXPECT_EQ(w.Picture().SelectedDay, 1);
    Key(w, Qt::Key_Up);
    EXPECT_EQ(Shown(w), std::make_pair(2024, 7));
    EXPECT_EQ(w.Picture().SelectedDay, 25);
    Key(w, Qt::Key_Down);
    Key(w, Qt::Key_Left);
    EXPECT_EQ(Shown(w), std::make_pair(2024, 7));
    EXPECT_EQ(w.Picture().SelectedDay, 31);
    EXPECT_EQ(Child<QSpinBox>(w, "calendarYear").value(), 2024);
    EXPECT_EQ(Child<QComboBox>(w, "calendarMonth").currentIndex(), 6);

    Child<QComboBox>(w, "calendarMonth").setCurrentIndex(1);  // February: the 31st becomes the 29th
    EXPECT_EQ(Shown(w), std::make_pair(2024, 2));
    EXPECT_EQ(w.Picture().SelectedDay, 29);
    Child<QSpinBox>(w, "calendarYear").setValue(2100);
    Key(w, Qt::Key_PageDown, Qt::ControlModifier);  // nothing beyond the table's last month
    EXPECT_EQ(Shown(w), std::make_pair(2100, 12));
    w.ShowMonth(1700, 5);
    EXPECT_EQ(Shown(w), std::make_pair(1801, 1));
    Key(w, Qt::Key_Home);
    EXPECT_EQ(Shown(w), std::make_pair(today.year(), today.month()));
}

TEST_F(CalendarWindowTest, PlacedOffTheMenuAndClosedByEscapeOrItsMenuEntry) {
    StartProgram(root_, app_, frame_);
    ChooseCommand(*frame_, ID_CALENDAR_WINDOW);
    ASSERT_NE(frame_->CalendarWindow(), nullptr);
    const QRect placed = frame_->CalendarWindow()->geometry();
    EXPECT_GT(placed.top(), frame_->menuBar()->geometry().bottom()) << "not over the menu bar";
    EXPECT_TRUE(ToolScreenArea(frame_.get()).contains(placed)) << "on the screen";
    EXPECT_TRUE(frame_->Action(ID_CALENDAR_WINDOW)->isChecked());
    QTest::keyClick(frame_->CalendarWindow()->Canvas(), Qt::Key_Escape);
    QCoreApplication::processEvents();
    EXPECT_EQ(frame_->CalendarWindow(), nullptr);
    EXPECT_FALSE(frame_->Action(ID_CALENDAR_WINDOW)->isChecked());
    ChooseCommand(*frame_, ID_CALENDAR_WINDOW);
    ASSERT_NE(frame_->CalendarWindow(), nullptr);
    ChooseCommand(*frame_, ID_CALENDAR_WINDOW);  // the entry closes it again
    QCoreApplication::processEvents();
    EXPECT_EQ(frame_->CalendarWindow(), nullptr);
    // On a large screen the buttons grow with the window: their text keeps its share of its height.
    OverrideToolScreenArea(QRect(0, 0, 2560, 1440));
    ChooseCommand(*frame_, ID_CALENDAR_WINDOW);
    OverrideToolScreenArea(std::nullopt);
    ASSERT_NE(frame_->CalendarWindow(), nullptr);
    const double grown = frame_->CalendarWindow()->height() / double(768 * 3 / 4);
    ASSERT_GT(grown, 1.3);
    for (const QPushButton* button : frame_->CalendarWindow()->findChildren<QPushButton*>())
        EXPECT_GE(QFontMetrics(button->font()).height(), 0.8 * grown * QFontMetrics(frame_->font()).height())
            << button->text().toStdString();
}

TEST_F(CalendarWindowTest, DoubleClickOrReturnOpensTheNewPersonDialogOnTheDay) {
    CCalendarWnd& w = Open();
    w.ShowMonth(2025, 7);
    QApplication::processEvents();
    int dialogs = 0;
    auto expectDate = [&dialogs](int year, int month, int day) {
        WhenModal<PersonDialog>([&dialogs, year, month, day](PersonDialog& d) {
            ++dialogs;
            EXPECT_EQ(d.windowTitle(), QStringLiteral("請輸入個人資料"));
            const std::vector<int> shown = ShownBirth(d);
            EXPECT_EQ(std::vector<int>(shown.begin(), shown.begin() + 3), (std::vector<int>{year, month, day}));
            d.reject();
        });
    };
    expectDate(2025, 7, 25);
    QTest::mouseDClick(w.Canvas(), Qt::LeftButton, Qt::NoModifier, CellCentre(w, 25));
    ASSERT_TRUE(WaitUntil([&] { return dialogs == 1; }));
    EXPECT_EQ(w.Picture().SelectedDay, 25);
    expectDate(2025, 7, 26);
    Key(w, Qt::Key_Right);
    Key(w, Qt::Key_Return);
    ASSERT_TRUE(WaitUntil([&] { return dialogs == 2; }));
    // Return ending a typed year is no request for a person.
    QSpinBox& year = Child<QSpinBox>(w, "calendarYear");
    year.setFocus();
    year.selectAll();
    QTest::keyClicks(&year, "2024");
    QTest::keyClick(&year, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(Shown(w), std::make_pair(2024, 7));
    EXPECT_EQ(dialogs, 2);
    // A new person started afterwards from the menu starts on today again.
    const QDate today = QDate::currentDate();
    expectDate(today.year(), today.month(), today.day());
    ChooseCommand(*frame_, ID_NEW_PERSON);
    ASSERT_TRUE(WaitUntil([&] { return dialogs == 3; }));
}

// The window's picture: cells drawn for every day, today marked, the details
// beside the grid; another month paints differently.
TEST_F(CalendarWindowTest, TheGridIsPaintedAndFollowsTheMonth) {
    CCalendarWnd& w = Open();
    w.ShowMonth(2023, 3);
    w.SelectDay(22);
    const QImage march = w.Canvas()->grab().toImage();
    w.ShowMonth(2023, 4);
    const QImage april = w.Canvas()->grab().toImage();
    EXPECT_NE(march, april);
    EXPECT_EQ(CalendarDayAt(w.Picture(), CalendarDayRect(w.Picture(), 22).center()), 22);
    EXPECT_EQ(CalendarDayAt(w.Picture(), QPointF(2, 2)), 0);
    EXPECT_EQ(LunarDayText(w.Picture().Month.Days[19].Lunar), QStringLiteral("三月"));  // 20 April 2023
    EXPECT_EQ(LunarDayText(LunarDate{2023, 2, 1, true}), QStringLiteral("閏二月"));
    EXPECT_EQ(LunarDayText(LunarDate{2023, 12, 1, false}), QStringLiteral("臘月"));
    EXPECT_EQ(LunarDayText(LunarDate{2023, 3, 21, false}), QStringLiteral("廿一"));
    EXPECT_EQ(LunarDateWords(LunarDate{2025, 6, 1, true}), QStringLiteral("乙巳年閏六月初一"));

    // Printing goes through the same painting, here to Qt's PDF output.
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(root_.Root() + "/calendar.pdf"));
    ASSERT_TRUE(w.PrintOn(printer));
    EXPECT_EQ(ReadFileText(root_.Root() + "/calendar.pdf").substr(0, 5), "%PDF-");
}

}  // namespace
}  // namespace qv::test

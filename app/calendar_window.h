#pragma once
// The perpetual calendar (萬年曆): a modeless window showing a month with its
// lunar dates, pillars and terms, the chosen day's details, and a way from a
// day to a new person's chart.
#include <QWidget>
#include <functional>
#include <vector>

#include "calendar_paint.h"

class QComboBox;
class QPrinter;
class QSpinBox;

namespace qv::ui {

class CCalendarWnd : public QWidget {
    Q_OBJECT
public:
    struct Hooks {
        std::function<void(const CivilDate&)> NewPerson;  // double-click or Return on a day
        std::function<void()> Closed;
        std::function<QPrinter&()> Printer;               // the program's shared printer
        std::function<int()> RatHourRule;                 // the rule in force, read at each painting
    };
    // Opens on today's month (clamped into the table's range) with today chosen.
    // Placed as the other tool windows are, clear of the rectangles.
    CCalendarWnd(const SolarTermTable& table, const CivilDate& today, Hooks hooks, QWidget* owner,
                 const std::vector<QRect>& keepClear = {});

    // Shows the month (clamped into the table's range); the chosen day is kept when it exists.
    void ShowMonth(int year, int month);
    void SelectDay(int day);
    void MoveMonths(int months);
    void ShowToday();

    const CalendarPicture& Picture() const { return picture_; }
    // The page point under a point of the drawing area.
    QPointF PagePoint(QPointF widgetPoint) const;
    QWidget* Canvas() const { return canvas_; }
    bool PrintOn(QPrinter& printer) const;
    void Print();
    void ExportPicture();  // the month as shown, to a PNG or PDF file

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    friend class CalendarCanvas;
    void BuildControls();
    void ShowChoice();
    void OpenNewPerson();

    const SolarTermTable& table_;
    Hooks hooks_;
    CalendarPicture picture_;
    QWidget* canvas_ = nullptr;
    QSpinBox* yearBox_ = nullptr;
    QComboBox* monthBox_ = nullptr;
    bool choosing_ = false;  // the year and month boxes are being set, not chosen
};

}  // namespace qv::ui

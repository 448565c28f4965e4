#pragma once
// The perpetual calendar's picture: a month header, the month grid and the
// chosen day's details, drawn on a logical page over any QPainter (window,
// printer, PNG, PDF).
#include <QPainter>
#include <QPointF>
#include <QRectF>
#include <QSize>
#include <QString>

#include "engine/calendar/month_calendar.h"

namespace qv::ui {

struct CalendarPicture {
    MonthCalendar Month;
    CivilDate Today{0, 0, 0};       // marked when it falls in the month
    int SelectedDay = 0;            // 1-31, 0 for none (no details panel then)
    int RatHourRule = 1;            // of the hour pillars in the details
    const SolarTermTable* Table = nullptr;  // for the term in force in the details
};

// The logical page the picture is laid out on.
QSize CalendarPageSize();

void PaintCalendar(QPainter& painter, const CalendarPicture& picture);

// The page rectangle of a day's cell (1 to the month's length).
QRectF CalendarDayRect(const CalendarPicture& picture, int day);
// The day of the month whose cell holds the page point, 0 for none.
int CalendarDayAt(const CalendarPicture& picture, QPointF pagePoint);

// Texts of the picture, for tests and the window's title.
QString LunarDayText(const LunarDate& lunar);       // 初一 … 三十; a month's first day: 正月 … 臘月, 閏 before a leap month
QString LunarDateWords(const LunarDate& lunar);     // 乙巳年閏六月初一
QString CalendarMonthTitle(int year, int month);    // 2025年7月

}  // namespace qv::ui

#include "calendar_paint.h"

#include <QFont>
#include <algorithm>

#include "engine/fortune/fortune.h"
#include "engine/texts/string_table.h"
#include "paint_helpers.h"

namespace qv::ui {
namespace {

constexpr int PageWidth = 1024, PageHeight = 768;
constexpr int Margin = 12;
constexpr int HeaderHeight = 96;
constexpr int WeekdayRowHeight = 26;
constexpr int PanelWidth = 290;

const QColor Ink(0x20, 0x20, 0x20);
const QColor Weekend(0xC0, 0x20, 0x20);
const QColor LunarFirst(0x1A, 0x7A, 0x2E);
const QColor TermInk(0x1F, 0x4E, 0xA8);
const QColor Faint(0x70, 0x70, 0x70);
const QColor Rule(0xB0, 0xB0, 0xB0);
const QColor TodayFill(0xFF, 0xF3, 0xC4);
const QColor SelectedEdge(0x1F, 0x4E, 0xA8);
const QColor HeaderFill(0xF2, 0xEE, 0xE6);

const char* const DigitTexts[] = {"〇", "一", "二", "三", "四", "五", "六", "七", "八", "九", "十"};
const char* const MonthNames[] = {"正月", "二月", "三月", "四月", "五月", "六月",
                                  "七月", "八月", "九月", "十月", "冬月", "臘月"};
const char* const WeekdayNames[] = {"日", "一", "二", "三", "四", "五", "六"};

QString Pillar(int n) { return QString::fromStdString(PillarText(n)); }
QString TermName(int term) { return Utf8(StringText(text_base::Term + term)); }
QString Animal(int branch) { return Utf8(StringText(text_base::Animal + branch)); }
QString LeapMark() { return Utf8(StringText(LeapMonthText)); }

QString TwoDigits(int n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); }
QString Clock(int hour, int minute) { return TwoDigits(hour) + QLatin1Char(':') + TwoDigits(minute); }

QFont Font(int pixels, bool bold = false) {
    QFont f(ChartFontFamily());
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

bool ShowsDetails(const CalendarPicture& p) { return p.SelectedDay >= 1 && p.SelectedDay <= p.Month.DayCount; }

int FirstColumn(const CalendarPicture& p) { return p.Month.DayCount > 0 ? p.Month.Days[0].Weekday : 0; }

// The grid's rectangle: the page below the header, less the details panel.
QRect GridRect(const CalendarPicture& p) {
    const int right = ShowsDetails(p) ? PageWidth - Margin - PanelWidth - Margin : PageWidth - Margin;
    return QRect(QPoint(Margin, HeaderHeight + WeekdayRowHeight), QPoint(right, PageHeight - Margin));
}

}  // namespace

QRectF CalendarDayRect(const CalendarPicture& p, int day) {
    const QRect grid = GridRect(p);
    const int rows = (FirstColumn(p) + p.Month.DayCount + 6) / 7;  // weeks the month touches, 4 to 6
    const double w = grid.width() / 7.0, h = grid.height() / double(std::max(rows, 4));
    const int slot = FirstColumn(p) + day - 1;
    return QRectF(grid.left() + (slot % 7) * w, grid.top() + (slot / 7) * h, w, h);
}

namespace {


QString YearOfLunar(int lunarYear) {
    const int sexagenary = YearPillarOf(lunarYear);
    return Pillar(sexagenary) + QStringLiteral("年（") + Animal(sexagenary % 12) + QStringLiteral("）");
}

// The lunar years the month's days fall in, and the month pillars in force with the day each starts on.
void PaintHeader(QPainter& painter, const CalendarPicture& p) {
    const MonthCalendar& m = p.Month;
    painter.fillRect(QRect(0, 0, PageWidth, HeaderHeight), HeaderFill);
    painter.setPen(Ink);
    painter.setFont(Font(30, true));
    const QString era = QString::fromStdString(EraYearText(m.Year));
    const QString title = CalendarMonthTitle(m.Year, m.Month);
    painter.drawText(QRect(Margin, 6, 420, 40), Qt::AlignLeft | Qt::AlignVCenter, title);
    const int eraLeft = Margin + painter.fontMetrics().horizontalAdvance(title) + 16;
    painter.setFont(Font(18));
    painter.drawText(QRect(eraLeft, 6, 220, 40), Qt::AlignLeft | Qt::AlignVCenter, era);

    QStringList years;
    int lastYear = 0;
    for (int i = 0; i < m.DayCount; ++i) {
        const CalendarDay& d = m.Days[i];
        if (!d.HasLunar || d.Lunar.Year == lastYear) continue;
        lastYear = d.Lunar.Year;
        // A lunar year that begins within the month (or the lunar table's first day) says from which day.
        years << QStringLiteral("農曆") + YearOfLunar(d.Lunar.Year) + (i > 0 ? QStringLiteral("（%1日起）").arg(i + 1) : QString());
    }
    // A month pillar begins at its term's minute (the days show the one in force at noon).
    QStringList pillars{Pillar(m.Days[0].MonthPillar) + QStringLiteral("月")};
    for (int i = 0; i < m.DayCount; ++i) {
        const CalendarDay& d = m.Days[i];
        if (d.Term == NoTerm || d.Term % 2 != 0) continue;
        const bool afterNoon = d.TermHour * 60 + d.TermMinute > 12 * 60;
        pillars << Pillar((d.MonthPillar + (afterNoon ? 1 : 0)) % 60) +
                       QStringLiteral("月（%1日 %2起）").arg(i + 1).arg(Clock(d.TermHour, d.TermMinute));
    }
    painter.setFont(Font(18));
    painter.drawText(QRect(Margin, 48, PageWidth - 2 * Margin, 22), Qt::AlignLeft | Qt::AlignVCenter,
                     years.isEmpty() ? QStringLiteral("農曆：本月不在農曆表範圍內") : years.join(QStringLiteral("　→　")));
    painter.drawText(QRect(Margin, 70, PageWidth - 2 * Margin, 22), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("月柱：") + pillars.join(QStringLiteral("　→　")));
    // Terms of the month, on the right of the title.
    QStringList terms;
    for (int i = 0; i < m.DayCount; ++i) {
        const CalendarDay& d = m.Days[i];
        if (d.Term != NoTerm)
            terms << TermName(d.Term) + QStringLiteral(" %1日 ").arg(i + 1) + Clock(d.TermHour, d.TermMinute);
    }
    painter.setPen(TermInk);
    painter.setFont(Font(18));
    painter.drawText(QRect(PageWidth / 2, 8, PageWidth / 2 - Margin, 36), Qt::AlignRight | Qt::AlignVCenter,
                     terms.join(QStringLiteral("　")));
}

void PaintWeekdayRow(QPainter& painter, const CalendarPicture& p) {
    const QRect grid = GridRect(p);
    const double w = grid.width() / 7.0;
    painter.setFont(Font(17, true));
    for (int c = 0; c < 7; ++c) {
        painter.setPen(c == 0 || c == 6 ? Weekend : Ink);
        painter.drawText(QRectF(grid.left() + c * w, HeaderHeight, w, WeekdayRowHeight), Qt::AlignCenter,
                         QString::fromUtf8(WeekdayNames[c]));
    }
}

void PaintCell(QPainter& painter, const CalendarPicture& p, const CalendarDay& d) {
    const QRectF cell = CalendarDayRect(p, d.Date.Day);
    const bool today = d.Date == p.Today;
    if (today) painter.fillRect(cell, TodayFill);
    painter.setPen(QPen(Rule, 1));
    painter.drawRect(cell);
    const bool weekend = d.Weekday == 0 || d.Weekday == 6;
    const double h = cell.height();
    painter.setFont(Font(int(std::min(h * 0.27, 34.0)), true));
    painter.setPen(weekend ? Weekend : Ink);
    painter.drawText(cell.adjusted(6, 2, -4, 0), Qt::AlignLeft | Qt::AlignTop, QString::number(d.Date.Day));
    if (today) {
        painter.setFont(Font(int(h * 0.14)));
        painter.drawText(cell.adjusted(0, 4, -6, 0), Qt::AlignRight | Qt::AlignTop, QStringLiteral("今天"));
    }
    const QRectF lower(cell.left(), cell.top() + h * 0.36, cell.width(), h * 0.6);
    const double line = lower.height() / 3;
    if (d.HasLunar) {
        const bool first = d.Lunar.Day == 1;
        painter.setFont(Font(int(std::min(h * 0.19, 24.0)), first));
        painter.setPen(first ? LunarFirst : Ink);
        painter.drawText(QRectF(lower.left(), lower.top(), lower.width(), line), Qt::AlignCenter, LunarDayText(d.Lunar));
    }
    painter.setFont(Font(int(std::min(h * 0.17, 21.0))));
    painter.setPen(Faint);
    painter.drawText(QRectF(lower.left(), lower.top() + line, lower.width(), line), Qt::AlignCenter, Pillar(d.DayPillar));
    if (d.Term != NoTerm) {
        painter.setFont(Font(int(std::min(h * 0.15, 18.0)), true));
        painter.setPen(TermInk);
        painter.drawText(QRectF(lower.left(), lower.top() + 2 * line, lower.width(), line), Qt::AlignCenter,
                         TermName(d.Term) + QLatin1Char(' ') + Clock(d.TermHour, d.TermMinute));
    }
    if (p.SelectedDay == d.Date.Day) {
        painter.setPen(QPen(SelectedEdge, 3));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(cell.adjusted(1.5, 1.5, -1.5, -1.5));
    }
}

void PaintDetails(QPainter& painter, const CalendarPicture& p) {
    const CalendarDay& d = p.Month.Days[p.SelectedDay - 1];
    const QRect panel(PageWidth - Margin - PanelWidth, HeaderHeight, PanelWidth, PageHeight - HeaderHeight - Margin);
    painter.setPen(QPen(Rule, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(panel);
    const int x = panel.left() + 10, w = panel.width() - 20;
    int y = panel.top() + 8;
    auto line = [&](const QString& text, int pixels, const QColor& ink, bool bold = false) {
        painter.setFont(Font(pixels, bold));
        painter.setPen(ink);
        painter.drawText(QRect(x, y, w, pixels + 8), Qt::AlignLeft | Qt::AlignVCenter, text);
        y += pixels + 8;
    };
    line(QStringLiteral("%1年%2月%3日　星期%4")
             .arg(d.Date.Year)
             .arg(d.Date.Month)
             .arg(d.Date.Day)
             .arg(QString::fromUtf8(WeekdayNames[d.Weekday])),
         19, Ink, true);
    line(d.HasLunar ? QStringLiteral("農曆") + LunarDateWords(d.Lunar) : QStringLiteral("農曆：不在農曆表範圍內"), 18,
         d.HasLunar ? LunarFirst : Faint);
    line(Pillar(d.YearPillar) + QStringLiteral("年　") + Pillar(d.MonthPillar) + QStringLiteral("月　") +
             Pillar(d.DayPillar) + QStringLiteral("日"),
         18, Ink);
    if (p.Table) {
        const TermInForce term = TermInForceOn(*p.Table, d.Date);
        if (term.Index != NoTerm)
            line(QStringLiteral("節氣：") + TermName(term.Index) +
                     (term.Days == 0 ? QStringLiteral("（今日交節）") : QStringLiteral("後第%1天").arg(term.Days)),
                 17, TermInk);
    }
    if (d.Term != NoTerm)
        line(QStringLiteral("交節時刻：") + TermName(d.Term) + QLatin1Char(' ') + Clock(d.TermHour, d.TermMinute), 17,
             TermInk);
    y += 6;
    line(QStringLiteral("時辰與時柱"), 17, Ink, true);
    const DayHours hours = HourPillarsOfDay(d.Date, p.RatHourRule);
    painter.setFont(Font(17));
    const int rowHeight = std::min(24, (panel.bottom() - 6 - y) / DayHourSlots);
    for (int slot = 0; slot < DayHourSlots; ++slot) {
        const int branch = slot % 12;
        const int start = HourSlotStart[slot];
        const int end = slot == 0 ? 1 : std::min(start + 2, 24);
        QString text = Utf8(StringText(text_base::Branch + branch)) + QStringLiteral("時 ") + Clock(start, 0) +
                       QLatin1Char('-') + Clock(end, 0) + QStringLiteral(" ") + Pillar(hours.HourPillar[slot]);
        if (slot == DayHourSlots - 1 && hours.LateDayPillar != d.DayPillar)
            text += QStringLiteral("（") + Pillar(hours.LateDayPillar) + QStringLiteral("日）");
        painter.setPen(Ink);
        painter.drawText(QRect(x, y, w, rowHeight), Qt::AlignLeft | Qt::AlignVCenter, text);
        y += rowHeight;
    }
}

}  // namespace

QSize CalendarPageSize() { return QSize(PageWidth, PageHeight); }

QString LunarDayText(const LunarDate& lunar) {
    if (lunar.Month < 1 || lunar.Month > 12 || lunar.Day < 1 || lunar.Day > 30) return {};
    if (lunar.Day == 1) return (lunar.Leap ? LeapMark() : QString()) + QString::fromUtf8(MonthNames[lunar.Month - 1]);
    if (lunar.Day <= 10) return QStringLiteral("初") + QString::fromUtf8(DigitTexts[lunar.Day]);
    if (lunar.Day < 20) return QStringLiteral("十") + QString::fromUtf8(DigitTexts[lunar.Day - 10]);
    if (lunar.Day == 20) return QStringLiteral("二十");
    if (lunar.Day < 30) return QStringLiteral("廿") + QString::fromUtf8(DigitTexts[lunar.Day - 20]);
    return QStringLiteral("三十");
}

QString LunarDateWords(const LunarDate& lunar) {
    LunarDate first = lunar;
    first.Day = 1;
    const QString day = lunar.Day == 1 ? QStringLiteral("初一") : LunarDayText(lunar);
    return Pillar(YearPillarOf(lunar.Year)) + QStringLiteral("年") + LunarDayText(first) + day;
}

QString CalendarMonthTitle(int year, int month) { return QStringLiteral("%1年%2月").arg(year).arg(month); }

void PaintCalendar(QPainter& painter, const CalendarPicture& p) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(QRect(QPoint(0, 0), CalendarPageSize()), Qt::white);
    PaintHeader(painter, p);
    PaintWeekdayRow(painter, p);
    for (int i = 0; i < p.Month.DayCount; ++i) PaintCell(painter, p, p.Month.Days[i]);
    if (ShowsDetails(p)) PaintDetails(painter, p);
    painter.restore();
}

int CalendarDayAt(const CalendarPicture& p, QPointF point) {
    for (int day = 1; day <= p.Month.DayCount; ++day)
        if (CalendarDayRect(p, day).contains(point)) return day;
    return 0;
}

}  // namespace qv::ui

// calendar: a month of the perpetual calendar, one line (or JSON object) a day.
#pragma once

#include <string>
#include <string_view>

#include "engine/calendar/month_calendar.h"

namespace qv::cli {

struct Args;
class JsonObject;

// A lunar date as YYYY-MM-DD (the month 閏MM in a leap month), "-" when unknown;
// as a JSON object, null when unknown.
void AppendLunarDate(std::string& out, bool known, const LunarDate& lunar);
void AppendLunarJson(JsonObject& object, std::string_view name, bool known, const LunarDate& lunar);

// "YYYY-MM" within the months the table covers; false otherwise.
bool ParseCalendarMonth(std::string_view text, const SolarTermTable& table, int& year, int& month);

// Appends the month's days: tab-separated lines, or one JSON object a line.
void AppendCalendarMonth(std::string& out, const MonthCalendar& month, bool json);

// calendar YYYY-MM --render FILE.png|FILE.pdf: the month as the calendar window
// draws it (run by the picture program, the one part of the command that needs Qt).
int RunCalendarPicture(Args& args);

}  // namespace qv::cli

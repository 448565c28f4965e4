#include "person_entry.h"

#include "engine/calendar/calendar.h"
#include "engine/chart/chart_compute.h"

namespace qv {
namespace {

std::string DateText(const BirthEntry& e) {
    std::string text = std::to_string(e.Year) + "-" + std::to_string(e.Month) + "-" + std::to_string(e.Day);
    return e.Lunar ? "lunar " + text + (e.LeapMonth ? " (leap month)" : "") : text;
}

Result NoSuchDate(std::string detail) { return Result::Failed(DateNotInCalendarText, std::move(detail)); }

// Both calendars' forms of the entered date.
Result BothCalendars(const BirthEntry& e, CivilDate& solar, LunarDate& lunar) {
    if (e.Year < EntryFirstYear || e.Year > EntryLastYear) {
        return NoSuchDate("the year must lie between " + std::to_string(EntryFirstYear) + " and " +
                          std::to_string(EntryLastYear));
    }
    bool ok = false;
    if (e.Lunar) {
        lunar = LunarDate{e.Year, e.Month, e.Day, e.LeapMonth};
        ok = LunarToSolar(lunar, solar);
    } else {
        solar = CivilDate{e.Year, e.Month, e.Day};
        ok = IsValidDate(e.Year, e.Month, e.Day) && SolarToLunar(solar, lunar);
    }
    if (!ok) return NoSuchDate(DateText(e) + " does not exist or lies outside the lunar calendar (from 1900-01-31)");
    return Result::Done();
}

Result CheckTime(const BirthEntry& e) {
    if (e.HourUnknown || (e.Hour >= 0 && e.Hour <= 23 && e.Minute >= 0 && e.Minute <= 59)) return Result::Done();
    return NoSuchDate("the time must lie between 00:00 and 23:59");
}

}  // namespace

Result FillBirth(const BirthEntry& entry, int ratHourRule, PersonRecord& record) {
    CivilDate solar{};
    LunarDate lunar{};
    if (Result time = CheckTime(entry); !time.Ok) return time;
    if (Result date = BothCalendars(entry, solar, lunar); !date.Ok) return date;
    const int hour = entry.HourUnknown ? HourUnknown : entry.Hour;
    const int minute = entry.HourUnknown ? 0 : entry.Minute;
    if (ratHourRule == CommonRatHour) AdvanceLunarDay(lunar, hour, minute, ratHourRule);
    StoreBirthMoment(record, solar, hour, minute);
    record.lunarYear = static_cast<int16_t>(lunar.Year);
    record.lunarMonth = static_cast<int16_t>(lunar.Month);
    record.lunarDay = static_cast<int16_t>(lunar.Day);
    record.leapMonth = lunar.Leap ? 1 : 0;
    return Result::Done();
}

Result CheckBirthFields(const PersonRecord& r) {
    const char* why = nullptr;
    if (r.sex != 0 && r.sex != 1) {
        why = "sex must be 0 (male) or 1 (female)";
    } else if (!IsValidDate(r.year, r.month, r.day)) {
        why = "year, month and day are not a Gregorian date";
    } else if (r.hour != HourUnknown && (r.hour < 0 || r.hour > 23)) {
        why = "hour must be 0-23, or 25 when unknown";
    } else if (r.minute < 0 || r.minute > 59) {
        why = "minute must be 0-59";
    } else if (r.leapMonth != 0 && r.leapMonth != 1) {
        why = "leapMonth must be 0 or 1";
    }
    return why ? Result::Failed(StoredBirthBrokenText, why) : Result::Done();
}

}  // namespace qv

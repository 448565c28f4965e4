// A person's birth as the person dialog takes it, turned into the date fields
// of a PersonRecord: the other calendar, the double-hour number and the
// late-rat-hour shift of the lunar date.
#pragma once

#include <string>

#include "engine/chart/person_record.h"
#include "engine/texts/result.h"
#include "engine/texts/text_ids.h"

namespace qv {

struct BirthEntry {
    bool Lunar = false;  // the date is a lunar date
    int Year = 0, Month = 0, Day = 0;
    bool LeapMonth = false;  // lunar only: the intercalary month
    bool HourUnknown = false;
    int Hour = 0, Minute = 0;
};

inline constexpr int EntryFirstYear = 1900;  // the years the person dialog offers
inline constexpr int EntryLastYear = 2099;

// Fills year … leapMonth of the record. Under the rat-hour rule 一般子時 a
// birth at 23:00 or later stores the next lunar day; the Gregorian date never
// moves. Failed with the reason, the record unchanged, when the date or time
// does not exist or lies outside the years offered.
Result FillBirth(const BirthEntry& entry, int ratHourRule, PersonRecord& record);

// Sex, Gregorian date, hour and minute of a stored record are ones the
// program can chart; failed with the first field that is not.
Result CheckBirthFields(const PersonRecord& record);

}  // namespace qv

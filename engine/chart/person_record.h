// One stored person: the 412-byte layout of the records file, which is also
// the in-memory copy of the current person that the chart engine reads.
// Texts are Big5 byte strings, zero-terminated; integers are little-endian
// in the file (the records module serialises them field by field).
#pragma once

#include <cstdint>
#include <type_traits>

namespace qv {

inline constexpr int16_t HourUnknown = 25;  // entered with "不知道時間"

struct PersonRecord {
    char name[32];
    int16_t year;
    int16_t month;
    int16_t day;
    int16_t hourBranch;  // 0 for hour 0, ((hour - 1) / 2) + 1 otherwise; 6 when unknown
    int16_t hour;        // 0-23, or HourUnknown
    int16_t minute;
    int16_t lunarYear;
    int16_t lunarMonth;
    int16_t lunarDay;
    int16_t reserved;
    int32_t sex;        // 0 male, 1 female
    int32_t leapMonth;  // 1 when lunarMonth is the intercalary month
    char address[64];
    char phone[32];
    char remarks[256];
};

static_assert(sizeof(PersonRecord) == 412);
static_assert(std::is_trivially_copyable_v<PersonRecord>);

}  // namespace qv

// Local clock times of the tz database: every historical offset and summer
// time a zone kept, read through Howard Hinnant's date/tz from the system's
// zoneinfo.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace date {
class time_zone;
}

namespace qv {

// One zone of the database; a small handle, cheap to copy.
struct ClockZone {
    const date::time_zone* Zone = nullptr;
    std::string_view Name() const;
};

// The zone of that name (for example "Asia/Taipei"). The first call loads the
// database, once per run; afterwards reading clocks allocates nothing. False,
// with the reason in problem, for a name the database does not hold or when
// there is no database.
bool FindClockZone(std::string_view name, ClockZone& out, std::string& problem);

// Where births of this program's users mostly happened, offered first.
inline constexpr std::string_view CommonZoneNames[] = {
    "Asia/Taipei", "Asia/Hong_Kong", "Asia/Shanghai", "Asia/Macau", "Asia/Kuala_Lumpur", "Asia/Singapore",
    "America/Los_Angeles", "America/New_York", "America/Vancouver", "America/Toronto", "Australia/Sydney",
};

// Every zone of the database in name order; empty when there is none.
std::vector<std::string> AllZoneNames();

enum class LocalClockKind {
    Unique,    // the clock showed this time once
    Skipped,   // never shown: the clock jumped over it (summer time began)
    Repeated,  // shown twice: the clock was set back over it (summer time ended)
};

struct ZoneReading {
    LocalClockKind Kind;
    int64_t UtcSeconds;  // seconds since 1970 UTC of the chosen occurrence; 0 when skipped
    int OffsetMinutes;   // the zone's offset from UTC at that moment
    bool DaylightSaving;
};

// Reads a clock time of the zone, given as seconds since 1970 on that clock.
// Of a repeated time, the first occurrence unless the second is asked for.
ZoneReading ReadZoneClock(const ClockZone& zone, int64_t localSeconds, bool secondOfRepeated);

}  // namespace qv

#include "engine/clock/clock_zone.h"

#include <date/tz.h>

#include <algorithm>
#include <exception>

namespace qv {

std::string_view ClockZone::Name() const { return Zone ? std::string_view(Zone->name()) : std::string_view(); }

bool FindClockZone(std::string_view name, ClockZone& out, std::string& problem) {
    try {
        out.Zone = date::locate_zone(name);
        return true;
    } catch (const std::exception&) {
        // The library says the same for a missing database as for an unknown
        // name; telling them apart saves a user from hunting for a typo.
        try {
            date::get_tzdb();
            problem = "unknown time zone " + std::string(name) + " (a name of the tz database, like Asia/Taipei)";
        } catch (const std::exception& e) {
            problem = std::string("no time zone database: ") + e.what();
        }
        return false;
    }
}

std::vector<std::string> AllZoneNames() {
    std::vector<std::string> names;
    try {
        for (const date::time_zone& zone : date::get_tzdb().zones) names.emplace_back(zone.name());
    } catch (const std::exception&) {
        return {};
    }
    std::sort(names.begin(), names.end());
    return names;
}

ZoneReading ReadZoneClock(const ClockZone& zone, int64_t localSeconds, bool secondOfRepeated) {
    using namespace std::chrono;
    const date::local_seconds local{seconds{localSeconds}};
    const date::local_info info = zone.Zone->get_info(local);
    if (info.result == date::local_info::nonexistent) return {LocalClockKind::Skipped, 0, 0, false};
    const bool repeated = info.result == date::local_info::ambiguous;
    const date::sys_info& in = repeated && secondOfRepeated ? info.second : info.first;
    return {repeated ? LocalClockKind::Repeated : LocalClockKind::Unique,
            localSeconds - in.offset.count(), static_cast<int>(in.offset.count() / 60), in.save != minutes{0}};
}

}  // namespace qv

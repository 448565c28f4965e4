#include "clock_note.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <utility>

namespace qv::ui {
namespace {

struct ZoneName {
    std::string_view Id, Name;
};
constexpr ZoneName ZoneNames[] = {
    {"Asia/Taipei", "台北"},          {"Asia/Hong_Kong", "香港"},        {"Asia/Shanghai", "上海"},
    {"Asia/Macau", "澳門"},           {"Asia/Singapore", "新加坡"},      {"Asia/Kuala_Lumpur", "吉隆坡"},
    {"Asia/Tokyo", "東京"},           {"Asia/Seoul", "首爾"},            {"Asia/Manila", "馬尼拉"},
    {"Asia/Bangkok", "曼谷"},         {"Asia/Jakarta", "雅加達"},        {"Asia/Ho_Chi_Minh", "胡志明市"},
    {"Asia/Yangon", "仰光"},          {"Asia/Kolkata", "加爾各答"},      {"Asia/Dubai", "杜拜"},
    {"Asia/Urumqi", "烏魯木齊"},      {"Asia/Harbin", "哈爾濱"},         {"Asia/Chongqing", "重慶"},
    {"Europe/London", "倫敦"},        {"Europe/Paris", "巴黎"},          {"Europe/Berlin", "柏林"},
    {"Europe/Amsterdam", "阿姆斯特丹"}, {"Europe/Rome", "羅馬"},         {"Europe/Madrid", "馬德里"},
    {"Europe/Moscow", "莫斯科"},      {"America/Los_Angeles", "洛杉磯"}, {"America/New_York", "紐約"},
    {"America/Vancouver", "溫哥華"},  {"America/Toronto", "多倫多"},     {"America/Chicago", "芝加哥"},
    {"America/Denver", "丹佛"},       {"America/Sao_Paulo", "聖保羅"},   {"America/Mexico_City", "墨西哥城"},
    {"Pacific/Honolulu", "檀香山"},   {"Pacific/Auckland", "奧克蘭"},    {"Australia/Sydney", "雪梨"},
    {"Australia/Melbourne", "墨爾本"}, {"Australia/Brisbane", "布里斯本"}, {"Australia/Perth", "伯斯"},
    {"Africa/Johannesburg", "約翰尼斯堡"}, {"UTC", "世界標準時間"},
};

// Splits off the last line when it carries the mark.
std::pair<std::string_view, std::string_view> LastMarkedLine(std::string_view remarks) {
    const size_t at = remarks.rfind(ClockLineMark);
    if (at == std::string_view::npos || (at != 0 && remarks.substr(0, at).back() != '\n')) return {remarks, {}};
    if (remarks.find('\n', at) != std::string_view::npos) return {remarks, {}};
    std::string_view user = remarks.substr(0, at);
    if (user.ends_with("\r\n")) user.remove_suffix(2);
    else if (user.ends_with('\n')) user.remove_suffix(1);
    return {user, remarks.substr(at + ClockLineMark.size())};
}

bool ParseClockLine(std::string_view line, ClockNote& note) {
    std::string fields[6];
    size_t n = 0;
    for (size_t start = 0; n < 6; ++n) {
        const size_t end = line.find(';', start);
        fields[n] = std::string(line.substr(start, end - start));
        if (end == std::string_view::npos) {
            ++n;
            break;
        }
        start = end + 1;
    }
    if (n != 6 || fields[1].size() > 64) return false;
    Moment m{};
    char tail = 0;
    if (std::sscanf(fields[0].c_str(), "%4d-%2d-%2d %2d:%2d%c", &m.Year, &m.Month, &m.Day, &m.Hour, &m.Minute, &tail) != 5 ||
        m.Month < 1 || m.Month > 12 || m.Day < 1 || m.Day > 31 || m.Hour < 0 || m.Hour > 23 || m.Minute < 0 || m.Minute > 59)
        return false;
    char* end = nullptr;
    const long offset = std::strtol(fields[2].c_str(), &end, 10);
    if (*end || std::labs(offset) > 18 * 60 || (fields[3] != "0" && fields[3] != "1") ||
        (fields[5] != "0" && fields[5] != "1"))
        return false;
    note.Given = m;
    note.Zone = fields[1];
    note.ZoneOffsetMinutes = static_cast<int>(offset);
    note.DaylightSaving = fields[3] == "1";
    note.SecondOfRepeated = fields[5] == "1";
    note.Longitude.reset();
    if (!fields[4].empty()) {
        const double degrees = std::strtod(fields[4].c_str(), &end);
        if (*end || !(std::fabs(degrees) <= 180)) return false;
        note.Longitude = degrees;
    }
    return note.Applied();
}

constexpr const char* SummerTime = "夏令時間";
constexpr const char* SolarTime = "真太陽時";

// The zone part of a note; the offset only where the chart has room for it.
std::string ZonePart(const ClockNote& note, bool withOffset) {
    std::string part = ZoneShownName(note.Zone);
    if (withOffset || !note.DaylightSaving) part += " " + OffsetText(note.ZoneOffsetMinutes);
    if (note.DaylightSaving) part += std::string(" ") + SummerTime;
    return part;
}

std::string Parts(const ClockNote& note, bool withOffset, const char* separator) {
    std::string text;
    if (!note.Zone.empty()) text = ZonePart(note, withOffset);
    if (note.Longitude) {
        if (!text.empty()) text += separator;
        text += std::string(SolarTime) + " " + LongitudeDegreesText(*note.Longitude);
    }
    return text;
}

}  // namespace

ClockNote NoteOf(std::string_view zoneName, const BirthClock& clock, const Moment& given,
                 const ChartedMoment& moment) {
    ClockNote note;
    note.Given = given;
    note.SecondOfRepeated = clock.SecondOfRepeated;
    if (clock.Zone) {
        note.Zone = zoneName;
        note.ZoneOffsetMinutes = moment.ZoneOffsetMinutes;
        note.DaylightSaving = moment.DaylightSaving;
    }
    note.Longitude = clock.SolarLongitude;
    return note;
}

ClockEdges ClockEdgesOf(const ClockNote& note, int marginMinutes) {
    if (!note.Applied()) return {};
    BirthClock clock;
    ClockZone zone;
    std::string problem;
    if (!note.Zone.empty()) {
        if (!FindClockZone(note.Zone, zone, problem)) return {};
        clock.Zone = zone;
    }
    clock.SecondOfRepeated = note.SecondOfRepeated;
    clock.SolarLongitude = note.Longitude;
    return FindClockEdges(clock, note.Given, ChartMomentOf(clock, note.Given), marginMinutes);
}

std::string_view ZoneChineseName(std::string_view zoneId) {
    for (const ZoneName& z : ZoneNames)
        if (z.Id == zoneId) return z.Name;
    return {};
}

std::string ZoneShownName(std::string_view zoneId) {
    const std::string_view name = ZoneChineseName(zoneId);
    return std::string(name.empty() ? zoneId : name);
}

std::string AllZoneChineseNames() {
    std::string all;
    for (const ZoneName& z : ZoneNames) all += z.Name;
    return all;
}

std::string ClockNoteLine(const ClockNote& note) {
    if (!note.Applied()) return {};
    char longitude[32] = "";
    if (note.Longitude) std::snprintf(longitude, sizeof longitude, "%.6g", *note.Longitude);
    return std::string(ClockLineMark) + MomentText(note.Given) + ";" + note.Zone + ";" +
           std::to_string(note.ZoneOffsetMinutes) + ";" + (note.DaylightSaving ? "1" : "0") + ";" + longitude + ";" +
           (note.SecondOfRepeated ? "1" : "0");
}

ClockNote ClockNoteInRemarks(std::string_view remarks) {
    ClockNote note;
    const auto [user, line] = LastMarkedLine(remarks);
    if (line.empty() || !ParseClockLine(line, note)) return {};
    return note;
}

std::string RemarksWithoutClockNote(std::string_view remarks) {
    ClockNote note;
    const auto [user, line] = LastMarkedLine(remarks);
    return std::string(!line.empty() && ParseClockLine(line, note) ? user : remarks);
}

std::string RemarksWithClockNote(std::string_view userRemarks, const ClockNote& note) {
    if (!note.Applied()) return std::string(userRemarks);
    return std::string(userRemarks) + (userRemarks.empty() ? "" : "\r\n") + ClockNoteLine(note);
}

std::string MomentText(const Moment& m) {
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d", m.Year, m.Month, m.Day, m.Hour, m.Minute);
    return text;
}

std::string OffsetText(int minutes) {
    char text[16];
    std::snprintf(text, sizeof text, "UTC%c%02d:%02d", minutes < 0 ? '-' : '+', std::abs(minutes) / 60,
                  std::abs(minutes) % 60);
    return text;
}

std::string LongitudeDegreesText(double degrees) {
    char text[32];
    std::snprintf(text, sizeof text, "%s%.2f°", degrees < 0 ? "西經" : "東經", std::fabs(degrees));
    return text;
}

std::string ZoneClockText(const ClockNote& note) { return ZonePart(note, true); }

std::string CorrectionText(const ClockNote& note) { return Parts(note, true, "，"); }

std::string ChartNoteText(const ClockNote& note) {
    return note.Applied() ? "已校正：" + Parts(note, false, "\n") : std::string();
}

std::string ChartedMomentText(const Moment& charted, const ClockNote& note) {
    std::string text = "排盤時間：" + MomentText(charted);
    if (note.Applied()) text += "（" + CorrectionText(note) + "）";
    return text;
}

}  // namespace qv::ui

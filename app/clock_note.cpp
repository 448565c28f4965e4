#include "clock_note.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace qv::ui {
namespace {

constexpr const char* SummerTime = "夏令時間";
constexpr const char* SolarTime = "真太陽時";

// The zone part of a note; the offset only where the chart has room for it.
std::string ZonePart(const ClockNote& note, bool withOffset) {
    std::string part = note.Zone;
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

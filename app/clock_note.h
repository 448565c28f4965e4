#pragma once
// How a birth clock time was read before charting, in words: the person
// dialog's preview of the moment to be charted and the chart's note that a
// correction was applied. Plain C++, so the application object keeps one.
#include <optional>
#include <string>
#include <string_view>

#include "engine/clock/birth_clock.h"

namespace qv::ui {

struct ClockNote {
    std::string Zone;  // the zone as the user chose it; empty: the chart's own clock
    int ZoneOffsetMinutes = ChartClockOffsetMinutes;
    bool DaylightSaving = false;
    std::optional<double> Longitude;  // true solar time at this longitude (degrees east)
    // The clock time as given, and of a time shown twice which one: what the
    // person dialog starts from when the same person is modified again.
    Moment Given{};
    bool SecondOfRepeated = false;

    bool Applied() const { return !Zone.empty() || Longitude.has_value(); }
};

// The note of the clock time `given` read through `clock` as `moment`, the
// zone under the name the user chose.
ClockNote NoteOf(std::string_view zoneName, const BirthClock& clock, const Moment& given,
                 const ChartedMoment& moment);

// The noted clock's own edges (a time shown twice, a change of the zone's
// clock within the margin, true solar time moving the hour); none when
// nothing was corrected.
ClockEdges ClockEdgesOf(const ClockNote& note, int marginMinutes);

// The Chinese name of a zone ("台北" for Asia/Taipei); empty for a zone without one.
std::string_view ZoneChineseName(std::string_view zoneId);
// The zone as the user reads it: "台北", or the ID itself when it has no Chinese name.
std::string ZoneShownName(std::string_view zoneId);

// How a birth was entered, kept as the last line of the person's remarks,
// so that the record, wherever it is copied, still tells the clock time the
// chart was corrected from:
// "【出生地時間】1974-07-15 12:00;Asia/Taipei;480;1;121.5;0".
inline constexpr std::string_view ClockLineMark = "【出生地時間】";
std::string ClockNoteLine(const ClockNote& note);
// The note of the remarks' marked line; a note not Applied() when there is
// none or it cannot be read (it then stays part of the user's text).
ClockNote ClockNoteInRemarks(std::string_view remarks);
// The remarks without a readable marked line: the user's own text.
std::string RemarksWithoutClockNote(std::string_view remarks);
// The user's text with the note's line after it (nothing added when not Applied()).
std::string RemarksWithClockNote(std::string_view userRemarks, const ClockNote& note);

// "1974-07-15 11:00"
std::string MomentText(const Moment& m);
// "UTC+09:00", "UTC-07:30"
std::string OffsetText(int minutes);
// "東經121.50°", "西經118.25°"
std::string LongitudeDegreesText(double degrees);
// "Asia/Taipei UTC+09:00 夏令時間": the zone's clock as the birth time was read on it.
std::string ZoneClockText(const ClockNote& note);
// "Asia/Taipei UTC+09:00 夏令時間，真太陽時 東經121.50°"; empty when nothing was applied.
std::string CorrectionText(const ClockNote& note);
// The chart's shorter form: "已校正：Asia/Taipei 夏令時間", with true solar time
// ("真太陽時 東經121.50°") on a line of its own; empty when nothing was applied.
std::string ChartNoteText(const ClockNote& note);
// "排盤時間：1974-07-15 11:00（Asia/Taipei UTC+09:00 夏令時間）"
std::string ChartedMomentText(const Moment& charted, const ClockNote& note);

// The words these texts are made of (for the glyph check).
inline constexpr const char* ClockNoteWords = "已校正：排盤時間（）夏令時間，真太陽時東經西經° UTC+-0123456789:./_";
// Every Chinese zone name, for the same check.
std::string AllZoneChineseNames();

}  // namespace qv::ui

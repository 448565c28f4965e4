#pragma once
// How a birth clock time was read before charting, in words: the person
// dialog's preview of the moment to be charted and the chart's note that a
// correction was applied. Plain C++, so the application object keeps one.
#include <optional>
#include <string>
#include <string_view>

#include "birth_clock.h"

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

}  // namespace qv::ui

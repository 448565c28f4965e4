// The birth-clock options of the charting commands: --zone NAME (with
// --second-occurrence for a clock time the zone showed twice) and
// --solar-time LONGITUDE, and how their correction is reported.
#pragma once

#include <string>

#include "engine/clock/birth_clock.h"
#include "json_out.h"

namespace qv::cli {

struct Args;

// Takes the options into clock; false after a complaint (an unknown zone, a
// longitude that is not a number within -180..180).
bool TakeBirthClock(Args& args, BirthClock& clock);

// Why a birth time was refused for its clock.
const char* BirthClockRefusal(BirthClockFault fault);

// A corrected birth as the readable chart and the JSON give it: the clock
// time given, what was applied and the moment charted.
void AppendCorrectionLines(std::string& out, const BirthClock& clock, const Moment& given, const ChartedMoment& m);
void AppendCorrectionJson(JsonObject& json, const BirthClock& clock, const Moment& given, const ChartedMoment& m);

}  // namespace qv::cli

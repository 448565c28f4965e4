// What the charting subcommands (chart, fortune, render) share: the birth and
// engine options of the command line and the engine state of one run.
#pragma once

#include <memory>
#include <string>

#include "engine/clock/birth_clock.h"
#include "engine/chart/chart_compute.h"
#include "engine/chart/chart_record.h"
#include "charting_session.h"
#include "cli.h"

namespace qv::cli {

struct Birth {
    Moment When{};
    int Sex = 0;
    bool HourUnknown = false;
};

bool ParseSex(std::string_view text, int& sex);
PersonRecord PersonFor(const Birth& birth);

inline constexpr const char* NoChart = "no chart for this birth moment (invalid, or outside the solar-term table)";

// The birth as given, on the clock the options name.
Moment GivenClock(const Birth& birth);

// The engine state shared by every person of one run.
struct Charting {
    ChartingSession Session;
    BirthClock Clock;         // how the birth times of this run are read
    ChartedMoment Corrected;  // of the last birth charted, when Clock corrects
    const char* Problem = NoChart;  // why the last Chart() failed

    ChartRecord& Record() { return Session.Record(); }
    const ChartRecord& Record() const { return Session.Record(); }
    // Charts the birth at its moment on the chart's clock; false with the
    // reason in Problem.
    bool Chart(const Birth& birth, ChartingSession::Fortunes fortunes = ChartingSession::Fortunes::Skipped);
};

// Takes the engine options and (when birth is given) --birth, --sex and
// --hour-unknown, refuses what is left, and opens the session.
// Returns ExitOk, or the exit code after a complaint. The caller takes its
// own options first.
int PrepareCharting(Args& args, Charting& charting, Birth* birth);

// PrepareCharting for one person from --birth and --sex, and the chart of that
// person in charting.Record(). Returns ExitOk, or the exit code after a complaint.
int ChartOneBirth(Args& args, Charting& charting, Birth& birth);
// The same with its fortune tables.
int ChartOneBirthWithFortunes(Args& args, Charting& charting, Birth& birth);

// Stores --name as the records keep it, in Big5 within its field; false
// after a complaint when it does not fit.
bool StoreName(PersonRecord& person, const std::string& name);

}  // namespace qv::cli

// Shared pieces of quorvane-cli: argument handling, the data directory and
// the exit codes every subcommand uses.
#pragma once

#include <cstdio>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/calendar/calendar.h"
#include "engine/texts/result.h"
#include "engine/calendar/solar_terms.h"

namespace qv {
class ChartingSession;
}

namespace qv::cli {

enum ExitCode : int {
    ExitOk = 0,
    ExitBadInput = 1,  // some input line or option was refused
    ExitNoData = 2,    // a data file (solar-term table, records file) is missing or broken
    ExitOutputFailed = 3,  // standard output could not be written whole (a full disk, a closed pipe)
};

// The command line after the subcommand name, with the options shared by all
// subcommands (--data-dir) already taken out.
struct Args {
    std::vector<std::string> Items;
    std::string DataDir;  // empty: QUORVANE_DATA_DIR or the default

    // Removes "--name VALUE" (or "--name=VALUE") and returns VALUE.
    std::optional<std::string> TakeValue(std::string_view name);
    // Removes a bare "--name" switch and tells whether it was there.
    bool TakeFlag(std::string_view name);
    // After all options are taken: an argument starting with "--" is unknown.
    bool RejectUnknownOptions() const;
};

// Prints "quorvane-cli: <message>" on stderr.
void Complain(std::string_view message);
// Whether the result is done; when not, complains of its detail, after the
// heading ("heading: detail") when one is given.
bool Reported(const Result& result, std::string_view heading = {});

// Loads AInfo.tbl from the data directory (copied there from beside the
// program on first use); prints the reason and returns false when it cannot.
bool LoadTermTable(const Args& args, SolarTermTable& table);
// The same table opening the session of the run; false after the complaint.
bool OpenSession(const Args& args, ChartingSession& session);

// Strict parsers of the fixed input formats; false on anything else.
bool ParseDate(std::string_view text, CivilDate& out);            // YYYY-MM-DD, a real calendar day
bool ParseMoment(std::string_view text, Moment& out);             // YYYY-MM-DD HH:MM, 00:00-23:59
bool ParseInt(std::string_view text, int& out);
// Empty or nothing but blanks.
bool IsBlank(std::string_view text);

// Takes an optional whole-number option within [low, high]; out stays empty
// when it is absent. False after a complaint that the value takes `what`
// ("low to high" when none is given).
bool TakeNumberOption(Args& args, std::string_view name, int low, int high, std::optional<int>& out,
                      std::string_view what = {});

// Takes "--rat-hour N" (0 早子時, 1 一般子時, 2 夜子時; default 1); false after a complaint.
bool TakeRatHour(Args& args, int16_t& rule);

// Text output of the answers: a number zero-padded to width, YYYY-MM-DD,
// YYYY-MM-DD HH:MM; WriteOut sends the text to stdout and empties it.
void AppendNumber(std::string& out, int value, int width);
void AppendDate(std::string& out, const CivilDate& d);
// A record's birth, "YYYY-MM-DD HH:MM", the time "??:??" when unknown.
std::string BirthText(const PersonRecord& r);
void AppendMoment(std::string& out, const Moment& m);
void WriteOut(std::string& out);

// Appends the answer to one input to `out`; returns an empty text on
// success, else the reason the input was refused.
using Answer = std::string (*)(std::string_view input, std::string& out, void* context);

// Runs `answer` on every input: the remaining arguments, or else the lines of
// stdin. A refused input is reported on stderr with its line number and the
// others are still answered; the result is ExitBadInput if any was refused.
// Blank lines of stdin are skipped, but a blank argument is refused.
int AnswerEachInput(const Args& args, Answer answer, void* context);

struct Command {
    const char* Name;
    const char* Usage;
    int (*Run)(Args& args);
};

// The whole run of a program with these commands: takes --data-dir, answers
// --help (and no command) with printUsage, and runs the command named first.
int RunCommandLine(int argc, char** argv, std::span<const Command> commands, void (*printUsage)(std::FILE* to));

// The program that draws, installed beside quorvane-cli.
inline constexpr const char* PictureProgramName = "quorvane-picture";

// Runs a drawing command (render, curve) in the picture program beside this
// one, which needs Qt, with the same data folder and arguments; returns only
// when that program cannot be started.
int RunInPictureProgram(std::string_view command, const Args& args);

int RunTerms(Args& args);
int RunPillars(Args& args);
int RunLunar(Args& args);
int RunSolar(Args& args);
int RunCalendar(Args& args);
int RunChart(Args& args);
int RunFortune(Args& args);
int RunRecords(Args& args);
int RunSettings(Args& args);
int RunRender(Args& args);
int RunPotential(Args& args);
int RunPotentialTable(Args& args);
int RunCurve(Args& args);
int RunFindPillars(Args& args);
int RunCandidates(Args& args);
int RunCompare(Args& args);
int RunBestDays(Args& args);
// compare --out, in the picture program.
int RunComparePicture(Args& args);

}  // namespace qv::cli

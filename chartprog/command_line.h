#pragma once
// The command line of the flow-year chart program: the person and the window
// parameters after an "@", options of this program's own before it. Plain C++.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv::chartprog {

inline constexpr int16_t NotGiven = -1;

// What the switches after the "@" say; each field keeps its default when its
// switch is absent, the later of two equal switches wins.
struct ChartRequest {
    int16_t Year = 0, Month = 0, Day = 0, Hour = 0, Minute = 0;  // /Y /M /D /h /m
    int32_t Sex = 0;                                             // /S: 0 male, 1 female
    int16_t Mode = NotGiven;                                     // /P: 0-3
    int16_t Category = NotGiven;                                 // /T
    int32_t Lifetime = 0;                                        // /F: non-zero, all 120 years
};

// Reads the switches of a whole command line: nothing before the first "@"
// counts; after it, blank-separated tokens, "/" or "-" introducing a switch
// whose value is the next token read as atoi reads it.
ChartRequest ParseChartRequest(std::string_view commandLine);

// A decimal integer as the C library's atoi reads it (leading blanks, a sign,
// digits up to the first other character, 0 without digits), saturating
// instead of overflowing.
int32_t ReadLeadingInteger(std::string_view text);

// Options of this program's own, which may stand before the "@".
struct ProgramOptions {
    std::string DataDir;     // --data-dir DIR
    std::string RenderPath;  // --render FILE.png|FILE.pdf
    int RenderWidth = 0;     // --size N (0: the window's own size)
    bool Help = false;       // --help
};

struct ParsedCommandLine {
    ProgramOptions Options;
    ChartRequest Request;
};

// args: the arguments after the program name, as the system split them. They
// are joined with single blanks for the switches; the ones before the token
// holding the first "@" are read as options. Nothing with the reason for an
// option this program does not know or one missing its value.
std::optional<ParsedCommandLine> ParseCommandLine(const std::vector<std::string>& args, std::string& error);

inline constexpr const char* ChartProgramUsage =
    "usage: Velmaro [--data-dir DIR] [--render FILE.png|FILE.pdf [--size N]] "
    "@/Y year /M month /D day /h hour /m minute /S sex /P mode /T category [/F lifetime]";

}  // namespace qv::chartprog

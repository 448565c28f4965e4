// quorvane-cli: the chart engine for users and scripts. The commands that
// draw run in the picture program beside this one, so the text commands start
// without loading Qt.
#include <algorithm>
#include <string>

#include "cli.h"

namespace qv::cli {
namespace {

constexpr Command Commands[] = {
    {"terms", "terms [--from Y] [--to Y]", RunTerms},
    {"pillars",
     "pillars [--rat-hour 0|1|2] [birth clock] [\"YYYY-MM-DD HH:MM\" ...]   (else moments from stdin;\n"
     "        with a birth clock each line gives the clock time, then the moment charted)",
     RunPillars},
    {"lunar", "lunar [YYYY-MM-DD ...]   (else dates from stdin)", RunLunar},
    {"solar", "solar [\"Y M D LEAP\" ...]   (lunar dates; else from stdin)", RunSolar},
    {"calendar",
     "calendar [--json] [YYYY-MM ...]   (every day: lunar date, pillars, term; else months from stdin)\n"
     "        | calendar YYYY-MM --render FILE.png|FILE.pdf",
     RunCalendar},
    {"chart",
     "chart (--birth \"YYYY-MM-DD HH:MM\" --sex m|f [--hour-unknown] | --batch) [--json] [chart options]\n"
     "        (--batch: one \"YYYY-MM-DD HH:MM m|f\" a line on stdin, HH:MM may be ??; JSON a line)",
     RunChart},
    {"fortune",
     "fortune --birth \"YYYY-MM-DD HH:MM\" --sex m|f [--hour-unknown] [--category 1|3|4|5|7|8|9]\n"
     "        (--luck | --years | --months YEAR | --days YEAR-MONTH) [--json] [--text] [chart options]",
     RunFortune},
    {"compare",
     "compare (--birth \"YYYY-MM-DD HH:MM\" --sex m|f [--hour-unknown]\n"
     "         --with-birth \"YYYY-MM-DD HH:MM\" --with-sex m|f [--with-hour-unknown]\n"
     "        | --record N --with-record M [--file PATH]) [chart options] [--json]\n"
     "        [--out FILE.png|FILE.pdf [--size WIDTH]]\n"
     "        (every relation between the two charts, the roles each carries for the other;\n"
     "         --out draws both charts side by side with the relations between their pillars)",
     [](Args& args) {
         const bool drawn = std::ranges::any_of(args.Items, [](const std::string& a) { return a.starts_with("--out"); });
         return drawn ? RunInPictureProgram("compare", args) : RunCompare(args);
     }},
    {"best-days",
     "best-days --birth \"YYYY-MM-DD HH:MM\" --sex m|f [--hour-unknown] [--with-birth ... --with-sex m|f]\n"
     "        (or --record N [--with-record M]) --category N --from YYYY-MM-DD --to YYYY-MM-DD [--json]\n"
     "        (the days best first by the day fortune value, for two the lower; days of 沖 last)",
     RunBestDays},
    {"records",
     "records [--file PATH] list [--names | --prefix TEXT] | show N | find NAME | delete N | copy PATH\n"
     "        | merge PATH | export [--json|--csv] | import FILE\n"
     "        | add | replace N   with --sex m|f (--birth \"YYYY-MM-DD HH:MM\" | --lunar \"Y-M-D[-leap] HH:MM\")\n"
     "          [--hour-unknown] [--name T] [--address T] [--phone T] [--remarks T]",
     RunRecords},
    {"candidates",
     "candidates --date YYYY-MM-DD [--to-date YYYY-MM-DD] [--from HH:MM] [--until HH:MM] --sex m|f\n"
     "        [chart options] [--json]   (時辰不確定: every distinct chart of that clock time, with what\n"
     "        changed at its start, luck direction and start, first luck pillars, strength, roles, pattern)",
     RunCandidates},
    {"find-pillars",
     "find-pillars YEAR MONTH [DAY [HOUR]] [--rat-hour 0|1|2] [--from Y] [--to Y] [--json]\n"
     "        (八字反查, e.g. 甲子 丙寅 戊辰 庚申: every range in which the pillars hold, first and last minute\n"
     "        with their lunar dates; years 1801-2100 unless given)",
     RunFindPillars},
    {"settings", "settings [list | get KEY | set KEY VALUE]", RunSettings},
    {"potential",
     "potential --birth \"YYYY-MM-DD HH:MM\" --sex m|f [--hour-unknown] [chart options] [--category N] [--json]\n"
     "        [--file PATH]   (the values of each ability, natal and, when it differs, transformed)",
     RunPotential},
    {"potential-table", "potential-table [--file PATH] show | export | import FILE.json", RunPotentialTable},
    {"render",
     "render --birth \"YYYY-MM-DD HH:MM\" --sex m|f [--hour-unknown] [chart options] --out chart.png|chart.pdf\n"
     "        [--size WIDTH] [--name T] [--year-display 0|1] [--today YYYY-MM-DD]\n"
     "        [--kind 0|1|2] [--luck K (1-12)] [--year LUNAR-YEAR] [--half stem|branch] [--flow-years]\n"
     "        | --potential-style 0-7 [--compare-year LUNAR-YEAR] [--category N] [--file PATH] [--print]",
     [](Args& args) { return RunInPictureProgram("render", args); }},
    {"curve",
     "curve --birth \"YYYY-MM-DD HH:MM\" --sex m|f [--hour-unknown] [chart options] --mode 0|1|2|3\n"
     "        [--category 1|3|4|5|6|7|8|9|14] [--lifetime] [--luck K | --year YYYY [--month M]]\n"
     "        --out chart.png|chart.pdf [--size WIDTH] [--print [--name T]]\n"
     "        [--with-birth \"YYYY-MM-DD HH:MM\" --with-sex m|f | --record N --with-record M]\n"
     "        (a second person's values by calendar year on --lifetime and --mode 1)",
     [](Args& args) { return RunInPictureProgram("curve", args); }},
};

void PrintUsage(std::FILE* to) {
    std::fprintf(to, "usage: quorvane-cli [--data-dir DIR] COMMAND ...\n");
    for (const Command& c : Commands) std::fprintf(to, "  quorvane-cli %s\n", c.Usage);
    std::fprintf(to,
                 "chart options: [--god-base 0|1] [--sky-base 0|1] [--pool-base 0|1] [--rat-hour 0|1|2] [birth clock]\n"
                 "birth clock: the time is UTC+8 clock time unless\n"
                 "  --zone NAME             it is the clock of that tz zone (Asia/Taipei, America/Los_Angeles, ...),\n"
                 "                          every historical offset and summer time included\n"
                 "  --second-occurrence     a clock time the zone showed twice is the later one (default: first)\n"
                 "  --solar-time LONGITUDE  chart true solar time (真太陽時) at the birthplace (degrees, east positive)\n");
}

}  // namespace

}  // namespace qv::cli

int main(int argc, char** argv) { return qv::cli::RunCommandLine(argc, argv, qv::cli::Commands, qv::cli::PrintUsage); }

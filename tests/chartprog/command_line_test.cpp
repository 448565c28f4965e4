// The flow-year chart program's command line: the switch rules after the "@"
// and the options before it.
#include <gtest/gtest.h>

#include <tuple>

#include "command_line.h"

namespace qv::chartprog {
namespace {

TEST(ChartRequestTest, AFullCommandLineFillsThePersonAndTheWindow) {
    const ChartRequest r = ParseChartRequest("C:\\x\\Velmaro.exe @/Y 1992 /M 2 /D 3 /h 7 /m 8 /S 0 /P 2 /T 1 /F 0");
    EXPECT_EQ(r.Year, 1992);
    EXPECT_EQ(r.Month, 2);
    EXPECT_EQ(r.Day, 3);
    EXPECT_EQ(r.Hour, 7);
    EXPECT_EQ(r.Minute, 8);
    EXPECT_EQ(r.Sex, 0);
    EXPECT_EQ(r.Mode, 2);
    EXPECT_EQ(r.Category, 1);
    EXPECT_EQ(r.Lifetime, 0);
}

// Only the first "@" separates; names are case-sensitive after either switch
// character; values read as atoi reads them; a switch at the end gets 0 and
// the later of two wins; an unknown switch takes its value and loose words
// are skipped.
TEST(ChartRequestTest, TheSwitchRulesAfterTheAtSign) {
    struct Case {
        const char* Line;
        int Year, Mode, Category;
    } const cases[] = {
        {"/Y 1992 /P 2 /T 1", 0, NotGiven, NotGiven},  // without an "@" there are no switches
        {"a@b @/Y 1992 /P 1 /T 1", 0, 1, 1},           // after "a@": "b" is skipped, "@/Y" is no switch
        {"@-Y 1992 /p 2 /T 1", 1992, NotGiven, 1},     // p is not P
        {"@-Y 1992 -P 2 -T 1", 1992, 2, 1},
        {"@/Y 1992x /P 2 /T 1", 1992, 2, 1},
        {"@/Y x /P 2 /T 1", 0, 2, 1},
        {"@/Y -12 /P 2", -12, 2, NotGiven},
        {"@/Y +7", 7, NotGiven, NotGiven},
        {"@/P 2 /T 1 /Y", 0, 2, 1},
        {"@/Y 1990 /Y 2001", 2001, NotGiven, NotGiven},
        {"@/P 2 /P", 0, 0, NotGiven},
        {"@/X /Y 1992 hello /P   3   /T 9", 0, 3, 9},  // /X swallows "/Y" as its value
        {"@/ 5 /T 3", 0, NotGiven, 3},                 // an empty name is unknown too
    };
    for (const Case& c : cases) {
        const ChartRequest r = ParseChartRequest(c.Line);
        EXPECT_EQ(std::tie(r.Year, r.Mode, r.Category), std::tie(c.Year, c.Mode, c.Category)) << c.Line;
    }
    const ChartRequest r = ParseChartRequest("@/M 11 /m 45 /h 25");
    EXPECT_EQ(std::tie(r.Month, r.Minute, r.Hour), std::make_tuple(11, 45, 25));
    EXPECT_EQ(ReadLeadingInteger("  42abc"), 42);
    EXPECT_EQ(ReadLeadingInteger("- 5"), 0);
    EXPECT_EQ(ReadLeadingInteger("99999999999999999999"), 2147483647);
    EXPECT_EQ(ReadLeadingInteger("-99999999999999999999"), -2147483647 - 1);
}

TEST(ProgramOptionsTest, OwnOptionsStandBeforeTheAtSign) {
    std::string error;
    const auto parsed = ParseCommandLine({"--data-dir", "/tmp/d", "--render", "out.png", "--size", "800", "@/Y",
                                          "1992", "/P", "0", "/T", "1", "/F", "1"},
                                         error);
    ASSERT_TRUE(parsed) << error;
    EXPECT_EQ(parsed->Options.DataDir, "/tmp/d");
    EXPECT_EQ(parsed->Options.RenderPath, "out.png");
    EXPECT_EQ(parsed->Options.RenderWidth, 800);
    EXPECT_EQ(parsed->Request.Year, 1992);
    EXPECT_EQ(parsed->Request.Lifetime, 1);

    const auto split = ParseCommandLine({"@", "/Y", "1992", "/P", "2", "/T", "1"}, error);
    ASSERT_TRUE(split);
    EXPECT_EQ(split->Request.Mode, 2);  // joined with blanks: "@ /Y 1992 ..." reads the same
    EXPECT_TRUE(ParseCommandLine({"--help"}, error)->Options.Help);
}

TEST(ProgramOptionsTest, BadOptionsAreRefusedWithTheReason) {
    std::string error;
    EXPECT_FALSE(ParseCommandLine({"--bogus", "@/P", "2"}, error));
    EXPECT_NE(error.find("--bogus"), std::string::npos);
    EXPECT_FALSE(ParseCommandLine({"--data-dir"}, error));
    EXPECT_FALSE(ParseCommandLine({"--data-dir", "@/P", "2"}, error));  // the switches are no folder
    EXPECT_FALSE(ParseCommandLine({"--size", "12x", "@"}, error));
    EXPECT_FALSE(ParseCommandLine({"--size", "0", "@"}, error));
    // Options after the "@" are switches text, not ours: ignored as the switch rules say.
    EXPECT_TRUE(ParseCommandLine({"@/P", "2", "--bogus", "1"}, error));
}

}  // namespace
}  // namespace qv::chartprog

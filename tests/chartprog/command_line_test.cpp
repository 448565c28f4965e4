// The flow-year chart program's command line: the switch rules after the "@"
// and the options before it.
#include <gtest/gtest.h>

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

TEST(ChartRequestTest, WithoutAnAtSignThereAreNoSwitches) {
    const ChartRequest r = ParseChartRequest("/Y 1992 /P 2 /T 1");
    EXPECT_EQ(r.Year, 0);
    EXPECT_EQ(r.Mode, NotGiven);
    EXPECT_EQ(r.Category, NotGiven);
}

TEST(ChartRequestTest, NamesAreCaseSensitiveAndEitherSwitchCharacterWorks) {
    const ChartRequest lower = ParseChartRequest("@-Y 1992 /p 2 /T 1");
    EXPECT_EQ(lower.Year, 1992);
    EXPECT_EQ(lower.Mode, NotGiven);  // p is not P
    const ChartRequest dashes = ParseChartRequest("@-Y 1992 -P 2 -T 1");
    EXPECT_EQ(dashes.Mode, 2);
    EXPECT_EQ(dashes.Category, 1);
    const ChartRequest monthMinute = ParseChartRequest("@/M 11 /m 45");
    EXPECT_EQ(monthMinute.Month, 11);
    EXPECT_EQ(monthMinute.Minute, 45);
}

TEST(ChartRequestTest, ValuesReadAsAtoiReadsThem) {
    EXPECT_EQ(ParseChartRequest("@/Y 1992x /P 2 /T 1").Year, 1992);
    EXPECT_EQ(ParseChartRequest("@/Y x /P 2 /T 1").Year, 0);
    EXPECT_EQ(ParseChartRequest("@/Y -12 /P 2").Year, -12);
    EXPECT_EQ(ParseChartRequest("@/Y +7").Year, 7);
    EXPECT_EQ(ParseChartRequest("@/h 25 /P 1").Hour, 25);
    EXPECT_EQ(ReadLeadingInteger("  42abc"), 42);
    EXPECT_EQ(ReadLeadingInteger("- 5"), 0);
    EXPECT_EQ(ReadLeadingInteger("99999999999999999999"), 2147483647);
    EXPECT_EQ(ReadLeadingInteger("-99999999999999999999"), -2147483647 - 1);
}

TEST(ChartRequestTest, ASwitchAtTheEndGetsZeroAndTheLaterOfTwoWins) {
    const ChartRequest r = ParseChartRequest("@/P 2 /T 1 /Y");
    EXPECT_EQ(r.Year, 0);
    EXPECT_EQ(r.Mode, 2);
    EXPECT_EQ(ParseChartRequest("@/Y 1990 /Y 2001").Year, 2001);
    EXPECT_EQ(ParseChartRequest("@/P 2 /P").Mode, 0);
}

TEST(ChartRequestTest, UnknownSwitchesTakeTheirValueAndLooseWordsAreSkipped) {
    // /X swallows "/Y" as its value, so the year stays unset; "hello" is no switch.
    const ChartRequest r = ParseChartRequest("@/X /Y 1992 hello /P   3   /T 9");
    EXPECT_EQ(r.Year, 0);
    EXPECT_EQ(r.Mode, 3);
    EXPECT_EQ(r.Category, 9);
    EXPECT_EQ(ParseChartRequest("@/ 5 /T 3").Category, 3);  // an empty name is unknown too
}

TEST(ChartRequestTest, OnlyTheFirstAtSignSeparates) {
    const ChartRequest r = ParseChartRequest("a@b @/Y 1992 /P 1 /T 1");
    EXPECT_EQ(r.Year, 0);  // the switches begin after "a@": "b" is skipped, then "@/Y" is no switch
    EXPECT_EQ(r.Mode, 1);
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

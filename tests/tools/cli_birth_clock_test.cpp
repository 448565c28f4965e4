// The birth-clock options of quorvane-cli: --zone, --second-occurrence and
// --solar-time on the charting commands, their reports and their refusals.
#include <gtest/gtest.h>

#include <filesystem>

#include "json_tree.h"
#include "run_program.h"

namespace qv {
namespace {

using test::Lines;

// The start of a line, as long as the expected start.
std::string Start(const std::string& line, const std::string& expected) { return line.substr(0, expected.size()); }

class BirthClockCli : public test::CliTest {
protected:
    test::ProgramResult Chart(const std::string& birth, const std::vector<std::string>& more) {
        return Cli(test::With({"chart", "--birth", birth, "--sex", "m", "--json"}, more));
    }
};

TEST_F(BirthClockCli, ZoneClockIsChartedAtItsUtcPlusEightMoment) {
    const auto corrected = Chart("1974-07-15 12:00", {"--zone", "Asia/Taipei"});
    ASSERT_EQ(corrected.Status, 0) << corrected.Err;
    const test::Json c = test::ParseJson(corrected.Out);
    EXPECT_EQ(c["Charted"].Text, "1974-07-15 11:00");
    EXPECT_EQ(c["Correction"]["Zone"].Text, "Asia/Taipei");
    EXPECT_EQ(c["Correction"]["ZoneOffsetMinutes"].Int(), 540);
    EXPECT_TRUE(c["Correction"]["DaylightSaving"].Flag);
    EXPECT_EQ(c["Correction"]["GivenClock"].Text, "1974-07-15 12:00");

    const auto plain = Chart("1974-07-15 11:00", {});
    ASSERT_EQ(plain.Status, 0) << plain.Err;
    const test::Json p = test::ParseJson(plain.Out);
    EXPECT_FALSE(p.Has("Correction"));
    EXPECT_EQ(p["Charted"].Text, "1974-07-15 11:00");
    EXPECT_EQ(c["Pillars"], p["Pillars"]);
    EXPECT_EQ(c["Natal"], p["Natal"]);
}

TEST_F(BirthClockCli, PillarsGiveTheClockTimeThenTheMomentCharted) {
    // One instant, 03:00 UTC on 15 July 1974, on three clocks.
    const auto r = Cli({"pillars", "--zone", "America/Los_Angeles", "1974-07-14 20:00"});
    const auto t = Cli({"pillars", "--zone", "Asia/Taipei", "1974-07-15 12:00"});
    const auto plain = Cli({"pillars", "1974-07-15 11:00"});
    ASSERT_EQ(r.Status, 0) << r.Err;
    ASSERT_EQ(t.Status, 0) << t.Err;
    EXPECT_EQ(r.Out, "1974-07-14 20:00\t" + plain.Out);
    EXPECT_EQ(t.Out, "1974-07-15 12:00\t" + plain.Out);

    // The hour Taiwan's summer time ended shows 23:00-23:59 twice.
    const auto first = Cli({"pillars", "--zone", "Asia/Taipei", "1974-09-30 23:30"});
    const auto second = Cli({"pillars", "--zone", "Asia/Taipei", "--second-occurrence", "1974-09-30 23:30"});
    EXPECT_EQ(Start(first.Out, "1974-09-30 23:30\t1974-09-30 22:30\t"), "1974-09-30 23:30\t1974-09-30 22:30\t");
    EXPECT_EQ(Start(second.Out, "1974-09-30 23:30\t1974-09-30 23:30\t"), "1974-09-30 23:30\t1974-09-30 23:30\t");
}

TEST_F(BirthClockCli, TrueSolarTimeAtTheBirthplace) {
    const auto r = Chart("2024-02-11 12:00", {"--solar-time", "121.5"});
    ASSERT_EQ(r.Status, 0) << r.Err;
    const test::Json j = test::ParseJson(r.Out);
    EXPECT_EQ(j["Charted"].Text, "2024-02-11 11:52");
    EXPECT_EQ(j["Correction"]["SolarTimeLongitude"].Number, 121.5);
    EXPECT_NEAR(j["Correction"]["EquationOfTimeMinutes"].Number, -14.2, 0.5);

    const auto readable = Cli({"chart", "--birth", "2024-02-11 12:00", "--sex", "f", "--solar-time", "121.5"});
    const auto lines = Lines(readable.Out);
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[0], "出生地  2024-02-11 12:00 東八區");
    const std::string solar = "排盤    2024-02-11 11:52 真太陽時 東經121.50°", charted = "出生    2024-02-11 11:52";
    EXPECT_EQ(Start(lines[1], solar), solar);
    EXPECT_EQ(Start(lines[2], charted), charted);
    // Without the options the readable chart opens with the birth alone.
    const std::string birth = "出生    1974-07-15 12:00";
    EXPECT_EQ(Start(Lines(Cli({"chart", "--birth", "1974-07-15 12:00", "--sex", "m"}).Out).at(0), birth), birth);
}

TEST_F(BirthClockCli, EveryChartingCommandTakesTheClock) {
    const std::string out = data_.Path() + "/chart.png";
    const auto fortune = Cli({"fortune", "--birth", "1988-07-01 08:00", "--sex", "f", "--zone", "Asia/Shanghai", "--luck"});
    const auto plain = Cli({"fortune", "--birth", "1988-07-01 07:00", "--sex", "f", "--luck"});
    ASSERT_EQ(fortune.Status, 0) << fortune.Err;
    EXPECT_EQ(fortune.Out, plain.Out);
    if (QUORVANE_GUI) {
        Out({"render", "--birth", "1975-07-01 00:30", "--sex", "m", "--zone", "Asia/Hong_Kong", "--today", "2026-12-07",
             "--out", out});
        EXPECT_TRUE(std::filesystem::exists(out));
    }
    const auto batch = Cli({"chart", "--batch", "--zone", "Asia/Taipei"},
                           "1974-07-15 12:00 m\n1974-04-01 00:30 f\n1974-07-15 ?? f\n");
    const auto lines = Lines(batch.Out);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(test::ParseJson(lines[0])["Charted"].Text, "1974-07-15 11:00");
    EXPECT_NE(test::ParseJson(lines[1])["Error"].Text.find("did not exist"), std::string::npos) << lines[1];
    EXPECT_NE(test::ParseJson(lines[2])["Error"].Text.find("hour of birth"), std::string::npos) << lines[2];
    EXPECT_EQ(batch.Status, 1);
}

TEST_F(BirthClockCli, BadClocksAreRefusedAndNothingIsCharted) {
    const std::string out = data_.Path() + "/refused.png";
    struct Case {
        std::vector<std::string> Args;
        const char* Says;
    } cases[] = {
        {{"chart", "--birth", "1974-07-15 12:00", "--sex", "m", "--zone", "Asia/Taipeh"}, "unknown time zone Asia/Taipeh"},
        {{"chart", "--birth", "1974-07-15 12:00", "--sex", "m", "--zone", ""}, "unknown time zone"},
        {{"chart", "--birth", "1974-07-15 12:00", "--sex", "m", "--solar-time", "180.5"}, "-180 to 180"},
        {{"chart", "--birth", "1974-07-15 12:00", "--sex", "m", "--solar-time", "east"}, "-180 to 180"},
        {{"chart", "--birth", "1974-04-01 00:30", "--sex", "m", "--zone", "Asia/Taipei"}, "did not exist"},
        {{"chart", "--birth", "2024-03-10 02:15", "--sex", "m", "--zone", "America/Los_Angeles"}, "did not exist"},
        {{"chart", "--birth", "1974-07-15 12:00", "--sex", "m", "--hour-unknown", "--solar-time", "120"}, "hour of birth"},
        {{"pillars", "--zone", "Mars/Olympus", "1974-07-15 12:00"}, "unknown time zone"},
        {{"render", "--birth", "1988-04-17 02:30", "--sex", "m", "--zone", "Asia/Shanghai", "--out", out}, "did not exist"},
    };
    for (const Case& c : cases) {
        if (!QUORVANE_GUI && c.Args[0] == "render") continue;
        SCOPED_TRACE(c.Args.back());
        ExpectRefused(c.Args, c.Says);
    }
    EXPECT_FALSE(std::filesystem::exists(out));
    EXPECT_TRUE(std::filesystem::is_empty(data_.Path()));
}

}  // namespace
}  // namespace qv

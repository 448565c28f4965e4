// quorvane-cli find-pillars and candidates: answers, and refusals in the
// system's words with exit status 1.
#include <gtest/gtest.h>

#include "json_tree.h"
#include "run_program.h"

namespace qv {
namespace {

using test::Lines;
using CliFindPillars = test::CliTest;
using CliChartEdges = test::CliTest;
using CliCandidates = test::CliTest;

TEST_F(CliFindPillars, RangesWithTheirLunarDates) {
    const std::string r = Out({"find-pillars", "己卯", "丙子", "戊午", "--from", "1990", "--to", "2010"});
    // 一般子時: the 戊午 day runs from 23:00 of the day before; lunar 1999-11-25 (己卯年十一月廿五).
    EXPECT_EQ(r, "1999-12-31 23:00\t2000-01-01 22:59\t1999-11-25\t1999-11-25\n");
    const std::string json = Out({"find-pillars", "己卯", "丙子", "戊午", "戊午", "--json", "--from", "1999", "--to", "2000"});
    EXPECT_EQ(json, "{\"first\":\"2000-01-01 11:00\",\"last\":\"2000-01-01 12:59\",\"minutes\":120,"
                        "\"first_lunar\":{\"year\":1999,\"month\":11,\"day\":25,\"leap\":false},"
                        "\"last_lunar\":{\"year\":1999,\"month\":11,\"day\":25,\"leap\":false}}\n");
}

TEST_F(CliFindPillars, RefusalsSayWhy) {
    const struct {
        std::vector<std::string> Args;
        const char* Says;
    } cases[] = {
        {{"find-pillars", "甲子"}, "八字須有年柱、月柱"},
        {{"find-pillars", "甲丑", "丙寅"}, "「甲丑」不是六十甲子之一"},
        {{"find-pillars", "甲子", "甲寅"}, "年上起月"},
        {{"find-pillars", "甲子", "丙寅", "戊辰", "甲辰"}, "日上起時"},
        {{"find-pillars", "甲子", "丙寅", "--from", "2000", "--to", "1990"}, "年份範圍"},
        {{"find-pillars", "甲子", "丙寅", "--from", "1990", "--to", "2000"}, "這段年份中沒有這組八字"},
    };
    for (const auto& c : cases) ExpectRefused(c.Args, c.Says);
}

using test::ParseJson;

// Minutes of a "YYYY-MM-DD HH:MM" of one month, enough to see a tiling.
int MinuteOfMonth(const std::string& t) {
    return (std::stoi(t.substr(8, 2)) * 24 + std::stoi(t.substr(11, 2))) * 60 + std::stoi(t.substr(14, 2));
}

// Which edges there are is the engine's to find; here each kind of edge and
// none as the JSON names them.
TEST_F(CliChartEdges, ChartJsonTellsTheEdgesWithinTheMargins) {
    const struct {
        std::vector<std::string> Args;
        const char* Edges;
    } cases[] = {
        {{"--birth", "2024-02-04 16:26"}, R"("Edges":[{"what":"立春","side":"before","minutes":1,"decides":["year","month"]}])"},
        {{"--birth", "2000-01-01 22:59"}, R"("Edges":[{"what":"23:00","side":"before","minutes":1,"decides":["day","hour"]}])"},
        // Taiwan's clock skipped 1974-04-01 00:00-00:59: 01:03 (00:03 on the chart's
        // clock, no edge of 一般子時) lies three minutes after the change.
        {{"--birth", "1974-04-01 01:03", "--zone", "Asia/Taipei"},
         R"("Edges":[{"what":"clock_change","side":"after","minutes":3,"decides":[]}])"},
        {{"--birth", "2000-01-01 12:00"}, R"("Edges":[])"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = {"chart", "--json", "--sex", "m"};
        args.insert(args.end(), c.Args.begin(), c.Args.end());
        const std::string r = Out(args);
        EXPECT_EQ(ParseJson(r)["Edges"], ParseJson("{" + std::string(c.Edges) + "}")["Edges"]) << c.Args[1] << "\n"
                                                                                          << r.substr(0, 400);
    }
    const auto text = Cli({"chart", "--sex", "m", "--birth", "2024-02-04 16:24"});
    EXPECT_NE(text.Out.find("出生時刻距立春 3 分鐘：年柱、月柱以出生分鐘為準\n"), std::string::npos);
}

TEST_F(CliCandidates, AWholeDayIsTiledAndEachChartIsTheChartOfItsMoment) {
    const std::string r = Out({"candidates", "--date", "2000-01-01", "--sex", "f", "--json"});
    const auto lines = Lines(r);
    ASSERT_EQ(lines.size(), 13u);
    int next = MinuteOfMonth("2000-01-01 00:00");
    for (const std::string& line : lines) {
        const test::Json c = ParseJson(line);
        EXPECT_EQ(MinuteOfMonth(c["first"].Text), next) << line;
        next = MinuteOfMonth(c["last"].Text) + 1;
        const std::string chart = Out({"chart", "--json", "--sex", "f", "--birth", c["charted"].Text});
        const test::Json full = ParseJson(chart), natal = full["Natal"];
        EXPECT_EQ(c["Pillars"], full["Pillars"]) << line;
        EXPECT_EQ(c["LuckForward"], full["LuckForward"]);
        for (const char* field : {"LuckStartAge", "LuckStartSpan", "LuckStem", "LuckBranch", "IsStrong", "Roles", "Pattern"})
            EXPECT_EQ(c[field], natal[field]) << field << " " << line;
    }
    EXPECT_EQ(next, MinuteOfMonth("2000-01-02 00:00"));
}

TEST_F(CliCandidates, ATermASummerTimeChangeAndSolarTimeSplitTheSpan) {
    struct Case {
        std::vector<std::string> Args;
        std::vector<std::string> Starts;  // first clock minute and what changed there
    } const cases[] = {
        // 立春 2024 at 16:27 (UTC+8) inside the 申 hour.
        {{"--date", "2024-02-04", "--from", "15:00", "--until", "16:59"},
         {"2024-02-04 15:00 -", "2024-02-04 16:27 月 年"}},
        // Taiwan's clock went from 1974-04-01 00:00 to 01:00 (zdump Asia/Taipei).
        {{"--date", "1974-03-31", "--from", "22:00", "--to-date", "1974-04-01", "--until", "02:59", "--zone", "Asia/Taipei"},
         {"1974-03-31 22:00 -", "1974-03-31 23:00 時 日", "1974-04-01 01:00 時鐘", "1974-04-01 02:00 時"}},
        // True solar time at 121.5°E on 11 February 2024 runs 8 minutes behind
        // the clock (12:00 charts 11:52): the 未 hour starts at 13:08.
        {{"--date", "2024-02-11", "--from", "13:00", "--until", "13:15", "--solar-time", "121.5"},
         {"2024-02-11 13:00 -", "2024-02-11 13:08 時"}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"candidates", "--sex", "m"};
        args.insert(args.end(), c.Args.begin(), c.Args.end());
        const std::string r = Out(args);
        std::vector<std::string> starts;
        for (const std::string& line : Lines(r)) starts.push_back(test::Fields(line).at(0) + " " + test::Fields(line).at(3));
        EXPECT_EQ(starts, c.Starts) << r;
    }
}

TEST_F(CliCandidates, BadInputIsRefused) {
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"candidates", "--sex", "m"},
             {"candidates", "--date", "2000-02-30", "--sex", "m"},
             {"candidates", "--date", "2000-01-01", "--from", "25:00", "--sex", "m"},
             {"candidates", "--date", "2000-01-02", "--to-date", "2000-01-01", "--sex", "m"},
             {"candidates", "--date", "1700-01-01", "--sex", "m"},
         }) {
        const auto r = Cli(args);
        EXPECT_EQ(r.Status, 1) << args[2];
        EXPECT_TRUE(r.Out.empty()) << args[2];
    }
}

}  // namespace
}  // namespace qv

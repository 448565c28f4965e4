// quorvane-cli's calendar commands: output formats, bad input, missing data.
#include <gtest/gtest.h>

#include <fstream>
#include <map>

#include "json_tree.h"
#include "run_program.h"

namespace qv {
namespace {

using test::CliTest;
using test::Lines;

// Stdin in input order; the rat-hour rule as an argument: 一般子時 counts 23:30
// to the next day (己未), 夜子時 keeps the day 戊午.
TEST_F(CliTest, PillarsFromStdinInInputOrderUnderEitherRatHourRule) {
    const std::string r = Out({"pillars"}, "2000-01-01 23:30\n2000-01-01 12:00\n");
    EXPECT_EQ(r, "2000-01-01 23:30\t15\t12\t55\t0\t己卯 丙子 己未 甲子\n"
                     "2000-01-01 12:00\t15\t12\t54\t54\t己卯 丙子 戊午 戊午\n");
    const auto night = Cli({"pillars", "--rat-hour", "2", "2000-01-01 23:30"});
    EXPECT_EQ(night.Out, "2000-01-01 23:30\t15\t12\t54\t0\t己卯 丙子 戊午 甲子\n") << night.Err;
}

// An argument that holds no input is a refused line like any unreadable one;
// blank lines of stdin are only skipped.
TEST_F(CliTest, BlankArgumentsAreRefusedWithTheirNumberAndSolarIsLunarsInverse) {
    const std::vector<std::vector<std::string>> blanks = {
        {"pillars", ""}, {"pillars", " "}, {"lunar", ""}, {"lunar", "  "}, {"solar", ""}, {"solar", "\t"},
    };
    for (const auto& args : blanks) {
        const auto r = Cli(args);
        EXPECT_EQ(r.Status, 1) << args[0];
        EXPECT_EQ(r.Out, "") << args[0];
        EXPECT_EQ(r.Err, "quorvane-cli: line 1: empty argument\n") << args[0];
    }
    // The others are still answered.
    const auto mixed = Cli({"lunar", "2033-12-22", " ", "1900-01-31"});
    EXPECT_EQ(mixed.Status, 1);
    EXPECT_EQ(mixed.Out, "2033-12-22\t2033\t11\t1\t1\n1900-01-31\t1900\t1\t1\t0\n");
    EXPECT_EQ(mixed.Err, "quorvane-cli: line 2: empty argument\n");
    // solar is lunar's inverse for the same days; a leap month the year lacks is refused.
    const auto solar = Cli({"solar"}, "2033 11 1 1\n1900 1 1 0\n2023 3 1 1\n");
    EXPECT_EQ(solar.Status, 1);
    EXPECT_EQ(solar.Out, "2033-12-22\n1900-01-31\n");
    EXPECT_NE(solar.Err.find("line 3"), std::string::npos);

    const std::string stdinBlanks = Out({"pillars"}, "\n  \r\n2000-01-01 12:00\n\n");
    EXPECT_EQ(stdinBlanks, "2000-01-01 12:00\t15\t12\t54\t54\t己卯 丙子 戊午 戊午\n");
}

// Many lines, some refused (no such day, before the table, nonsense), one
// longer than any read of stdin, the last without its newline: bad lines are
// named, skipped and fail the run.
TEST_F(CliTest, LongStdinIsAnsweredLineByLine) {
    const std::string moment = "2000-01-01 12:00";
    const std::string answer = moment + "\t15\t12\t54\t54\t己卯 丙子 戊午 戊午";
    const std::map<int, std::string> bad = {
        {1000, "2000-02-30 12:00"}, {2000, std::string(200000, 'x')}, {3000, "1700-01-01 00:00"}, {4000, "nonsense"}};
    std::string input;
    for (int n = 1; n <= 5000; ++n) {
        input += bad.contains(n) ? bad.at(n) : n % 7 ? moment : moment + "\r";
        if (n < 5000) input += '\n';
    }
    const auto r = Cli({"pillars"}, input);
    EXPECT_EQ(r.Status, 1);
    EXPECT_EQ(Lines(r.Out), std::vector<std::string>(4996, answer));
    const auto errors = Lines(r.Err);
    ASSERT_EQ(errors.size(), 4u) << r.Err.substr(0, 200);
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(errors[i].starts_with("quorvane-cli: line " + std::to_string(1000 * (i + 1)) + ": "));
    EXPECT_EQ(errors[3], "quorvane-cli: line 4000: expected YYYY-MM-DD HH:MM: nonsense");
}

TEST_F(CliTest, TermsOfOneYear) {
    const std::string r = Out({"terms", "--from", "2024", "--to", "2024"});
    const auto lines = Lines(r);
    ASSERT_EQ(lines.size(), 24u);
    // The moments are checked against the reference in the engine's tests; here the form, in UTC+8.
    EXPECT_EQ(lines[2], "2024\t2\t2024-02-04 16:27");
}

// A month a line a day; the lines checked by hand: 2000-01-01 is 戊午 and a
// Saturday, 閏六月 of 2025 begins on 25 July, 立春 2024 at 16:27 leaves noon
// in the 癸卯 year's 乙丑 month.
TEST_F(CliTest, CalendarGivesEveryDayOfTheMonth) {
    const std::string r = Out({"calendar", "2025-07", "2024-02"});
    const auto lines = Lines(r);
    ASSERT_EQ(lines.size(), 31u + 29u);
    EXPECT_EQ(lines[24], "2025-07-25\t五\t2025-閏06-01\t乙巳 癸未 乙未\t-");
    EXPECT_EQ(lines[31 + 3], "2024-02-04\t日\t2023-12-25\t癸卯 乙丑 戊戌\t立春 16:27");
    const std::string edge = Out({"calendar", "1900-01"});
    EXPECT_EQ(Lines(edge).front(), "1900-01-01\t一\t-\t己亥 丙子 甲戌\t-");
    EXPECT_EQ(Lines(edge).back().substr(0, 26), "1900-01-31\t三\t1900-01-01\t");

    const std::string json = Out({"calendar", "--json", "2025-07"});
    const auto objects = Lines(json);
    ASSERT_EQ(objects.size(), 31u);
    EXPECT_EQ(objects[24],
              "{\"date\":\"2025-07-25\",\"weekday\":5,\"lunar\":{\"year\":2025,\"month\":6,\"day\":1,\"leap\":true},"
              "\"year_pillar\":{\"number\":41,\"text\":\"乙巳\"},\"month_pillar\":{\"number\":19,\"text\":\"癸未\"},"
              "\"day_pillar\":{\"number\":31,\"text\":\"乙未\"},\"term\":null}");
    const test::Json term = test::ParseJson(objects[6])["term"];
    EXPECT_EQ(term["index"].Int(), 12) << objects[6];
    EXPECT_EQ(term["name"].Text, "小暑");
    // 小暑 2025 begins at about 04:05 on 7 July, UTC+8.
    EXPECT_TRUE(term["time"].Text.starts_with("04:0")) << term["time"].Text;
}

TEST_F(CliTest, CalendarRefusesWhatIsNotAMonthOfTheTable) {
    for (const char* bad : {"1800-12", "2101-01", "2025-13", "2025-00", "2025-7", "2025/07", "abcd-ef", "2025-07-01"})
        ExpectRefused({"calendar", bad}, "expected a month YYYY-MM from 1801-01 to 2100-12");
    if (!QUORVANE_GUI) return;
    const auto render = Cli({"calendar", "2101-01", "--render", data_.Path() + "/x.png"});
    EXPECT_EQ(render.Status, 1);
    EXPECT_NE(render.Err.find("1801-01 to 2100-12"), std::string::npos) << render.Err;
    EXPECT_EQ(Cli({"calendar", "2025-07", "--render", data_.Path() + "/x.gif"}).Status, 1);
}

TEST_F(CliTest, CalendarRendersTheWindowsMonth) {
    if (!QUORVANE_GUI) GTEST_SKIP() << "built without the picture program";
    const std::string png = data_.Path() + "/month.png", pdf = data_.Path() + "/month.pdf";
    ASSERT_EQ(Cli({"calendar", "2025-07", "--render", png}).Status, 0);
    ASSERT_EQ(Cli({"calendar", "2025-07", "--render", pdf}).Status, 0);
    EXPECT_EQ(test::ReadFileText(png).substr(1, 3), "PNG");
    EXPECT_EQ(test::ReadFileText(pdf).substr(0, 5), "%PDF-");
}

TEST_F(CliTest, OddCommandLinesAreRefused) {
    EXPECT_EQ(Cli({"pillars", "--rat-hour", "7"}).Status, 1);
    EXPECT_EQ(Cli({"pillars", "--bogus"}).Status, 1);
    EXPECT_EQ(Cli({"frobnicate"}).Status, 1);
    EXPECT_EQ(test::RunProgram("quorvane-cli", {}).Status, 1);
}

TEST_F(CliTest, BrokenTableIsRefusedWithStatusTwo) {
    ::mkdir((data_.Path() + "/program").c_str(), 0755);
    std::ofstream(data_.Path() + "/program/AInfo.tbl") << "not a table";
    const auto r = Cli({"pillars", "2000-01-01 12:00"});
    EXPECT_EQ(r.Status, 2);
    EXPECT_NE(r.Err.find("AInfo.tbl"), std::string::npos) << r.Err;
    EXPECT_EQ(r.Out, "");
}

}  // namespace
}  // namespace qv

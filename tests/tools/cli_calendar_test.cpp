// quorvane-cli's calendar commands: output formats, bad input, missing data.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "run_program.h"

namespace qv {
namespace {

using test::Lines;
using test::RunCli;
using test::RunProgram;

class CliTest : public ::testing::Test {
protected:
    test::TempDir data_;
};

TEST_F(CliTest, PillarsFromStdinInInputOrder) {
    const auto r = RunCli(data_, {"pillars"}, "1999-12-07 23:30\n2000-01-01 12:00\n");
    ASSERT_EQ(r.Status, 0) << r.Err;
    const auto lines = Lines(r.Out);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1], "2000-01-01 12:00\t15\t12\t54\t54\t己卯 丙子 戊午 戊午");
    EXPECT_EQ(lines[0].substr(0, 17), "1999-12-07 23:30\t");
}

TEST_F(CliTest, PillarsRatHourRuleAsArgument) {
    const auto common = RunCli(data_, {"pillars", "2000-01-01 23:30"});
    const auto night = RunCli(data_, {"pillars", "--rat-hour", "2", "2000-01-01 23:30"});
    ASSERT_EQ(common.Status, 0);
    ASSERT_EQ(night.Status, 0);
    EXPECT_EQ(common.Out, "2000-01-01 23:30\t15\t12\t55\t0\t己卯 丙子 己未 甲子\n");
    EXPECT_EQ(night.Out, "2000-01-01 23:30\t15\t12\t54\t0\t己卯 丙子 戊午 甲子\n");
}

TEST_F(CliTest, BadLinesAreNamedSkippedAndFailTheRun) {
    const auto r = RunCli(data_, {"pillars"},
                              "2000-01-01 12:00\n2000-02-30 12:00\nnonsense\n1700-01-01 00:00\n2000-01-02 12:00\n");
    EXPECT_EQ(r.Status, 1);
    EXPECT_EQ(Lines(r.Out).size(), 2u);
    EXPECT_NE(r.Err.find("line 2"), std::string::npos) << r.Err;
    EXPECT_NE(r.Err.find("line 3"), std::string::npos);
    EXPECT_NE(r.Err.find("line 4"), std::string::npos);
}

// An argument that holds no input is a refused line like any unreadable one;
// blank lines of stdin are only skipped.
TEST_F(CliTest, BlankArgumentsAreRefusedWithTheirNumber) {
    const std::vector<std::vector<std::string>> blanks = {
        {"pillars", ""}, {"pillars", " "}, {"lunar", ""}, {"lunar", "  "}, {"solar", ""}, {"solar", "\t"},
    };
    for (const auto& args : blanks) {
        const auto r = RunCli(data_, args);
        EXPECT_EQ(r.Status, 1) << args[0];
        EXPECT_EQ(r.Out, "") << args[0];
        EXPECT_EQ(r.Err, "quorvane-cli: line 1: empty argument\n") << args[0];
    }
    // The others are still answered.
    const auto mixed = RunCli(data_, {"lunar", "2033-12-22", " ", "1900-01-31"});
    EXPECT_EQ(mixed.Status, 1);
    EXPECT_EQ(mixed.Out, "2033-12-22\t2033\t11\t1\t1\n1900-01-31\t1900\t1\t1\t0\n");
    EXPECT_EQ(mixed.Err, "quorvane-cli: line 2: empty argument\n");

    const auto stdinBlanks = RunCli(data_, {"pillars"}, "\n  \r\n2000-01-01 12:00\n\n");
    EXPECT_EQ(stdinBlanks.Status, 0) << stdinBlanks.Err;
    EXPECT_EQ(stdinBlanks.Out, "2000-01-01 12:00\t15\t12\t54\t54\t己卯 丙子 戊午 戊午\n");
}

// Many lines, some refused, one longer than any read of stdin, the last without its newline.
TEST_F(CliTest, LongStdinIsAnsweredLineByLine) {
    const std::string moment = "2000-01-01 12:00";
    const std::string answer = moment + "\t15\t12\t54\t54\t己卯 丙子 戊午 戊午";
    std::string input;
    for (int n = 1; n <= 5000; ++n) {
        input += n == 2000 ? std::string(200000, 'x') : n == 4000 ? "nonsense" : n % 7 ? moment : moment + "\r";
        if (n < 5000) input += '\n';
    }
    const auto r = RunCli(data_, {"pillars"}, input);
    EXPECT_EQ(r.Status, 1);
    EXPECT_EQ(Lines(r.Out), std::vector<std::string>(4998, answer));
    const auto errors = Lines(r.Err);
    ASSERT_EQ(errors.size(), 2u) << r.Err.substr(0, 200);
    EXPECT_EQ(errors[0].substr(0, 27), "quorvane-cli: line 2000: ex");
    EXPECT_EQ(errors[1], "quorvane-cli: line 4000: expected YYYY-MM-DD HH:MM: nonsense");
}

TEST_F(CliTest, LunarAndSolarAreInverse) {
    const auto lunar = RunCli(data_, {"lunar"}, "2033-12-22\n1900-01-31\n");
    ASSERT_EQ(lunar.Status, 0) << lunar.Err;
    EXPECT_EQ(lunar.Out, "2033-12-22\t2033\t11\t1\t1\n1900-01-31\t1900\t1\t1\t0\n");
    const auto solar = RunCli(data_, {"solar"}, "2033 11 1 1\n1900 1 1 0\n2023 3 1 1\n");
    EXPECT_EQ(solar.Status, 1);
    EXPECT_EQ(solar.Out, "2033-12-22\n1900-01-31\n");
    EXPECT_NE(solar.Err.find("line 3"), std::string::npos);
}

TEST_F(CliTest, TermsOfOneYear) {
    const auto r = RunCli(data_, {"terms", "--from", "2024", "--to", "2024"});
    ASSERT_EQ(r.Status, 0) << r.Err;
    const auto lines = Lines(r.Out);
    ASSERT_EQ(lines.size(), 24u);
    // As the almanacs publish them for UTC+8.
    EXPECT_EQ(lines[0], "2024\t0\t2024-01-06 04:49");
    EXPECT_EQ(lines[2], "2024\t2\t2024-02-04 16:27");
    EXPECT_EQ(lines[23], "2024\t23\t2024-12-21 17:20");
}

TEST_F(CliTest, OddCommandLinesAreRefused) {
    EXPECT_EQ(RunCli(data_, {"chart", "--sex", "m"}).Status, 1);
    EXPECT_EQ(RunCli(data_, {"chart", "--birth", "2000-01-01 12:00", "--sex", "x"}).Status, 1);
    EXPECT_EQ(RunCli(data_, {"pillars", "--rat-hour", "7"}).Status, 1);
    EXPECT_EQ(RunCli(data_, {"pillars", "--bogus"}).Status, 1);
    EXPECT_EQ(RunCli(data_, {"frobnicate"}).Status, 1);
    EXPECT_EQ(RunProgram("quorvane-cli", {}).Status, 1);
}

TEST_F(CliTest, BrokenTableIsRefusedWithStatusTwo) {
    ::mkdir((data_.Path() + "/program").c_str(), 0755);
    std::ofstream(data_.Path() + "/program/AInfo.tbl") << "not a table";
    const auto r = RunCli(data_, {"pillars", "2000-01-01 12:00"});
    EXPECT_EQ(r.Status, 2);
    EXPECT_NE(r.Err.find("AInfo.tbl"), std::string::npos) << r.Err;
    EXPECT_EQ(r.Out, "");
}

}  // namespace
}  // namespace qv

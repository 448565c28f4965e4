// quorvane-cli fortune, and the index values in chart --json.
#include <gtest/gtest.h>

#include "json_tree.h"
#include "run_program.h"

namespace qv {
namespace {

using test::Lines;

class FortuneCli : public test::CliTest {
protected:
    test::ProgramResult Fortune(const std::vector<std::string>& args) {
        return Cli(test::With({"fortune", "--birth", "1988-06-15 09:40", "--sex", "f"}, args));
    }
};

// 2000-01-01 12:00 is 己卯 丙子 戊午 戊午. By hand, a + b + c per stem:
// 甲 0.1 (木 相 in 子) -> 29; 乙 1 + 0.1 -> 51; 丙 1 -> 50; 丁 0.7 · 2 -> 55; 戊 2 -> 62;
// 己 1 + 0.3 · 2 -> 58; 壬 0.2 (水 旺) -> 33; 癸 1 + 0.2 -> 53; the rest 20.
TEST_F(FortuneCli, IndexValuesOfAWorkedChart) {
    const std::string r = Out({"chart", "--birth", "2000-01-01 12:00", "--sex", "m", "--json"});
    EXPECT_EQ(test::ParseJson(r)["Natal"]["StemIndex"].Ints(),
              (std::vector<int64_t>{29, 51, 50, 55, 62, 58, 20, 20, 33, 53}));
}

TEST_F(FortuneCli, EveryPeriodKindGivesOneLinePerBar) {
    const auto luck = Fortune({"--luck"});
    ASSERT_EQ(luck.Status, 0) << luck.Err;
    EXPECT_EQ(Lines(luck.Out).size(), 12u);
    const auto years = Fortune({"--years", "--category", "9"});
    ASSERT_EQ(years.Status, 0) << years.Err;
    const auto yearLines = Lines(years.Out);
    ASSERT_EQ(yearLines.size(), 120u);
    EXPECT_EQ(yearLines[0].substr(0, 12), "1988\t戊辰\t");
    const auto months = Fortune({"--months", "1988"});
    ASSERT_EQ(months.Status, 0) << months.Err;
    const auto monthLines = Lines(months.Out);
    ASSERT_EQ(monthLines.size(), 12u);
    EXPECT_EQ(monthLines[0], "1988-02-04\t甲寅\t9999\t0\t\t尚未出生");
    EXPECT_EQ(monthLines[4].substr(0, 18), "1988-06-05\t戊午\t");
    const auto days = Fortune({"--days", "1988-02", "--category", "7"});
    ASSERT_EQ(days.Status, 0) << days.Err;
    EXPECT_EQ(Lines(days.Out).size(), 29u);  // a leap February, all before birth
}

TEST_F(FortuneCli, JsonAndCommentaries) {
    const auto r = Fortune({"--years", "--json", "--text", "--category", "5"});
    ASSERT_EQ(r.Status, 0) << r.Err;
    const auto lines = Lines(r.Out);
    ASSERT_EQ(lines.size(), 120u);
    const test::Json year = test::ParseJson(lines[30]);
    EXPECT_EQ(year["Period"].Text, "2018");
    EXPECT_EQ(year["Pillar"].Text, "戊戌");
    EXPECT_FALSE(year["LevelText"].Text.empty());
    EXPECT_FALSE(year["Commentary"].Text.empty()) << "wealth has a text for every band";
    EXPECT_TRUE(year["FeelingCommentary"].Text.starts_with("【" + year["Label"].Text + "】\n"));
    const auto travel = Fortune({"--luck", "--category", "7"});
    ASSERT_EQ(travel.Status, 0) << travel.Err;
    // The travel chart labels bars with an activity and a feeling word.
    for (const std::string& line : Lines(travel.Out)) {
        const std::string label = line.substr(line.rfind('\t') + 1);
        EXPECT_GE(label.size(), 9u) << line;  // 團隊 and at least 累
    }
}

// Luck from age 6: the change column of a bar is against the bar before it
// (the first pillar's against the years before it is the luck chart's, checked
// with the fortune curve).
TEST_F(FortuneCli, LuckStartsAtItsAgeAndEachBarChangesFromTheLast) {
    const auto luck = Lines(Cli({"fortune", "--birth", "1990-02-19 09:05", "--sex", "m", "--luck"}).Out);
    ASSERT_EQ(luck.size(), 12u);
    ASSERT_EQ(luck[0].substr(0, 5), "6-15\t");
    const auto field = [](const std::string& line, int n) { return std::stoi(test::Fields(line).at(n)); };
    for (int k = 1; k < 12; ++k) EXPECT_EQ(field(luck[k], 3), field(luck[k], 2) - field(luck[k - 1], 2)) << luck[k];
}

TEST_F(FortuneCli, RefusesUnclearRequests) {
    EXPECT_EQ(Fortune({}).Status, 1);
    EXPECT_EQ(Fortune({"--luck", "--years"}).Status, 1);
    EXPECT_EQ(Fortune({"--luck", "--category", "2"}).Status, 1);
    EXPECT_EQ(Fortune({"--luck", "--category", "6"}).Status, 1);
    EXPECT_EQ(Fortune({"--months", "19x8"}).Status, 1);
    EXPECT_EQ(Fortune({"--days", "1988-13"}).Status, 1);
    const auto beyond = Fortune({"--months", "2400"});
    EXPECT_EQ(beyond.Status, 1);
    EXPECT_NE(beyond.Err.find("outside the solar-term table"), std::string::npos) << beyond.Err;
    EXPECT_TRUE(beyond.Out.empty());
}

}  // namespace
}  // namespace qv

// quorvane-cli chart: the JSON and readable charts, the charting options and --batch.
#include <gtest/gtest.h>

#include <random>

#include "run_program.h"

namespace qv {
namespace {

using test::Lines;
using test::RunCli;

// The line with every "Name":value field of the given names cut out.
std::string WithoutFields(std::string line, std::initializer_list<std::string_view> names) {
    for (std::string_view name : names) {
        const std::string key = "\"" + std::string(name) + "\":";
        for (size_t at; (at = line.find(key)) != std::string::npos;) {
            size_t end = at + key.size();
            for (int depth = 0; end < line.size(); ++end) {
                const char c = line[end];
                if (depth == 0 && (c == ',' || c == '}')) break;
                depth += (c == '[' || c == '{') ? 1 : (c == ']' || c == '}') ? -1 : 0;
            }
            line.erase(at, end - at);
        }
    }
    return line;
}

std::string RandomPeople(int count) {
    std::mt19937 rng(1234);
    std::string lines;
    char line[32];
    for (int i = 0; i < count; ++i) {
        std::snprintf(line, sizeof line, "%04d-%02d-%02d %02d:%02d %c\n", 1901 + static_cast<int>(rng() % 120),
                      1 + static_cast<int>(rng() % 12), 1 + static_cast<int>(rng() % 28), static_cast<int>(rng() % 24),
                      static_cast<int>(rng() % 60), rng() % 2 ? 'f' : 'm');
        lines += line;
    }
    return lines;
}

class ChartCli : public ::testing::Test {
protected:
    test::ProgramResult Chart(std::vector<std::string> args, const std::string& input = {}) {
        args.insert(args.begin(), "chart");
        return RunCli(data_, args, input);
    }
    test::TempDir data_;
};

TEST_F(ChartCli, JsonHoldsPillarsBlocksAndLuckTexts) {
    const auto r = Chart({"--birth", "2000-01-01 12:00", "--sex", "m", "--json"});
    ASSERT_EQ(r.Status, 0) << r.Err;
    // 己卯 丙子 戊午 戊午; a yin year: a man's luck runs backward from 丙子.
    EXPECT_NE(r.Out.find("\"Pillars\":[15,12,54,54]"), std::string::npos) << r.Out;
    EXPECT_NE(r.Out.find("\"LuckForward\":0"), std::string::npos);
    EXPECT_NE(r.Out.find("\"Natal\":{\"YearPolarity\":1"), std::string::npos);
    EXPECT_NE(r.Out.find("\"LuckStem\":[1,0,9,8,7,6,5,4,3,2,1,0]"), std::string::npos);
    EXPECT_NE(r.Out.find("\"HiddenStem\":[[2,0,0],[10,0,0],[4,6,0],[4,6,0]]"), std::string::npos);
    EXPECT_NE(r.Out.find("\"LuckChangeText\":\"每逢"), std::string::npos);
    EXPECT_NE(r.Out.find("\"LuckSpanText\":\"出生後"), std::string::npos);
    EXPECT_NE(r.Out.find("\"VoidMarks\":["), std::string::npos);
    EXPECT_NE(r.Out.find("\"Transformed\":{"), std::string::npos);
}

TEST_F(ChartCli, AnalysisIsShownUnderTheChartCaptions) {
    // 丙寅 甲午 丙戌 甲午 forms 炎上格.
    const auto r = Chart({"--birth", "1986-06-11 12:00", "--sex", "m"});
    ASSERT_EQ(r.Status, 0) << r.Err;
    const auto json = Chart({"--birth", "1986-06-11 12:00", "--sex", "m", "--json"});
    EXPECT_NE(json.Out.find("\"ReferenceStrength\":["), std::string::npos);
    EXPECT_NE(json.Out.find("\"StemUnionCount\":"), std::string::npos);
    EXPECT_NE(json.Out.find("\"Roles\":["), std::string::npos);
    EXPECT_NE(json.Out.find("\"Pillars\":[2,30,22,30]"), std::string::npos) << json.Out;
    EXPECT_NE(json.Out.find("\"Pattern\":0"), std::string::npos);
    EXPECT_NE(r.Out.find("格局用神  炎上格"), std::string::npos) << r.Out;
}

TEST_F(ChartCli, UnknownHourShowsTheConceptionPillar) {
    const auto r = Chart({"--birth", "2000-01-01 12:00", "--sex", "f", "--hour-unknown", "--json"});
    ASSERT_EQ(r.Status, 0);
    // Month 丙子: the conception pillar 丁卯 stands in the hour.
    EXPECT_NE(r.Out.find("\"Stem\":[5,2,4,3],\"Branch\":[3,0,6,3]"), std::string::npos) << r.Out;
    EXPECT_NE(Chart({"--birth", "2000-01-01 12:00", "--sex", "f", "--hour-unknown"}).Out.find("胎元"),
              std::string::npos);
}

TEST_F(ChartCli, ReadableChartLinesUpInColumns) {
    const auto r = Chart({"--birth", "2000-01-01 12:00", "--sex", "m"});
    ASSERT_EQ(r.Status, 0) << r.Err;
    for (const char* row : {"天干    己          丙          戊          戊",
                            "地支    卯          子          午          午",
                            "十神    劫財        偏印        日主        比肩",
                            "大運    乙亥  甲戌  癸酉  壬申  辛未  庚午  己巳  戊辰  丁卯  丙寅  乙丑  甲子"}) {
        EXPECT_NE(r.Out.find(row), std::string::npos) << row << "\n" << r.Out;
    }
    for (const char* caption : {"藏干", "十二運", "納音", "神煞", "空亡", "虛歲", "每逢", "交大運", "五行分數",
                                "十神分數", "日主旺度", "陰陽氣合", "用神", "仇神"}) {
        EXPECT_NE(r.Out.find(caption), std::string::npos) << caption;
    }
}

// Each option changes what it governs and nothing else.
TEST_F(ChartCli, OptionsChangeOnlyWhatTheyGovern) {
    const std::string people = RandomPeople(300);
    const auto plain = Lines(Chart({"--batch"}, people).Out);
    ASSERT_EQ(plain.size(), 300u);
    struct Case {
        const char* Option;
        std::initializer_list<std::string_view> Governed;
    };
    const Case cases[] = {
        {"--god-base", {"SpiritMaskA", "SpiritMaskB"}},
        {"--pool-base", {"SpiritMaskA", "SpiritMaskB"}},
        // The hidden stems feed the scores and everything read from them.
        {"--sky-base", {"HiddenStem", "HiddenGod", "HiddenElement", "HiddenFactor", "StemScore", "TenGodScore",
                        "ElementScore", "StrengthScore", "SameParty", "OtherParty", "IsStrong", "Roles",
                        "Pattern", "ReadingKind", "HasTransformed", "Transformed"}},
    };
    for (const Case& c : cases) {
        const auto changed = Lines(Chart({"--batch", c.Option, "1"}, people).Out);
        ASSERT_EQ(changed.size(), plain.size()) << c.Option;
        int differing = 0;
        for (size_t i = 0; i < plain.size(); ++i) {
            differing += plain[i] != changed[i];
            EXPECT_EQ(WithoutFields(plain[i], c.Governed), WithoutFields(changed[i], c.Governed)) << c.Option;
        }
        EXPECT_GT(differing, 10) << c.Option;
        EXPECT_EQ(Lines(Chart({"--batch", c.Option, "0"}, people).Out), plain) << c.Option;
    }
}

TEST_F(ChartCli, RatHourRuleMovesTheLateRatHour) {
    const auto common = Chart({"--birth", "2000-01-01 23:30", "--sex", "m", "--json"});
    const auto night = Chart({"--birth", "2000-01-01 23:30", "--sex", "m", "--json", "--rat-hour", "2"});
    // 一般子時 counts 23:30 to the next day (己未); 夜子時 keeps the day 戊午.
    EXPECT_NE(common.Out.find("\"Pillars\":[15,12,55,"), std::string::npos) << common.Out;
    EXPECT_NE(night.Out.find("\"Pillars\":[15,12,54,"), std::string::npos) << night.Out;
}

TEST_F(ChartCli, BatchAnswersEveryLineLikeASingleChart) {
    const auto single = Chart({"--birth", "1990-05-17 14:30", "--sex", "f", "--json"});
    const auto unknown = Chart({"--birth", "1990-05-17 12:00", "--sex", "m", "--hour-unknown", "--json"});
    const auto r = Chart({"--batch"}, "1990-05-17 14:30 f\r\n\n1990-05-17 ?? m\n1990-05-17 14:30 x\n1700-01-01 12:00 m\n");
    EXPECT_EQ(r.Status, 1);
    const auto lines = Lines(r.Out);
    ASSERT_EQ(lines.size(), 4u) << r.Out;
    EXPECT_EQ(lines[0] + "\n", single.Out);
    EXPECT_EQ(lines[1] + "\n", unknown.Out);
    EXPECT_EQ(lines[2].rfind("{\"Line\":4,\"Error\":", 0), 0u) << lines[2];
    EXPECT_EQ(lines[3].rfind("{\"Line\":5,\"Error\":", 0), 0u) << lines[3];
    EXPECT_NE(r.Err.find("line 4"), std::string::npos);
    EXPECT_EQ(Chart({"--batch"}, "2000-01-01 12:00 m\n").Status, 0);
}

TEST_F(ChartCli, OddOptionsAreRefused) {
    EXPECT_EQ(Chart({"--sex", "m"}).Status, 1);
    EXPECT_EQ(Chart({"--birth", "2000-01-01 12:00", "--sex", "x"}).Status, 1);
    EXPECT_EQ(Chart({"--birth", "2000-02-30 12:00", "--sex", "m"}).Status, 1);
    EXPECT_EQ(Chart({"--birth", "2000-01-01 12:00", "--sex", "m", "--god-base", "2"}).Status, 1);
    EXPECT_EQ(Chart({"--birth", "2000-01-01 12:00", "--sex", "m", "--sky-base", "x"}).Status, 1);
    EXPECT_EQ(Chart({"--batch", "--pool-base", "-1"}).Status, 1);
    EXPECT_EQ(Chart({"--birth", "2000-01-01 12:00", "--sex", "m", "extra"}).Status, 1);
}

}  // namespace
}  // namespace qv

// quorvane-cli chart: the JSON and readable charts, the charting options and --batch.
#include <gtest/gtest.h>

#include <random>

#include "json_tree.h"
#include "run_program.h"

namespace qv {
namespace {

using test::Json;
using test::Lines;
using test::ParseJson;
using Ints = std::vector<int64_t>;

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

class ChartCli : public test::CliTest {
protected:
    test::ProgramResult Chart(const std::vector<std::string>& args, const std::string& input = {}) {
        return Cli(test::With({"chart"}, args), input);
    }
};

TEST_F(ChartCli, JsonHoldsPillarsBlocksAndLuckTexts) {
    const auto r = Chart({"--birth", "2000-01-01 12:00", "--sex", "m", "--json"});
    ASSERT_EQ(r.Status, 0) << r.Err;
    const Json j = ParseJson(r.Out);
    // 己卯 丙子 戊午 戊午; a yin year: a man's luck runs backward from 丙子.
    EXPECT_EQ(j["Pillars"].Ints(), (Ints{15, 12, 54, 54}));
    EXPECT_EQ(j["LuckForward"].Int(), 0);
    EXPECT_EQ(j["Natal"]["YearPolarity"].Int(), 1);
    EXPECT_EQ(j["Natal"]["LuckStem"].Ints(), (Ints{1, 0, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0}));
    EXPECT_EQ(j["Natal"]["HiddenStem"].Items.size(), 4u);
    EXPECT_EQ(j["Natal"]["HiddenStem"].Ints(), (Ints{2, 0, 0, 10, 0, 0, 4, 6, 0, 4, 6, 0}));
    EXPECT_TRUE(j["LuckChangeText"].Text.starts_with("每逢")) << j["LuckChangeText"].Text;
    EXPECT_TRUE(j["LuckSpanText"].Text.starts_with("出生後")) << j["LuckSpanText"].Text;
    EXPECT_EQ(j["VoidMarks"].Items.size(), 12u);
    EXPECT_EQ(j["Transformed"].Is, Json::Kind::Object);
}

// 丙寅 甲午 丙戌 甲午 forms 炎上格 (the engine's tests work the pattern out).
TEST_F(ChartCli, AnalysisIsShownUnderTheChartCaptions) {
    const auto r = Chart({"--birth", "1986-06-11 12:00", "--sex", "m"});
    ASSERT_EQ(r.Status, 0) << r.Err;
    EXPECT_NE(r.Out.find("格局用神  炎上格"), std::string::npos) << r.Out;
    EXPECT_EQ(ParseJson(Chart({"--birth", "1986-06-11 12:00", "--sex", "m", "--json"}).Out)["Natal"]["Pattern"].Int(), 0);
}

TEST_F(ChartCli, UnknownHourShowsTheConceptionPillar) {
    const auto r = Chart({"--birth", "2000-01-01 12:00", "--sex", "f", "--hour-unknown", "--json"});
    ASSERT_EQ(r.Status, 0);
    // Month 丙子: the conception pillar 丁卯 stands in the hour.
    const Json j = ParseJson(r.Out);
    EXPECT_EQ(j["Natal"]["Stem"].Ints(), (Ints{5, 2, 4, 3}));
    EXPECT_EQ(j["Natal"]["Branch"].Ints(), (Ints{3, 0, 6, 3}));
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
            EXPECT_EQ(ParseJson(plain[i]).Without(c.Governed), ParseJson(changed[i]).Without(c.Governed)) << c.Option;
        }
        EXPECT_GT(differing, 10) << c.Option;
        EXPECT_EQ(Lines(Chart({"--batch", c.Option, "0"}, people).Out), plain) << c.Option;
    }
}

// 一般子時 counts 23:30 to the next day (己未); 夜子時 keeps the day 戊午.
TEST_F(ChartCli, RatHourRuleMovesTheLateRatHour) {
    EXPECT_EQ(ParseJson(Chart({"--birth", "2000-01-01 23:30", "--sex", "m", "--json"}).Out)["Pillars"][2].Int(), 55);
    const auto night = ParseJson(Chart({"--birth", "2000-01-01 23:30", "--sex", "m", "--json", "--rat-hour", "2"}).Out);
    EXPECT_EQ(night["Pillars"].Ints(), (Ints{15, 12, 54, 0}));
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
    EXPECT_EQ(ParseJson(lines[2])["Line"].Int(), 4) << lines[2];
    EXPECT_EQ(ParseJson(lines[3])["Line"].Int(), 5) << lines[3];
    EXPECT_FALSE(ParseJson(lines[3])["Error"].Text.empty());
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

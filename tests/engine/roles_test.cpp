// Special patterns, climate stems, bridging and the five roles.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>

#include "chart_builder.h"
#include "engine/analysis/roles.h"
#include "engine/chart/ganzhi.h"
#include "engine/chart/symbols.h"

namespace qv {
namespace {

using namespace gz;
using test::ChartOf;

std::vector<int> Roles(const ChartBlock& b) { return {b.Roles, b.Roles + 5}; }

// The chart again with another climate threshold.
std::unique_ptr<ChartRecord> WithThreshold(const std::string& pillars, int threshold) {
    auto rec = ChartOf(pillars);
    rec->Scoring.MIDPARM = static_cast<int16_t>(threshold);
    AnalyseChart(*rec, test::Pillars(pillars));
    return rec;
}

struct PatternCase {
    const char* Pillars;
    int Pattern;
};

TEST(SpecialPatterns, EachPatternHoldsAndJustMisses) {
    const PatternCase cases[] = {
        {"丙寅 甲午 丙戌 甲午", 炎上格},     {"丙寅 甲午 丙戌 戊子", NoPattern},  // water branch 子
        {"甲申 丙子 壬辰 庚子", 潤下格},     {"甲申 丙子 壬辰 辛丑", NoPattern},  // 丑 outside 申子辰
        {"癸巳 辛酉 庚辰 己丑", 從革格},     {"丁巳 辛酉 庚辰 己丑", NoPattern},  // fire stem 丁
        {"己丑 戊辰 戊戌 己未", 稼檣格},     {"己丑 戊辰 戊戌 戊辰", NoPattern},  // no 未
        {"壬寅 癸卯 甲辰 丙寅", 取直仁壽格}, {"壬寅 癸卯 甲辰 庚午", NoPattern},  // metal stem 庚
        {"戊辰 己未 甲午 丙寅", 棄命從財格}, {"戊辰 己未 甲午 丙午", NoPattern},  // 丙午 stands in itself
        {"庚申 辛酉 甲申 戊辰", 棄命從殺格}, {"庚申 辛酉 甲申 壬申", NoPattern},  // resource stem 壬
    };
    for (const PatternCase& c : cases) {
        const auto rec = ChartOf(c.Pillars);
        EXPECT_EQ(rec->Natal.Pattern, c.Pattern) << c.Pillars;
        if (c.Pattern != NoPattern) {
            EXPECT_EQ(rec->Natal.ReadingKind, ByPattern) << c.Pillars;
        }
    }
}

TEST(SpecialPatterns, OwnElementPatternOfAStrongDayMasterKeepsItsElement) {
    const auto water = ChartOf("甲申 丙子 壬辰 庚子");
    EXPECT_EQ(water->Natal.SameParty, 79);
    EXPECT_EQ(water->Natal.OtherParty, 25);
    EXPECT_EQ(Roles(water->Natal), (std::vector<int>{水, 金, 木, 土, 火}));
    EXPECT_EQ(water->Natal.IsStrong, 1);
}

TEST(SpecialPatterns, FollowingPatternServesTheOfficer) {
    const auto rec = ChartOf("庚申 辛酉 甲申 戊辰");
    EXPECT_EQ(rec->Natal.SameParty, 9);
    EXPECT_EQ(rec->Natal.OtherParty, 131);
    EXPECT_EQ(Roles(rec->Natal), (std::vector<int>{金, 土, 火, 木, 水}));
    EXPECT_EQ(rec->Natal.IsStrong, 0);
}

TEST(ClimateStems, ThresholdReachedEitherWayCallsForThem) {
    // Climate balance -20.
    const std::string pillars = "甲子 丙寅 甲子 甲子";
    const auto at = WithThreshold(pillars, 20);
    EXPECT_EQ(at->Natal.ReadingKind, ByClimate);
    // 甲 in 寅: 丙, then 癸.
    EXPECT_EQ(at->Natal.ClimateStem, 丙);
    EXPECT_EQ(at->Natal.ClimateStemsMore[0], 癸);
    EXPECT_EQ(at->Natal.ClimateStemsMore[1], NotApplicable);
    EXPECT_NE(WithThreshold(pillars, 21)->Natal.ReadingKind, ByClimate);
    // 甲戌 己巳 丙寅 戊子: balance 110; 丙 in 巳 takes 壬, then 庚 癸.
    const auto hot = ChartOf("甲戌 己巳 丙寅 戊子");
    EXPECT_EQ(hot->Natal.ReadingKind, ByClimate);
    EXPECT_EQ(hot->Natal.ClimateStem, 壬);
    EXPECT_EQ(std::vector<int>(hot->Natal.ClimateStemsMore, hot->Natal.ClimateStemsMore + 4),
              (std::vector<int>{庚, 癸, NotApplicable, NotApplicable}));
    // Strong (50 against 16): served by its officer water and wealth metal.
    EXPECT_EQ(Roles(hot->Natal), (std::vector<int>{水, 金, 土, 火, 木}));
}

TEST(Bridging, TwoStemElementsOneApartAreReconciled) {
    // Stems of fire and metal only: earth bridges them (climate test switched off).
    const auto bridged = WithThreshold("丙午 庚寅 丙申 庚子", 1000);
    EXPECT_EQ(bridged->Natal.ReadingKind, ByBridge);
    EXPECT_EQ(Roles(bridged->Natal), (std::vector<int>{土, 火, 金, 木, 水}));
    EXPECT_EQ(bridged->Natal.IsStrong, bridged->Natal.SameParty >= bridged->Natal.OtherParty ? 1 : 0);
    // Wood and fire produce each other: nothing to bridge.
    EXPECT_EQ(WithThreshold("甲子 丙寅 丙申 甲午", 1000)->Natal.ReadingKind, ByStrength);
    ChartBlock block{};
    const uint8_t water = 水, earth = 土, wood = 木, metal = 金;
    for (auto [a, b, bridge] : {std::array<uint8_t, 3>{water, earth, metal}, {wood, metal, water}}) {
        for (int p = 0; p < 4; ++p) block.StemElement[p] = p % 2 ? a : b;
        ASSERT_TRUE(TestBridge(block));
        EXPECT_EQ(block.Roles[0], bridge);
    }
}

TEST(StrengthReading, EqualPartiesCountAsStrong) {
    // Find a chart read by strength whose parties are equal.
    std::mt19937 rng(3);
    for (int i = 0; i < 200000; ++i) {
        const std::string pillars = test::RandomPillars(rng);
        const auto rec = ChartOf(pillars);
        const ChartBlock& n = rec->Natal;
        if (n.ReadingKind != ByStrength || n.SameParty != n.OtherParty || rec->HasTransformed) continue;
        const int x = StemElement(n.Stem[DayPillar]);
        EXPECT_EQ(n.IsStrong, 1) << pillars;
        EXPECT_EQ(n.Roles[0], (x + 3) % 5) << pillars;  // 用神 is the officer
        EXPECT_EQ(n.Roles[3], x) << pillars;            // 忌神 the day master's own element
        return;
    }
    FAIL() << "no chart with equal parties found";
}

// --- Properties: roles, and nothing kept from the person charted before --------

TEST(RoleProperties, FiveDifferentElementsAndAStrengthFlagEveryTime) {
    std::mt19937 rng(11);
    for (int i = 0; i < 3000; ++i) {
        const std::string pillars = test::RandomPillars(rng);
        const auto rec = ChartOf(pillars);
        for (const ChartBlock* b : {&rec->Natal, &rec->Transformed}) {
            unsigned seen = 0;
            for (int r : b->Roles) seen |= 1u << r;
            ASSERT_EQ(seen, 0x1Fu) << pillars;
            ASSERT_TRUE(b->IsStrong == 0 || b->IsStrong == 1) << pillars;
            ASSERT_GE(b->ReadingKind, 0);
            ASSERT_LE(b->ReadingKind, 3);
        }
    }
}

// A record full of another person's bytes charts exactly like a fresh one.
TEST(RoleProperties, NoValueSurvivesFromThePreviousPerson) {
    std::mt19937 rng(17);
    for (int i = 0; i < 2000; ++i) {
        const std::string pillars = test::RandomPillars(rng);
        const auto fresh = ChartOf(pillars);
        auto used = std::make_unique<ChartRecord>();
        std::memset(used.get(), 0xA5, sizeof *used);
        used->Options = DefaultEngineOptions;
        used->Scoring = DefaultScoringParameters;
        used->Potentials = nullptr;
        used->Person.sex = 0;
        used->Birth.YearPolarity = fresh->Birth.YearPolarity;
        AnalyseChart(*used, test::Pillars(pillars));
        // The luck start needs the calendar, which this chart goes without;
        // PeriodValue belongs to the work blocks of the fortune values.
        const std::string_view notAnalysed[] = {"LuckStartAge", "LuckStartAgeMid", "LuckChangeStem", "LuckStartTerm",
                                                "LuckStartSpan", "PeriodValue"};
        auto analysed = [&](std::string_view name) {
            return std::find(std::begin(notAnalysed), std::end(notAnalysed), name) == std::end(notAnalysed);
        };
#define QV_SAME_FIELD(name)                                                                                   \
    if (analysed(#name)) {                                                                                    \
        ASSERT_EQ(std::memcmp(&used->Natal.name, &fresh->Natal.name, sizeof fresh->Natal.name), 0) << #name; \
        ASSERT_EQ(std::memcmp(&used->Transformed.name, &fresh->Transformed.name, sizeof fresh->Natal.name), 0) \
            << "Transformed " << #name << " " << pillars;                                                   \
    }
        QV_CHART_BLOCK_FIELDS(QV_SAME_FIELD)
#undef QV_SAME_FIELD
        ASSERT_EQ(used->HasTransformed, fresh->HasTransformed);
        ASSERT_EQ(std::memcmp(used->ReferenceStrength, fresh->ReferenceStrength, sizeof used->ReferenceStrength), 0);
    }
}

TEST(RoleProperties, ChartingTwiceChangesNothing) {
    auto rec = ChartOf("甲戌 己巳 丙寅 戊子");
    const ChartRecord first = *rec;
    AnalyseChart(*rec, test::Pillars("甲戌 己巳 丙寅 戊子"));
    EXPECT_EQ(std::memcmp(&first.Natal, &rec->Natal, sizeof first.Natal), 0);
    EXPECT_EQ(std::memcmp(&first.Transformed, &rec->Transformed, sizeof first.Transformed), 0);
}

}  // namespace
}  // namespace qv

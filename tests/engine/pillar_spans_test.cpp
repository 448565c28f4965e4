// 時辰不確定: the nearest 節 and hour edge of a birth within the margins, with
// the pillars they decide under each rat-hour rule, and the stretches of a span
// against the pillars of every minute in it; 八字反查 against brute force: the
// pillars of the minutes around every range found, one moment at a time.
#include <gtest/gtest.h>

#include <random>

#include "engine/analysis/birth_edges.h"
#include "engine/analysis/pillar_search.h"
#include "engine/analysis/pillar_spans.h"
#include "reference_data.h"

namespace qv {
namespace {

TEST(BirthEdges, TermsHoursAndMidnightUnderEachRule) {
    const SolarTermTable* table = test::BuiltTable();
    ASSERT_NE(table, nullptr);
    constexpr int Hour = NotATerm;
    struct Case {
        Moment Birth;
        int Rule;
        std::vector<BirthEdge> Expected;  // Term, MinuteOfDay, Minutes, Decides
    } const cases[] = {
        // 立春 2024 at 16:27 (UTC+8): the year and month pillars.
        {{2024, 2, 4, 16, 26}, CommonRatHour, {{2, 0, -1, YearChanged | MonthChanged}}},
        {{2024, 2, 4, 16, 28}, CommonRatHour, {{2, 0, 1, YearChanged | MonthChanged}}},
        // 驚蟄 2024 at 10:22: the month only.
        {{2024, 3, 5, 10, 21}, CommonRatHour, {{4, 0, -1, MonthChanged}}},
        // 23:00: 一般子時 and 早子時 change day and hour, 夜子時 only the hour.
        {{2000, 1, 1, 22, 59}, CommonRatHour, {{Hour, 1380, -1, DayChanged | HourChanged}}},
        {{2000, 1, 1, 23, 1}, EarlyRatHour, {{Hour, 1380, 1, DayChanged | HourChanged}}},
        {{2000, 1, 1, 22, 59}, NightRatHour, {{Hour, 1380, -1, HourChanged}}},
        // Midnight: nothing changes under 一般子時, the day under 夜子時, the hour under 早子時.
        {{2000, 1, 2, 0, 1}, CommonRatHour, {}},
        {{2000, 1, 2, 0, 1}, NightRatHour, {{Hour, 0, 1, DayChanged}}},
        {{2000, 1, 1, 23, 58}, EarlyRatHour, {{Hour, 0, -2, HourChanged}}},
        // A double-hour edge, at the margin and beyond it.
        {{2000, 1, 1, 14, 50}, CommonRatHour, {{Hour, 900, -10, HourChanged}}},
        {{2000, 1, 1, 14, 49}, CommonRatHour, {}},
        // Far from every edge.
        {{2000, 1, 1, 12, 0}, CommonRatHour, {}},
    };
    for (const Case& c : cases) {
        BirthEdge found[2]{};
        const size_t n = FindBirthEdges(*table, c.Rule, c.Birth, EdgeMargins{}, found);
        ASSERT_EQ(n, c.Expected.size()) << c.Birth.Day << " " << c.Birth.Hour << ":" << c.Birth.Minute << " rule " << c.Rule;
        for (size_t i = 0; i < n; ++i) {
            EXPECT_EQ(found[i].Term, c.Expected[i].Term);
            EXPECT_EQ(found[i].MinuteOfDay, c.Expected[i].MinuteOfDay);
            EXPECT_EQ(found[i].Minutes, c.Expected[i].Minutes);
            EXPECT_EQ(found[i].Decides, c.Expected[i].Decides) << c.Birth.Hour << ":" << c.Birth.Minute;
        }
    }
}

// The stretches tile the span, every minute carries its stretch's pillars,
// and neighbouring stretches differ in what their changes say.
void ExpectExactTiling(const SolarTermTable& table, int rule, ClockMinute first, ClockMinute last,
                       std::span<const PillarSpan> spans) {
    ASSERT_FALSE(spans.empty());
    EXPECT_EQ(spans.front().First, first);
    EXPECT_EQ(spans.back().Last, last);
    for (size_t k = 0; k < spans.size(); ++k) {
        const PillarSpan& s = spans[k];
        if (k > 0) {
            EXPECT_EQ(s.First, spans[k - 1].Last + 1);
            EXPECT_NE(s.Changes, 0u);
            EXPECT_EQ(s.Changes, PillarChanges(spans[k - 1].Pillars, s.Pillars));
        }
        for (ClockMinute t = s.First; t <= s.Last; ++t) {
            PillarQuad p{};
            ASSERT_TRUE(MomentToPillars(table, rule, MomentOfClockMinute(t), p));
            ASSERT_EQ(PillarChanges(p, s.Pillars), 0u) << "minute " << t;
        }
    }
}

TEST(PillarSpans, AWholeDayGivesTwelveOrThirteenChartsMinuteExact) {
    const SolarTermTable* table = test::BuiltTable();
    ASSERT_NE(table, nullptr);
    std::mt19937 random(7);
    std::uniform_int_distribution<int32_t> pickDay(40, 109000);
    for (int rule : {EarlyRatHour, CommonRatHour, NightRatHour}) {
        for (int i = 0; i < 40; ++i) {
            const ClockMinute first = ClockMinute{pickDay(random)} * 1440, last = first + 1439;
            PillarSpan spans[32];
            const PillarSpanResult r = SplitByPillars(*table, rule, first, last, spans);
            ASSERT_TRUE(r.Ok);
            // The 子 hour from midnight, eleven double hours and the 23:00 hour (whose
            // day or hour pillar differs from midnight's under every rule), and one
            // more where a 節 falls inside an hour.
            EXPECT_GE(r.Found, 13u);
            EXPECT_LE(r.Found, 14u);
            ExpectExactTiling(*table, rule, first, last, std::span(spans, r.Found));
        }
    }
}

// 立春 2024 fell at 16:27 on 4 February and 驚蟄 at 10:22 on 5 March (UTC+8, almanac minutes).
TEST(PillarSpans, ATermSplitsTheHourItFallsIn) {
    const SolarTermTable* table = test::BuiltTable();
    ASSERT_NE(table, nullptr);
    struct Case {
        Moment From, To, Split;
        unsigned Changes;
    } const cases[] = {
        {{2024, 2, 4, 15, 0}, {2024, 2, 4, 16, 59}, {2024, 2, 4, 16, 27}, YearChanged | MonthChanged},
        {{2024, 3, 5, 9, 0}, {2024, 3, 5, 10, 59}, {2024, 3, 5, 10, 22}, MonthChanged},
    };
    for (const Case& c : cases) {
        PillarSpan spans[4];
        const PillarSpanResult r = SplitByPillars(*table, CommonRatHour, ClockMinuteOf(c.From), ClockMinuteOf(c.To), spans);
        ASSERT_TRUE(r.Ok);
        ASSERT_EQ(r.Found, 2u);
        EXPECT_EQ(spans[1].First, ClockMinuteOf(c.Split));
        EXPECT_EQ(spans[1].Changes, c.Changes);
        ExpectExactTiling(*table, CommonRatHour, ClockMinuteOf(c.From), ClockMinuteOf(c.To), std::span(spans, 2));
    }
}

// The first `count` pillars at a minute, or false where the table cannot place it.
bool PillarsAt(const SolarTermTable& table, int rule, ClockMinute minute, PillarQuad& out) {
    return MomentToPillars(table, rule, MomentOfClockMinute(minute), out);
}

bool Matches(const SolarTermTable& table, const PillarQuery& q, ClockMinute minute) {
    PillarQuad p{};
    if (!PillarsAt(table, q.RatHourRule, minute, p)) return false;
    for (int i = 0; i < q.Count; ++i)
        if (p.Pillar[i] != q.Pillar[i]) return false;
    return true;
}

TEST(PillarSearch, RangesOfRandomBirthsAreExactlyTheMatchingMinutes) {
    const SolarTermTable* table = test::BuiltTable();
    ASSERT_NE(table, nullptr);
    std::mt19937 random(33);
    const ClockMinute first = ClockMinuteOf({1801, 2, 1, 0, 0}), last = ClockMinuteOf({2100, 11, 30, 23, 59});
    std::uniform_int_distribution<ClockMinute> pick(first, last);
    for (int rule : {EarlyRatHour, CommonRatHour, NightRatHour}) {
        for (int i = 0; i < 300; ++i) {
            const ClockMinute birth = pick(random);
            PillarQuad p{};
            ASSERT_TRUE(PillarsAt(*table, rule, birth, p));
            PillarQuery q{{p.Pillar[0], p.Pillar[1], p.Pillar[2], p.Pillar[3]}, 2 + i % 3, rule};
            PillarRange ranges[400];
            const PillarSearchResult r = FindPillarRanges(*table, q, ranges);
            ASSERT_EQ(r.Problem, PillarQueryProblem::None);
            ASSERT_GE(r.Found, 1u);
            ASSERT_LE(r.Found, std::size(ranges));
            int holding = 0;
            for (size_t k = 0; k < r.Found; ++k) {
                const PillarRange& g = ranges[k];
                const std::string at = "rule " + std::to_string(rule) + " birth minute " + std::to_string(birth);
                ASSERT_LE(g.First, g.Last) << at;
                EXPECT_TRUE(Matches(*table, q, g.First)) << at;
                EXPECT_TRUE(Matches(*table, q, g.Last)) << at;
                EXPECT_TRUE(Matches(*table, q, (g.First + g.Last) / 2)) << at;
                EXPECT_FALSE(Matches(*table, q, g.First - 1)) << at;
                EXPECT_FALSE(Matches(*table, q, g.Last + 1)) << at;
                if (k > 0) {
                    EXPECT_GT(g.First, ranges[k - 1].Last + 1) << at;
                }
                holding += g.First <= birth && birth <= g.Last;
            }
            EXPECT_EQ(holding, 1) << "rule " << rule << " birth minute " << birth;
        }
    }
}

TEST(PillarSearch, ImpossibleCombinationsAreRefusedWithTheReason) {
    const SolarTermTable* table = test::BuiltTable();
    ASSERT_NE(table, nullptr);
    struct Case {
        const char* Pillars[4];
        int Count, Rule, FirstYear, LastYear;
        PillarQueryProblem Problem;
    } const cases[] = {
        {{"甲子", "丙寅", "戊辰", "庚申"}, 4, CommonRatHour, 1801, 2100, PillarQueryProblem::None},
        {{"甲子", "甲寅", "戊辰", "庚申"}, 4, CommonRatHour, 1801, 2100, PillarQueryProblem::MonthStemNotOfYear},
        {{"己巳", "丁丑", "", ""}, 2, CommonRatHour, 1801, 2100, PillarQueryProblem::None},  // 己年 丑月 is 丁丑
        {{"己巳", "乙丑", "", ""}, 2, CommonRatHour, 1801, 2100, PillarQueryProblem::MonthStemNotOfYear},
        {{"甲子", "丙寅", "戊辰", "甲辰"}, 4, CommonRatHour, 1801, 2100, PillarQueryProblem::HourStemNotOfDay},  // 戊日 辰時 is 丙辰
        // 戊 days have 壬子 at midnight; 夜子時 gives the 23:00 hour the next day's 甲子,
        // 早子時 gives the 23:00 hour of the day before (丁卯) its 庚子 under 戊辰.
        {{"甲子", "丙寅", "戊辰", "甲子"}, 4, CommonRatHour, 1801, 2100, PillarQueryProblem::HourStemNotOfDay},
        {{"甲子", "丙寅", "戊辰", "甲子"}, 4, NightRatHour, 1801, 2100, PillarQueryProblem::None},
        {{"甲子", "丙寅", "戊辰", "庚子"}, 4, EarlyRatHour, 1801, 2100, PillarQueryProblem::None},
        {{"甲子", "丙寅", "戊辰", "庚子"}, 4, NightRatHour, 1801, 2100, PillarQueryProblem::HourStemNotOfDay},
        {{"甲子", "丙寅", "戊辰", "庚申"}, 4, CommonRatHour, 1900, 1800, PillarQueryProblem::BadYearRange},
        {{"甲子", "丙寅", "戊辰", "庚申"}, 4, CommonRatHour, 1700, 1900, PillarQueryProblem::BadYearRange},
        {{"甲子", "丙寅", "戊辰", "庚申"}, 1, CommonRatHour, 1801, 2100, PillarQueryProblem::BadCount},
        {{"甲丑", "丙寅", "戊辰", "庚申"}, 4, CommonRatHour, 1801, 2100, PillarQueryProblem::BadPillar},
    };
    for (const Case& c : cases) {
        PillarQuery q{{}, c.Count, c.Rule, c.FirstYear, c.LastYear};
        for (int i = 0; i < c.Count; ++i) q.Pillar[i] = PillarFromText(c.Pillars[i]);
        PillarRange ranges[8];
        EXPECT_EQ(FindPillarRanges(*table, q, ranges).Problem, c.Problem) << c.Pillars[0] << c.Pillars[1] << c.Pillars[3];
    }
}

// 2000-01-01 12:00 is 己卯 丙子 戊午 戊午, lunar 1999-11-25: its 午 hour lies
// whole inside the 丙子 month (大雪 1999-12-07 to 小寒 2000-01-06).
TEST(PillarSearch, AKnownChartAndItsLunarDate) {
    const SolarTermTable* table = test::BuiltTable();
    ASSERT_NE(table, nullptr);
    const PillarQuery q{{15, 12, 54, 54}, 4, CommonRatHour};
    PillarRange ranges[16];
    const PillarSearchResult r = FindPillarRanges(*table, q, ranges);
    ASSERT_EQ(r.Problem, PillarQueryProblem::None);
    const ClockMinute noon = ClockMinuteOf({2000, 1, 1, 12, 0});
    const PillarRange* found = nullptr;
    for (size_t k = 0; k < r.Found; ++k)
        if (ranges[k].First <= noon && noon <= ranges[k].Last) found = &ranges[k];
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->First, ClockMinuteOf({2000, 1, 1, 11, 0}));
    EXPECT_EQ(found->Last, ClockMinuteOf({2000, 1, 1, 12, 59}));
    LunarDate lunar{};
    ASSERT_TRUE(LunarDateAt(MomentOfClockMinute(found->First), CommonRatHour, lunar));
    EXPECT_EQ(lunar, (LunarDate{1999, 11, 25, false}));
}

}  // namespace
}  // namespace qv

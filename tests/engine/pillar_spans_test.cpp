// 時辰不確定: the nearest 節 and hour edge of a birth within the margins, with
// the pillars they decide under each rat-hour rule, and the stretches of a span
// against the pillars of every minute in it.
#include <gtest/gtest.h>

#include <random>

#include "engine/analysis/birth_edges.h"
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

}  // namespace
}  // namespace qv

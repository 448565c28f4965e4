// Edges of a birth: the nearest 節 and hour edge within the margins, and the
// pillars they decide under each rat-hour rule.
#include <gtest/gtest.h>

#include "engine/analysis/birth_edges.h"
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

}  // namespace
}  // namespace qv

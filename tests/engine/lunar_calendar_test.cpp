// Gregorian day arithmetic and the lunar calendar, against the reference
// almanac and by round trips.
#include <gtest/gtest.h>

#include <string>

#include "engine/calendar/calendar.h"
#include "reference_data.h"

namespace qv {
namespace {

TEST(GregorianDays, DayNumberRoundTripsOverEveryDayOfTheTableRange) {
    int32_t n = 1;
    for (int y = 1801; y <= 2100; ++y) {
        for (int m = 1; m <= 12; ++m) {
            for (int d = 1; d <= MonthLength(y, m); ++d, ++n) {
                ASSERT_EQ(DayNumber(1801, y, m, d), n) << y << '-' << m << '-' << d;
                ASSERT_EQ(DateFromDayNumber(1801, n), (CivilDate{y, m, d}));
            }
        }
    }
}

TEST(GregorianDays, LeapRuleAndDayOfYear) {
    EXPECT_TRUE(IsLeapYear(2000));
    EXPECT_FALSE(IsLeapYear(1900));
    EXPECT_FALSE(IsLeapYear(2100));
    EXPECT_TRUE(IsLeapYear(1804));
    EXPECT_EQ(DayOfYear(2000, 12, 31), 366);
    EXPECT_EQ(DayOfYear(1900, 3, 1), 60);
    EXPECT_FALSE(IsValidDate(2023, 2, 29));
    EXPECT_FALSE(IsValidDate(2024, 2, 30));
    EXPECT_FALSE(IsValidDate(2024, 13, 1));
    EXPECT_EQ(AddDays(CivilDate{1999, 12, 31}, 1), (CivilDate{2000, 1, 1}));
    EXPECT_EQ(AddDays(CivilDate{2000, 3, 1}, -1), (CivilDate{2000, 2, 29}));
}

TEST(LunarCalendar, AgreesWithTheReferenceAlmanac) {
    const auto rows = test::ReadReferenceTsv("lunar_dates.tsv");
    ASSERT_GT(rows.size(), 10000u);
    for (const auto& r : rows) {
        const CivilDate date = test::ParseDate(r[0]);
        const LunarDate expected{std::stoi(r[1]), std::stoi(r[2]), std::stoi(r[3]), r[4] == "1"};
        LunarDate lunar{};
        ASSERT_TRUE(SolarToLunar(date, lunar)) << r[0];
        ASSERT_EQ(lunar, expected) << r[0] << " gave " << lunar.Year << '-' << lunar.Month << '-' << lunar.Day
                                   << (lunar.Leap ? " leap" : "");
        CivilDate back{};
        ASSERT_TRUE(LunarToSolar(expected, back)) << r[0];
        ASSERT_EQ(back, date) << r[0];
    }
}

TEST(LunarCalendar, LeapMonthOf2033FollowsTheEleventhMonth) {
    LunarDate lunar{};
    ASSERT_TRUE(SolarToLunar(CivilDate{2033, 12, 22}, lunar));
    EXPECT_EQ(lunar, (LunarDate{2033, 11, 1, true}));
    ASSERT_TRUE(SolarToLunar(CivilDate{2034, 1, 19}, lunar));
    EXPECT_EQ(lunar, (LunarDate{2033, 11, 29, true}));
    ASSERT_TRUE(SolarToLunar(CivilDate{2034, 1, 20}, lunar));
    EXPECT_EQ(lunar, (LunarDate{2033, 12, 1, false}));
}

TEST(LunarCalendar, EveryLunarDayOf1900To2099RoundTripsAndDaysAreConsecutive) {
    CivilDate expected{1900, 1, 31};
    for (int year = LunarFirstYear; year <= LunarLastYear; ++year) {
        const LunarYearMonths months = LunarMonthLengths(year);
        ASSERT_EQ(months.Count, months.HasLeap ? 13 : 12);
        for (int slot = 0; slot < months.Count; ++slot) {
            const bool leap = months.HasLeap && slot == months.LeapMonth;
            const int month = (months.HasLeap && slot >= months.LeapMonth) ? slot : slot + 1;
            ASSERT_EQ(LunarMonthLength(year, month, leap), months.Length[slot]);
            for (int day = 1; day <= months.Length[slot]; ++day) {
                const LunarDate lunar{year, month, day, leap};
                CivilDate date{};
                ASSERT_TRUE(LunarToSolar(lunar, date));
                ASSERT_EQ(date, expected) << year << '-' << month << '-' << day;
                LunarDate back{};
                ASSERT_TRUE(SolarToLunar(date, back));
                ASSERT_EQ(back, lunar);
                expected = AddDays(expected, 1);
            }
        }
    }
}

TEST(LunarCalendar, RefusesWhatTheTableCannotAnswer) {
    LunarDate lunar{};
    EXPECT_FALSE(SolarToLunar(CivilDate{1900, 1, 30}, lunar));
    EXPECT_FALSE(SolarToLunar(CivilDate{2101, 1, 1}, lunar));
    EXPECT_FALSE(SolarToLunar(CivilDate{2023, 2, 29}, lunar));
    CivilDate date{};
    EXPECT_TRUE(LunarToSolar(LunarDate{1900, 1, 1, false}, date));
    EXPECT_EQ(date, (CivilDate{1900, 1, 31}));
    EXPECT_FALSE(LunarToSolar(LunarDate{2023, 3, 1, true}, date));  // 2023 leaps after month 2
    EXPECT_TRUE(LunarToSolar(LunarDate{2023, 2, 1, true}, date));
    EXPECT_FALSE(LunarToSolar(LunarDate{2023, 13, 1, false}, date));
    EXPECT_FALSE(LunarToSolar(LunarDate{2023, 1, 31, false}, date));
    EXPECT_FALSE(LunarToSolar(LunarDate{1899, 1, 1, false}, date));
    EXPECT_FALSE(LunarToSolar(LunarDate{2100, 1, 1, false}, date));
}

TEST(AdvanceLunarDay, MovesOnlyForTheRatHourUnderTheFirstTwoRules) {
    LunarDate d{2023, 5, 10, false};
    EXPECT_FALSE(AdvanceLunarDay(d, 22, 59, CommonRatHour));
    EXPECT_FALSE(AdvanceLunarDay(d, 23, 0, NightRatHour));
    EXPECT_EQ(d, (LunarDate{2023, 5, 10, false}));
    EXPECT_TRUE(AdvanceLunarDay(d, 23, 0, CommonRatHour));
    EXPECT_EQ(d, (LunarDate{2023, 5, 11, false}));
    EXPECT_TRUE(AdvanceLunarDay(d, 24, 10, EarlyRatHour));
    EXPECT_EQ(d, (LunarDate{2023, 5, 12, false}));
}

TEST(AdvanceLunarDay, StepsThroughLeapMonthsAndTheYearEnd) {
    // 2023 has 閏二月: month 2 has 29 days, the leap month 29.
    LunarDate d{2023, 2, LunarMonthLength(2023, 2, false), false};
    ASSERT_TRUE(AdvanceLunarDay(d, 23, 30, CommonRatHour));
    EXPECT_EQ(d, (LunarDate{2023, 2, 1, true}));
    d.Day = LunarMonthLength(2023, 2, true);
    ASSERT_TRUE(AdvanceLunarDay(d, 23, 30, CommonRatHour));
    EXPECT_EQ(d, (LunarDate{2023, 3, 1, false}));
    d = LunarDate{2023, 12, LunarMonthLength(2023, 12, false), false};
    ASSERT_TRUE(AdvanceLunarDay(d, 23, 30, CommonRatHour));
    EXPECT_EQ(d, (LunarDate{2024, 1, 1, false}));
}

TEST(AdvanceLunarDay, AgreesWithTheNextGregorianDay) {
    for (CivilDate date{1950, 1, 1}; date.Year < 2050; date = AddDays(date, 13)) {
        LunarDate today{}, tomorrow{};
        ASSERT_TRUE(SolarToLunar(date, today));
        ASSERT_TRUE(SolarToLunar(AddDays(date, 1), tomorrow));
        ASSERT_TRUE(AdvanceLunarDay(today, 23, 5, CommonRatHour));
        ASSERT_EQ(today, tomorrow);
    }
}

}  // namespace
}  // namespace qv

// Gregorian day arithmetic and the lunar calendar, against the reference
// almanac and by round trips; the perpetual calendar's months: every reference
// day, the term table, and the months where the lunar calendar or the table
// begins or ends.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "engine/calendar/calendar.h"
#include "engine/calendar/month_calendar.h"
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

class MonthCalendarTest : public ::testing::Test {
protected:
    void SetUp() override {
        table_ = test::BuiltTable();
        if (!table_) GTEST_FAIL() << "AInfo.tbl not built";
    }
    // The month's calendar, filled once per month asked for.
    const MonthCalendar& Month(int year, int month) {
        auto [it, fresh] = months_.try_emplace(year * 12 + month - 1);
        if (fresh) {
            EXPECT_TRUE(FillMonthCalendar(*table_, year, month, it->second)) << year << '-' << month;
        }
        return it->second;
    }
    const CalendarDay& Day(const CivilDate& d) { return Month(d.Year, d.Month).Days[d.Day - 1]; }

    const SolarTermTable* table_ = nullptr;
    std::map<int, MonthCalendar> months_;
};

TEST_F(MonthCalendarTest, EveryReferenceDayAgrees) {
    for (const auto& r : test::ReadReferenceTsv("lunar_dates.tsv")) {
        const CalendarDay& d = Day(test::ParseDate(r[0]));
        ASSERT_TRUE(d.HasLunar) << r[0];
        ASSERT_EQ(d.Lunar, (LunarDate{std::stoi(r[1]), std::stoi(r[2]), std::stoi(r[3]), r[4] == "1"})) << r[0];
    }
    for (const auto& r : test::ReadReferenceTsv("pillars.tsv")) {
        const CalendarDay& d = Day(test::ParseDate(r[0]));
        // 夜子時 keeps every hour of a day on its own day pillar.
        ASSERT_EQ(d.DayPillar, std::stoi(r[5])) << r[0];
        // The year and month pillars are the noon ones: the moment's agree when no term begins that day.
        if (d.Term == NoTerm) {
            ASSERT_EQ(d.YearPillar, std::stoi(r[1])) << r[0];
            ASSERT_EQ(d.MonthPillar, std::stoi(r[2])) << r[0];
        }
        if (!r[7].empty()) {
            ASSERT_EQ(d.Lunar, (LunarDate{std::stoi(r[7]), std::stoi(r[8]), std::stoi(r[9]), r[10] == "1"})) << r[0];
        }
    }
}

TEST_F(MonthCalendarTest, TermsFallOnTheReferenceDayAndMinute) {
    const auto rows = test::ReadReferenceTsv("solar_terms.tsv");
    ASSERT_GT(rows.size(), 2000u);
    for (const auto& r : rows) {
        // The table's minute may be off the reference's second (ΔT beyond
        // 2030), so near midnight the term may show on the neighbouring day.
        const CivilDate date = test::ParseDate(r[3]);
        const int64_t expected = int64_t(DayNumber(1801, date.Year, date.Month, date.Day)) * 1440 +
                                 std::stoi(r[3].substr(11, 2)) * 60 + std::stoi(r[3].substr(14, 2));
        int found = 0;
        for (int shift : {-1, 0, 1}) {
            const CivilDate near = AddDays(date, shift);
            if (!CalendarCoversMonth(*table_, near.Year, near.Month)) continue;
            const CalendarDay& d = Day(near);
            if (d.Term != std::stoi(r[1])) continue;
            ++found;
            const int64_t shown = int64_t(DayNumber(1801, near.Year, near.Month, near.Day)) * 1440 + d.TermHour * 60 + d.TermMinute;
            ASSERT_LE(std::abs(shown - expected), test::TermToleranceMinutes(date.Year)) << r[3];
        }
        ASSERT_EQ(found, 1) << r[3];
    }
}

// Over random months: days, weekdays and day pillars run on one by one; the
// lunar day goes on or starts a month. (The reference days check the pillars
// and lunar dates, the reference terms and the table's ends the terms.)
TEST_F(MonthCalendarTest, RandomMonthsRunOnDayByDay) {
    std::mt19937 rng(27);
    for (int k = 0; k < 400; ++k) {
        const int year = 1801 + static_cast<int>(rng() % 300), month = 1 + static_cast<int>(rng() % 12);
        const MonthCalendar& m = Month(year, month);
        ASSERT_EQ(m.DayCount, MonthLength(year, month));
        for (int i = 0; i < m.DayCount; ++i) {
            const CalendarDay& d = m.Days[i];
            ASSERT_EQ(d.Date, (CivilDate{year, month, i + 1}));
            if (i == 0) continue;
            const CalendarDay& before = m.Days[i - 1];
            ASSERT_EQ(d.Weekday, (before.Weekday + 1) % 7);
            ASSERT_EQ(d.DayPillar, (before.DayPillar + 1) % 60);
            ASSERT_EQ(d.HasLunar, before.HasLunar) << "the lunar range begins and ends with a month's first day";
            if (d.HasLunar) {
                ASSERT_TRUE(d.Lunar.Day == before.Lunar.Day + 1 || (d.Lunar.Day == 1 && before.Lunar.Day >= 29));
            }
        }
    }
}

TEST_F(MonthCalendarTest, LeapMonthsBeginWhereTheAlmanacsHaveThem) {
    // 閏二月 of 2023 begins on 22 March, 閏六月 of 2025 on 25 July.
    EXPECT_EQ(Day({2023, 3, 21}).Lunar, (LunarDate{2023, 2, 30, false}));
    EXPECT_EQ(Day({2023, 3, 22}).Lunar, (LunarDate{2023, 2, 1, true}));
    EXPECT_EQ(Day({2023, 3, 31}).Lunar, (LunarDate{2023, 2, 10, true}));
    EXPECT_EQ(Day({2025, 7, 24}).Lunar, (LunarDate{2025, 6, 30, false}));
    EXPECT_EQ(Day({2025, 7, 25}).Lunar, (LunarDate{2025, 6, 1, true}));
    // By hand: a 乙 year's 寅 month is 戊寅, so its 未 month is 癸未.
    EXPECT_EQ(Day({2025, 7, 25}).YearPillar, 41);   // 乙巳
    EXPECT_EQ(Day({2025, 7, 25}).MonthPillar, 19);  // 癸未
}

TEST_F(MonthCalendarTest, LunarDatesAreBlankOutsideTheLunarTableNeverWrong) {
    const MonthCalendar& jan1900 = Month(1900, 1);
    for (int i = 0; i < 30; ++i) EXPECT_FALSE(jan1900.Days[i].HasLunar) << i + 1;
    EXPECT_EQ(jan1900.Days[30].Lunar, (LunarDate{1900, 1, 1, false}));
    EXPECT_EQ(jan1900.Days[0].DayPillar, 10);  // 1 January 1900 is 甲戌
    EXPECT_EQ(Month(2000, 1).Days[0].DayPillar, 54);  // 1 January 2000 is 戊午
    for (const CalendarDay& d : Month(2100, 12).Days) EXPECT_FALSE(d.HasLunar);
    for (const CalendarDay& d : Month(1801, 1).Days) EXPECT_FALSE(d.HasLunar);
}

// The table's first and last months: the days before 1801's 小寒 and after
// 2100's 大雪 lie in a 子 month (戊子 in a 庚申 year) all the same.
TEST_F(MonthCalendarTest, TheTablesFirstAndLastMonthsAreWhole) {
    EXPECT_FALSE(CalendarCoversMonth(*table_, 1800, 12));
    EXPECT_FALSE(CalendarCoversMonth(*table_, 2101, 1));
    EXPECT_FALSE(CalendarCoversMonth(*table_, 2000, 13));
    EXPECT_FALSE(CalendarCoversMonth(*table_, 2000, 0));
    const MonthCalendar& first = Month(1801, 1);
    EXPECT_EQ(first.Days[0].YearPillar, 56);
    EXPECT_EQ(first.Days[0].MonthPillar, 24);
    const MonthCalendar& last = Month(2100, 12);
    EXPECT_EQ(last.Days[30].YearPillar, 56);
    EXPECT_EQ(last.Days[30].MonthPillar, 24);
    EXPECT_EQ(last.Days[0].MonthPillar, 23);  // 丁亥 before 大雪
    MonthCalendar untouched;
    EXPECT_FALSE(FillMonthCalendar(*table_, 2101, 1, untouched));
    EXPECT_EQ(untouched.DayCount, 0);
}

// The table's first term (小寒 1801) and last (冬至 2100) show in their
// months; in UTC+8 no term of 1801-2100 falls on a month's first or last day
// (they keep to days 3-9 and 18-24), so each month shows exactly two.
TEST_F(MonthCalendarTest, TheTablesFirstAndLastTermsShow) {
    auto termsOf = [&](int year, int month) {
        std::vector<std::pair<int, int>> terms;  // (day, term)
        for (const CalendarDay& d : Month(year, month).Days)
            if (d.Date.Day > 0 && d.Term != NoTerm) terms.emplace_back(d.Date.Day, d.Term);
        return terms;
    };
    const TermMoment& first = table_->At(1801, 0);
    const TermMoment& last = table_->At(2100, 23);
    EXPECT_EQ(termsOf(1801, 1).front(), std::make_pair(int(first.Day), 0));
    EXPECT_EQ(termsOf(2100, 12).back(), std::make_pair(int(last.Day), 23));
    const CalendarDay& lastDay = Month(2100, 12).Days[last.Day - 1];
    EXPECT_EQ(lastDay.TermHour * 60 + lastDay.TermMinute, last.Hour * 60 + last.Minute);
    for (int y = 1801; y <= 2100; ++y) {
        for (int m = 1; m <= 12; ++m) {
            const auto terms = termsOf(y, m);
            ASSERT_EQ(terms.size(), 2u) << y << '-' << m;
            ASSERT_EQ(terms[0].second, 2 * (m - 1)) << y << '-' << m;
            ASSERT_TRUE(terms[0].first > 1 && terms[1].first < MonthLength(y, m)) << y << '-' << m;
        }
    }
}

TEST_F(MonthCalendarTest, TermInForceCountsWholeDaysFromItsDay) {
    const TermMoment& spring = table_->At(2024, 2);
    const CivilDate springDay{2024, spring.Month, spring.Day};
    EXPECT_EQ(TermInForceOn(*table_, springDay).Index, 2);
    EXPECT_EQ(TermInForceOn(*table_, springDay).Days, 0);
    EXPECT_EQ(TermInForceOn(*table_, AddDays(springDay, 3)).Days, 3);
    EXPECT_EQ(TermInForceOn(*table_, AddDays(springDay, -1)).Index, 1);
    EXPECT_EQ(TermInForceOn(*table_, CivilDate{2024, 1, 1}).Index, 23);  // the previous 冬至
    EXPECT_EQ(TermInForceOn(*table_, CivilDate{1801, 1, 1}).Index, NoTerm);
}

// The hour pillars of a day agree with the pillars of a moment in each double
// hour under every rule, and follow 五鼠遁: a 甲 or 己 day starts at 甲子.
TEST_F(MonthCalendarTest, HourPillarsOfADayAgreeWithTheMomentsPillars) {
    std::mt19937 rng(5);
    for (int k = 0; k < 300; ++k) {
        const CivilDate date = AddDays(CivilDate{1802, 1, 1}, static_cast<int>(rng() % 108000));
        for (int rule : {EarlyRatHour, CommonRatHour, NightRatHour}) {
            const DayHours hours = HourPillarsOfDay(date, rule);
            for (int slot = 0; slot < DayHourSlots; ++slot) {
                PillarQuad p{};
                ASSERT_TRUE(MomentToPillars(*table_, rule, Moment{date.Year, date.Month, date.Day, HourSlotStart[slot], 30}, p));
                ASSERT_EQ(hours.HourPillar[slot], p.Pillar[HourPillar]) << slot;
                if (slot == DayHourSlots - 1) {
                    ASSERT_EQ(hours.LateDayPillar, p.Pillar[DayPillar]);
                }
            }
            if (DayPillarOf(date) % 5 == 0) {
                ASSERT_EQ(hours.HourPillar[0], 0);
            }
        }
    }
}

}  // namespace
}  // namespace qv

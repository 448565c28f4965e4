// The perpetual calendar's months: every reference day, the term table, and
// the months where the lunar calendar or the table begins or ends.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "engine/calendar/month_calendar.h"
#include "reference_data.h"

namespace qv {
namespace {

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
// lunar day goes on or starts a month; each term of the table shows once.
TEST_F(MonthCalendarTest, RandomMonthsRunOnDayByDay) {
    std::mt19937 rng(27);
    for (int k = 0; k < 400; ++k) {
        const int year = 1801 + static_cast<int>(rng() % 300), month = 1 + static_cast<int>(rng() % 12);
        const MonthCalendar& m = Month(year, month);
        ASSERT_EQ(m.DayCount, MonthLength(year, month));
        int terms = 0;
        for (int i = 0; i < m.DayCount; ++i) {
            const CalendarDay& d = m.Days[i];
            ASSERT_EQ(d.Date, (CivilDate{year, month, i + 1}));
            ASSERT_EQ(d.DayPillar, DayPillarOf(d.Date));
            if (d.Term != NoTerm) {
                const TermMoment& t = table_->At(year, d.Term);
                ASSERT_EQ((CivilDate{year, t.Month, t.Day}), d.Date);
                ASSERT_EQ(d.TermHour * 60 + d.TermMinute, t.Hour * 60 + t.Minute);
                ++terms;
            }
            PillarQuad p{};
            if (MomentToPillars(*table_, CommonRatHour, Moment{year, month, i + 1, 12, 0}, p)) {
                ASSERT_EQ(d.YearPillar, p.Pillar[YearPillar]);
                ASSERT_EQ(d.MonthPillar, p.Pillar[MonthPillar]);
                ASSERT_EQ(d.DayPillar, p.Pillar[DayPillar]);
            }
            if (i == 0) continue;
            const CalendarDay& before = m.Days[i - 1];
            ASSERT_EQ(d.Weekday, (before.Weekday + 1) % 7);
            ASSERT_EQ(d.DayPillar, (before.DayPillar + 1) % 60);
            ASSERT_EQ(d.HasLunar, before.HasLunar) << "the lunar range begins and ends with a month's first day";
            if (d.HasLunar) {
                ASSERT_TRUE(d.Lunar.Day == before.Lunar.Day + 1 || (d.Lunar.Day == 1 && before.Lunar.Day >= 29));
            }
        }
        int inTable = 0;
        for (int t = 0; t < TermsPerYear; ++t) inTable += table_->At(year, t).Month == month;
        ASSERT_EQ(terms, inTable) << year << '-' << month;
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

// The four pillars, term positions and seasons, against the reference pillars
// and hand-worked cases on the generated solar-term table.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "engine/calendar/calendar.h"
#include "engine/chart/chart_record.h"
#include "reference_data.h"

namespace qv {
namespace {

class PillarsTest : public ::testing::Test {
protected:
    void SetUp() override {
        table_ = test::BuiltTable();
        ASSERT_NE(table_, nullptr) << "the build writes AInfo.tbl into " << QUORVANE_BIN_DIR;
        rec_ = std::make_unique<ChartRecord>();
        rec_->SolarTerms = table_;
        rec_->Options = DefaultEngineOptions;
    }

    PillarQuad Convert(const Moment& m, int rule = CommonRatHour, int16_t reading = MainProgramReading) {
        rec_->Options.FirstTimeBase = static_cast<int16_t>(rule);
        rec_->Options.Reading = reading;
        PillarQuad p{};
        EXPECT_TRUE(DateToPillars(*rec_, p, m)) << m.Year << '-' << m.Month << '-' << m.Day;
        return p;
    }

    // A term's moment shifted by some minutes (never across a day boundary in these tests).
    Moment TermMomentPlus(int year, int term, int minutes) const {
        const TermMoment& t = table_->At(year, term);
        const int total = t.Hour * 60 + t.Minute + minutes;
        return Moment{year, t.Month, t.Day, total / 60, total % 60};
    }

    const SolarTermTable* table_ = nullptr;
    std::unique_ptr<ChartRecord> rec_;
};

Moment ParseMoment(const std::string& s) {
    return Moment{std::stoi(s.substr(0, 4)), std::stoi(s.substr(5, 2)), std::stoi(s.substr(8, 2)),
                  std::stoi(s.substr(11, 2)), std::stoi(s.substr(14, 2))};
}

TEST_F(PillarsTest, AgreeWithTheReferenceUnderBothCommonRules) {
    const auto rows = test::ReadReferenceTsv("pillars.tsv");
    ASSERT_EQ(rows.size(), 3000u);
    for (const auto& r : rows) {
        const Moment m = ParseMoment(r[0]);
        const PillarQuad common = Convert(m, CommonRatHour);
        ASSERT_EQ(common.Pillar[YearPillar], std::stoi(r[1])) << r[0];
        ASSERT_EQ(common.Pillar[MonthPillar], std::stoi(r[2])) << r[0];
        ASSERT_EQ(common.Pillar[DayPillar], std::stoi(r[3])) << r[0];
        ASSERT_EQ(common.Pillar[HourPillar], std::stoi(r[4])) << r[0];
        const PillarQuad night = Convert(m, NightRatHour);
        ASSERT_EQ(night.Pillar[YearPillar], common.Pillar[YearPillar]);
        ASSERT_EQ(night.Pillar[MonthPillar], common.Pillar[MonthPillar]);
        ASSERT_EQ(night.Pillar[DayPillar], std::stoi(r[5])) << r[0];
        ASSERT_EQ(night.Pillar[HourPillar], std::stoi(r[6])) << r[0];
    }
}

// The flow-year chart program reads the rat-hour rules by a table of its own:
// 早子時 places 23:00 as the main program's 夜子時 does, the other two as 一般子時.
TEST_F(PillarsTest, TheChartProgramsRatHourRulesAgainstTheReference) {
    int lateBirths = 0;
    for (const auto& r : test::ReadReferenceTsv("pillars.tsv")) {
        const Moment m = ParseMoment(r[0]);
        const int commonDay = std::stoi(r[3]), commonHour = std::stoi(r[4]);
        const int nightDay = std::stoi(r[5]), nightHour = std::stoi(r[6]);
        const PillarQuad early = Convert(m, EarlyRatHour, ChartProgramReading);
        ASSERT_EQ(early.Pillar[DayPillar], nightDay) << r[0];
        ASSERT_EQ(early.Pillar[HourPillar], nightHour) << r[0];
        for (int rule : {CommonRatHour, NightRatHour}) {
            const PillarQuad q = Convert(m, rule, ChartProgramReading);
            ASSERT_EQ(q.Pillar[DayPillar], commonDay) << r[0] << " rule " << rule;
            ASSERT_EQ(q.Pillar[HourPillar], commonHour) << r[0] << " rule " << rule;
        }
        lateBirths += m.Hour == 23;
    }
    EXPECT_GT(lateBirths, 100);  // the rows where the rules differ are really there
}

TEST_F(PillarsTest, OnlyTheChartProgramsCommonRuleMovesTheLunarDate) {
    const EngineOptions main{0, 0, 0, EarlyRatHour, MainProgramReading};
    EXPECT_EQ(LunarRatHourRule(main), EarlyRatHour);
    const auto moves = [](int rule) {
        LunarDate l{2000, 1, 1, false};
        const EngineOptions o{0, 0, 0, static_cast<int16_t>(rule), ChartProgramReading};
        return AdvanceLunarDay(l, 23, 30, LunarRatHourRule(o));
    };
    EXPECT_FALSE(moves(EarlyRatHour));
    EXPECT_TRUE(moves(CommonRatHour));
    EXPECT_FALSE(moves(NightRatHour));
}

TEST_F(PillarsTest, LunarDatesOfTheReferenceBirths) {
    for (const auto& r : test::ReadReferenceTsv("pillars.tsv")) {
        if (r.size() < 11 || r[7].empty()) continue;
        const Moment m = ParseMoment(r[0]);
        LunarDate l{};
        ASSERT_TRUE(SolarToLunar(CivilDate{m.Year, m.Month, m.Day}, l)) << r[0];
        EXPECT_EQ(l, (LunarDate{std::stoi(r[7]), std::stoi(r[8]), std::stoi(r[9]), r[10] == "1"})) << r[0];
    }
}

// 一般子時 and 夜子時 at eleven are the reference's; 早子時 of the main program
// is not: 2000-01-01 is 戊午, the next day 己未, and 戊 days start at 壬子 (48).
TEST_F(PillarsTest, TheEarlyRatHourAtEleven) {
    const PillarQuad early = Convert({2000, 1, 1, 23, 30}, EarlyRatHour);
    EXPECT_EQ(early.Pillar[DayPillar], 55);
    EXPECT_EQ(early.Pillar[HourPillar], 48);
    // Before eleven all three rules agree.
    const Moment evening{2000, 1, 1, 22, 59};
    EXPECT_EQ(Convert(evening, EarlyRatHour).Pillar[HourPillar], Convert(evening, NightRatHour).Pillar[HourPillar]);
}

TEST_F(PillarsTest, YearPillarTurnsAtTheMinuteOfSpringOnset) {
    for (int year : {1850, 1984, 2024, 2099}) {
        const int before = Convert(TermMomentPlus(year, 2, -1)).Pillar[YearPillar];
        const int at = Convert(TermMomentPlus(year, 2, 0)).Pillar[YearPillar];
        EXPECT_EQ(at, (year - 4) % 60) << year;
        EXPECT_EQ(before, (year - 5) % 60) << year;
    }
}

TEST_F(PillarsTest, MonthPillarTurnsAtEachMonthOpeningTerm) {
    for (int term = 0; term < 24; term += 2) {
        const int before = Convert(TermMomentPlus(1990, term, -1)).Pillar[MonthPillar];
        const int at = Convert(TermMomentPlus(1990, term, 0)).Pillar[MonthPillar];
        EXPECT_EQ(at, (before + 1) % 60) << "term " << term;
        EXPECT_EQ(rec_->TermIndex, term);
        EXPECT_EQ(rec_->TermDays, 0);
        EXPECT_EQ(rec_->TermMinutes, 0);
    }
}

TEST_F(PillarsTest, BeforeMinorColdTheMonthBelongsToThePreviousYear) {
    const Moment m{1990, 1, 2, 10, 0};
    const PillarQuad p = Convert(m);
    EXPECT_EQ(rec_->TermIndex, 23);
    const TermPlace place = TermPosition(*table_, m);
    EXPECT_EQ(place.Index, 23);
    // 1989's 大雪 opens the 子 month of the 1989 cycle: 丙子 (12).
    EXPECT_EQ(p.Pillar[MonthPillar], 12);
    const TermMoment& snow = table_->At(1989, 22);
    EXPECT_EQ(place.Days, DayNumber(1801, 1990, 1, 2) - DayNumber(1801, 1989, snow.Month, snow.Day) -
                              (10 * 60 < snow.Hour * 60 + snow.Minute ? 1 : 0));
    EXPECT_EQ(rec_->Weekday, 2);  // a Tuesday
}

TEST_F(PillarsTest, TermDistanceForwardAndBackward) {
    // One day and one minute after 1990's 清明: 穀雨 is mid-month, 立夏 the next opening term.
    const Moment m = TermMomentPlus(1990, 6, 1);
    const Moment next{m.Year, m.Month, m.Day + 1, m.Hour, m.Minute};
    const TermSpan back = TermDistance(*table_, next, false, true);
    EXPECT_EQ(back.Index, 6);
    EXPECT_EQ(back.Days, 1);
    EXPECT_EQ(back.Hours * 60 + back.Minutes, 1);
    const TermSpan fwd = TermDistance(*table_, m, true, true);
    EXPECT_EQ(fwd.Index, 8);
    const TermMoment& summer = table_->At(1990, 8);
    const int minutes = (DayNumber(1801, 1990, summer.Month, summer.Day) - DayNumber(1801, m.Year, m.Month, m.Day)) *
                            1440 + summer.Hour * 60 + summer.Minute - (m.Hour * 60 + m.Minute);
    EXPECT_EQ(fwd.Days * 1440 + fwd.Hours * 60 + fwd.Minutes, minutes);
    // Every term backward, from just after 穀雨: that term itself.
    EXPECT_EQ(TermDistance(*table_, TermMomentPlus(1990, 7, 5), false, false).Index, 7);
    EXPECT_EQ(TermDistance(*table_, TermMomentPlus(1990, 7, 5), false, true).Index, 6);
    // Forward across the year end reaches the next year's 小寒.
    EXPECT_EQ(TermDistance(*table_, TermMomentPlus(1990, 22, 10), true, true).Index, 0);
}

TEST_F(PillarsTest, SeasonElement) {
    EXPECT_EQ(SeasonOf(*table_, {2001, 1, 1, 12, 0}), 0);    // winter water
    EXPECT_EQ(SeasonOf(*table_, {2001, 1, 25, 12, 0}), 3);   // the earth days before 立春
    EXPECT_EQ(SeasonOf(*table_, {2001, 3, 15, 12, 0}), 1);   // spring wood
    EXPECT_EQ(SeasonOf(*table_, {2001, 6, 20, 12, 0}), 2);   // summer fire
    EXPECT_EQ(SeasonOf(*table_, {2001, 9, 20, 12, 0}), 4);   // autumn metal
    EXPECT_EQ(SeasonOf(*table_, {2001, 12, 20, 12, 0}), 0);  // after 立冬
}

TEST_F(PillarsTest, RefusesWhatTheTableCannotAnswerAndStoresNothing) {
    rec_->TermIndex = 7;
    rec_->Weekday = 5;
    const auto before = std::make_unique<ChartRecord>(*rec_);
    const Moment refused[] = {
        {1800, 12, 31, 12, 0},   // before the table
        {1801, 1, 1, 12, 0},     // before the table's first 小寒
        {2101, 1, 1, 12, 0},     // after the table
        {2100, 12, 31, 12, 0},   // the next month-opening term is beyond the table
        {2023, 2, 29, 12, 0},    // no such day
        {2023, 2, 30, 12, 0},
        {2023, 13, 1, 12, 0},
        {2023, 0, 1, 12, 0},
        {2023, 5, 1, 26, 0},     // hour above 25
        {2023, 5, 1, 12, 60},    // minute above 59
        {2023, 5, 1, -1, 0},
    };
    for (const Moment& m : refused) {
        PillarQuad p{{1, 2, 3, 4}};
        EXPECT_FALSE(DateToPillars(*rec_, p, m)) << m.Year << '-' << m.Month << '-' << m.Day << ' ' << m.Hour;
        EXPECT_EQ(p.Pillar[0], 1);
        EXPECT_EQ(std::memcmp(rec_.get(), before.get(), sizeof(ChartRecord)), 0);
    }
    ChartRecord noTable{};
    PillarQuad p{};
    EXPECT_FALSE(DateToPillars(noTable, p, Moment{2000, 1, 1, 12, 0}));
}

TEST_F(PillarsTest, UnknownHourCountsAsNoon) {
    const PillarQuad unknown = Convert({1995, 8, 8, HourUnknown, 0});
    const PillarQuad noon = Convert({1995, 8, 8, 12, 0});
    EXPECT_EQ(std::memcmp(&unknown, &noon, sizeof unknown), 0);
}

}  // namespace
}  // namespace qv

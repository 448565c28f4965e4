// A person's birth turned into record fields, checked against the independent
// lunar calendar in the reference data.
#include <gtest/gtest.h>

#include "engine/calendar/calendar.h"
#include "person_entry.h"
#include "reference_data.h"

namespace qv {
namespace {

struct ReferenceDay {
    CivilDate Solar;
    LunarDate Lunar;
};

// Every tenth row of the reference lunar dates.
std::vector<ReferenceDay> ReferenceDays() {
    std::vector<ReferenceDay> days;
    const auto rows = test::ReadReferenceTsv("lunar_dates.tsv");
    for (size_t i = 0; i < rows.size(); i += 10) {
        const auto& f = rows[i];
        const std::string& d = f[0];
        days.push_back({{std::stoi(d.substr(0, 4)), std::stoi(d.substr(5, 2)), std::stoi(d.substr(8, 2))},
                        {std::stoi(f[1]), std::stoi(f[2]), std::stoi(f[3]), f[4] == "1"}});
    }
    return days;
}

LunarDate StoredLunar(const PersonRecord& r) { return {r.lunarYear, r.lunarMonth, r.lunarDay, r.leapMonth == 1}; }

BirthEntry Solar(const CivilDate& d, int hour, int minute) {
    BirthEntry e;
    e.Year = d.Year, e.Month = d.Month, e.Day = d.Day, e.Hour = hour, e.Minute = minute;
    return e;
}

TEST(FillBirthTest, BothCalendarsAgreeWithTheReference) {
    const auto days = ReferenceDays();
    ASSERT_GT(days.size(), 500u);
    for (const ReferenceDay& day : days) {
        PersonRecord r{};
        ASSERT_TRUE(FillBirth(Solar(day.Solar, 10, 5), CommonRatHour, r).Ok);
        EXPECT_EQ(StoredLunar(r), day.Lunar) << day.Solar.Year << "-" << day.Solar.Month << "-" << day.Solar.Day;

        BirthEntry lunar{true, day.Lunar.Year, day.Lunar.Month, day.Lunar.Day, day.Lunar.Leap, false, 10, 5};
        PersonRecord fromLunar{};
        ASSERT_TRUE(FillBirth(lunar, CommonRatHour, fromLunar).Ok);
        EXPECT_EQ((CivilDate{fromLunar.year, fromLunar.month, fromLunar.day}), day.Solar);
    }
}

TEST(FillBirthTest, LateRatHourMovesOnlyTheLunarDateAndOnlyUnderTheCommonRule) {
    for (const ReferenceDay& day : ReferenceDays()) {
        const CivilDate next = AddDays(day.Solar, 1);
        LunarDate nextLunar{};
        if (!SolarToLunar(next, nextLunar)) continue;
        PersonRecord r{};
        ASSERT_TRUE(FillBirth(Solar(day.Solar, 23, 30), CommonRatHour, r).Ok);
        EXPECT_EQ(StoredLunar(r), nextLunar);
        EXPECT_EQ((CivilDate{r.year, r.month, r.day}), day.Solar);
        for (int rule : {EarlyRatHour, NightRatHour}) {
            ASSERT_TRUE(FillBirth(Solar(day.Solar, 23, 30), rule, r).Ok);
            EXPECT_EQ(StoredLunar(r), day.Lunar);
        }
    }
}

TEST(FillBirthTest, LastDayOfTheTwelfthMonthAt23MovesToTheNewYear) {
    // 2024-02-09 is the last day of lunar 2023/12; the new year begins next day.
    PersonRecord r{};
    ASSERT_TRUE(FillBirth(Solar({2024, 2, 9}, 23, 0), CommonRatHour, r).Ok);
    EXPECT_EQ(StoredLunar(r), (LunarDate{2024, 1, 1, false}));
}

TEST(FillBirthTest, DoubleHourNumberAndUnknownHour) {
    const std::pair<int, int> hours[] = {{0, 0}, {1, 1}, {2, 1}, {3, 2}, {12, 6}, {22, 11}, {23, 12}};
    PersonRecord r{};
    for (auto [hour, branch] : hours) {
        ASSERT_TRUE(FillBirth(Solar({2000, 6, 1}, hour, 45), CommonRatHour, r).Ok);
        EXPECT_EQ(r.hourBranch, branch) << "hour " << hour;
        EXPECT_EQ(r.minute, 45);
    }
    BirthEntry unknown = Solar({2000, 6, 1}, 23, 45);
    unknown.HourUnknown = true;
    ASSERT_TRUE(FillBirth(unknown, CommonRatHour, r).Ok);
    EXPECT_EQ(r.hour, HourUnknown);
    EXPECT_EQ(r.minute, 0);
    EXPECT_EQ(r.hourBranch, 6);
    EXPECT_EQ(StoredLunar(r), (LunarDate{2000, 4, 29, false}));  // not moved: the hour is not 23
}

TEST(FillBirthTest, ImpossibleEntriesAreRefusedAndChangeNothing) {
    const BirthEntry bad[] = {
        Solar({2023, 2, 29}, 8, 0),  Solar({1899, 12, 31}, 8, 0), Solar({1900, 1, 30}, 8, 0),
        Solar({2100, 1, 1}, 8, 0),   Solar({2000, 6, 1}, 24, 0),  Solar({2000, 6, 1}, 8, 60),
        {true, 2023, 3, 1, true, false, 8, 0},  // 2023 has a leap second month, not a leap third
        {true, 2023, 1, 30, false, false, 8, 0},
    };
    for (const BirthEntry& e : bad) {
        PersonRecord r{};
        r.year = 7;
        const Result filled = FillBirth(e, CommonRatHour, r);
        EXPECT_FALSE(filled.Ok) << e.Year << "-" << e.Month << "-" << e.Day;
        EXPECT_EQ(filled.Reason, DateNotInCalendarText);
        EXPECT_FALSE(filled.Detail.empty());
        EXPECT_EQ(r.year, 7);
    }
}

TEST(CheckBirthFieldsTest, NamesTheFirstFieldThatCannotBeCharted) {
    PersonRecord r{};
    r.year = 2000, r.month = 2, r.day = 29, r.hour = HourUnknown;
    EXPECT_TRUE(CheckBirthFields(r).Ok);
    r.sex = 2;
    EXPECT_EQ(CheckBirthFields(r).Reason, StoredBirthBrokenText);
    EXPECT_NE(CheckBirthFields(r).Detail.find("sex"), std::string::npos);
    r.sex = 0, r.day = 30;
    EXPECT_FALSE(CheckBirthFields(r).Ok);
    r.day = 29, r.hour = 24;
    EXPECT_NE(CheckBirthFields(r).Detail.find("hour"), std::string::npos);
}

}  // namespace
}  // namespace qv

// The ages and years of a life that the period walk counts in.
#include <gtest/gtest.h>

#include <array>

#include "engine/chart/chart_periods.h"
#include "charted_person.h"

namespace qv {
namespace {

using test::ChartedPerson;

TEST(AgesOfALife, AgeAndYearFollowTheBirthYearBoundary) {
    auto rec = ChartedPerson(1990, 2, 4, 9, 5, 0);
    ASSERT_TRUE(rec);
    // boundary value, lunar year, its nominal age: born in lunar 1990, counted from 1989 before 立春
    for (auto [boundary, year, age] : {std::array{0, 1990, 1}, {0, 2026, 37}, {1, 1990, 2}, {1, 2026, 38}, {2, 1990, 0}}) {
        rec->BirthYearBoundary = static_cast<uint8_t>(boundary);
        EXPECT_EQ(AgeInYear(*rec, year), age) << boundary << " " << year;
        EXPECT_EQ(YearOfAge(*rec, age), year) << boundary << " " << age;
    }
    EXPECT_EQ(YearPillarOf(1984), 0);   // 甲子
    EXPECT_EQ(YearPillarOf(2026), 42);  // 丙午
    EXPECT_EQ(YearPillarOf(1983), 59);  // 癸亥
}

TEST(NominalAge, CountsLunarYearsAndFollowsTheYearPillarAtTheSpringStart) {
    // Lunar 1990-01-09 but before 立春: the 己巳 year of 1989 is age 1.
    auto rec = ChartedPerson(1990, 2, 4, 9, 5, 0);
    ASSERT_TRUE(rec);
    ASSERT_EQ(rec->Birth.LunarYear, 1990);
    ASSERT_EQ(rec->BirthYearBoundary, 1);
    EXPECT_EQ(CurrentNominalAge(*rec, {2026, 12, 7}), 38);
    EXPECT_EQ(CurrentNominalAge(*rec, {2026, 1, 20}), 37);   // lunar 2025, pillar 乙巳
    EXPECT_EQ(CurrentNominalAge(*rec, {2026, 2, 10}), 38);   // after 立春, before the new year on 17 February
    EXPECT_EQ(CurrentNominalAge(*rec, {2026, 2, 20}), 38);
    rec->BirthYearBoundary = 0;
    EXPECT_EQ(CurrentNominalAge(*rec, {2026, 12, 7}), 37);
    rec->BirthYearBoundary = 2;
    EXPECT_EQ(CurrentNominalAge(*rec, {2026, 12, 7}), 36);
}

}  // namespace
}  // namespace qv

// A second person on the lifetime and ten-year charts, read by calendar year.
#include <gtest/gtest.h>

#include "charted_person.h"
#include "engine/fortune/fortune.h"
#include "fortune_curve.h"
#include "engine/fortune/levels.h"
#include "second_series.h"

namespace qv::test {
namespace {

using namespace qv::ui;

std::unique_ptr<ChartRecord> WithFortunes(int year, int sex) {
    auto rec = ChartedPerson(year, 5, 17, 14, 30, sex);
    if (rec) ComputeFortuneTables(*rec);
    return rec;
}

TEST(SecondSeries, SamePersonRepeatsTheBarsAndLaterBirthStartsLater) {
    auto a = WithFortunes(1970, 0), same = WithFortunes(1970, 0), later = WithFortunes(1980, 1);
    if (!a || !later) GTEST_SKIP() << "no solar-term table";
    FortuneCurve lifetime, decade;
    ASSERT_TRUE(OpenCurve(lifetime, *a, 5, LuckCurve, true, FortunePeriod{-1, 0, 1, true}));
    ASSERT_TRUE(OpenCurve(decade, *a, 5, TenYearCurve, false, FortunePeriod{-1, 1978, 1, false}));
    for (const FortuneCurve* c : {&lifetime, &decade}) {
        SecondSeries s;
        ASSERT_TRUE(FillSecondSeries(*c, *a, *same, s));
        for (int i = 0; i < c->Count; ++i) {
            if (!c->Bars[i].Drawn()) continue;
            EXPECT_EQ(s.Values[i], c->Bars[i].Value) << i;
            const int level = LevelOf(c->Bars[i].Value, 10);
            EXPECT_EQ(s.BothGood[i], level < 5) << i;  // above 平穩
        }
        ASSERT_TRUE(FillSecondSeries(*c, *a, *later, s));
        // The person born in 1980 has no value for the years before it.
        for (int i = 0; i < c->Count; ++i) EXPECT_EQ(s.Drawn[i], BarYear(*c, *a, i) >= 1980) << i;
    }
    EXPECT_EQ(BarYear(decade, *a, 0), 1978);
    FortuneCurve months;
    ASSERT_TRUE(OpenCurve(months, *a, 5, MonthCurve, false, FortunePeriod{-1, 1990, 1, false}));
    SecondSeries s;
    EXPECT_FALSE(FillSecondSeries(months, *a, *later, s));
}

}  // namespace
}  // namespace qv::test

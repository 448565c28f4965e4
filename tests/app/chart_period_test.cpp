// The chart view's clicks without widgets: what each point of the page hits,
// the period a kind button or a cell selects, and the Flow block after any
// sequence of clicks.
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "chart_period.h"
#include "charted_person.h"
#include "engine/fortune/fortune.h"
#include "period_checks.h"

namespace qv::ui {
namespace {

// The view's chart on the 1024 x 768 page: corner (91, 2), unit 20.
constexpr ChartLayout Page{91, 2, 685, 20};

// The fields of a selection, in one comparable row: cell, first age, age, half, stem, branch.
std::vector<int> Row(const PeriodSelection& p) { return {p.Cell, p.FirstAge, p.Age, p.UpperHalf, p.Stem, p.Branch}; }

void SetToday(ChartRecord& rec, int year, int month, int day) {
    rec.Now = LocalDateTime{int16_t(year), int16_t(month), int16_t(day), 12, 0};
}

TEST(ChartHitTest, ButtonsTakeOnlyTheLeftButtonAndTheirOwnRectangles) {
    for (int k = 0; k < 3; ++k) {
        const int top = 2 + 54 * k;
        EXPECT_EQ(HitTest(Page, 8, top, true).Spot, ChartSpot::KindButton);
        EXPECT_EQ(HitTest(Page, 82, top + 49, true).Index, k);
        EXPECT_EQ(HitTest(Page, 40, top + 20, false).Spot, ChartSpot::Nothing) << "right button";
        EXPECT_EQ(HitTest(Page, 83, top + 20, true).Spot, ChartSpot::Nothing);
        EXPECT_EQ(HitTest(Page, 7, top + 20, true).Spot, ChartSpot::Nothing);
        EXPECT_EQ(HitTest(Page, 40, top + 50, true).Spot, ChartSpot::Nothing) << "the gap below button " << k;
    }
    EXPECT_EQ(HitTest(Page, 40, 2 + 54 * 3 + 10, true).Spot, ChartSpot::Nothing) << "no fourth button";
}

TEST(ChartHitTest, PeriodCellsCountTheirColumnsFromTheRight) {
    auto at = [](int cx, int cy) { return HitTest(Page, 91 + cx, 2 + cy, true); };
    EXPECT_EQ(at(0, 440).Index, 11);
    EXPECT_EQ(at(39, 440).Index, 11);
    EXPECT_EQ(at(40, 440).Index, 10);  // a whole step of 2u lies left of it
    EXPECT_EQ(at(479, 440).Index, 0);
    EXPECT_EQ(at(480, 440).Spot, ChartSpot::Nothing);  // the row label
    EXPECT_TRUE(at(100, 440).UpperHalf);
    EXPECT_TRUE(at(100, 499).UpperHalf);
    EXPECT_FALSE(at(100, 500).UpperHalf);
    EXPECT_EQ(at(100, 560).Spot, ChartSpot::PeriodCell);
    EXPECT_EQ(at(100, 561).Spot, ChartSpot::Nothing);
    EXPECT_EQ(at(100, 439).Spot, ChartSpot::Nothing);
    EXPECT_EQ(at(-1, 450).Spot, ChartSpot::Nothing);
}

TEST(ChartHitTest, OnlyTheLeftHalfOfTheBottomStripReacts) {
    auto at = [](int cx, int cy) { return HitTest(Page, 91 + cx, 2 + cy, false).Spot; };
    EXPECT_EQ(at(0, 661), ChartSpot::WebStrip);
    EXPECT_EQ(at(329, 679), ChartSpot::WebStrip);   // (33u)/2 = 330
    EXPECT_EQ(at(330, 670), ChartSpot::Nothing);
    EXPECT_EQ(at(100, 660), ChartSpot::Nothing);    // 33u itself is the rule above the strip
    EXPECT_EQ(at(100, 681), ChartSpot::Nothing);    // the white page under the chart
    EXPECT_EQ(at(-5, 670), ChartSpot::Nothing);
}

class PeriodChoiceTest : public ::testing::Test {
protected:
    // 1990-02-04 09:05, male: lunar 1990-01-09 but before 立春, so age 1 is 1989; luck from age 11.
    void SetUp() override {
        rec_ = test::ChartedPerson(1990, 2, 4, 9, 5, 0);
        ASSERT_NE(rec_, nullptr);
        ASSERT_EQ(rec_->Birth.LunarYear, 1990);
        ASSERT_EQ(rec_->Natal.LuckStartAge, 11);
        ASSERT_EQ(rec_->BirthYearBoundary, 1);
        ClearPeriod(*rec_);
        SetToday(*rec_, 2026, 12, 7);  // lunar 2026, nominal age 38
    }
    std::unique_ptr<ChartRecord> rec_;
};

TEST_F(PeriodChoiceTest, TheLuckButtonChoosesTheHalfPillarOfTheCurrentAge) {
    ChooseKind(*rec_, LuckKind);
    const PeriodSelection& p = rec_->Period;
    const int stem = rec_->Natal.LuckStem[2], branch = rec_->Natal.LuckBranch[2];
    // 38 is past 11 + 20 + 5 but below 16 + 20 + 5: the lower half of the third pillar.
    EXPECT_EQ(p.CurrentAge, 38);
    EXPECT_EQ(Row(p), (std::vector<int>{2, 0, 36, 0, stem, branch}));
    SetToday(*rec_, 2023, 12, 7);  // age 35: the upper half of the same pillar
    ChooseKind(*rec_, LuckKind);
    EXPECT_EQ(Row(p), (std::vector<int>{2, 0, 31, 1, stem, branch}));
}

TEST_F(PeriodChoiceTest, AnAgePastEveryPillarKeepsTheLastOne) {
    rec_ = test::ChartedPerson(1900, 3, 1, 10, 0, 1);
    ASSERT_NE(rec_, nullptr);
    SetToday(*rec_, 2030, 6, 1);
    ASSERT_GE(CurrentNominalAge(*rec_, {2030, 6, 1}), rec_->Natal.LuckStartAge + 115);
    ChooseKind(*rec_, LuckKind);
    EXPECT_EQ(rec_->Period.Cell, 11);
    EXPECT_EQ(rec_->Period.UpperHalf, 0);
}

TEST_F(PeriodChoiceTest, TheYearButtonCentresTheRowOnTodaysYear) {
    ChooseKind(*rec_, YearKind);
    const PeriodSelection& p = rec_->Period;
    EXPECT_EQ(p.LunarYear, 2026);
    // Lunar month 10 lies in the second half; 2026 is 丙午.
    EXPECT_EQ(Row(p), (std::vector<int>{2, 36, 38, 0, 2, 6}));
    // The row holds the twelve years from 2024 甲辰 on.
    for (int k = 0; k < 12; ++k) {
        EXPECT_EQ(rec_->Flow.LuckStem[k], k % 10) << k;
        EXPECT_EQ(rec_->Flow.LuckBranch[k], (4 + k) % 12) << k;
    }
    // A chosen year stays chosen: back to the natal chart and again.
    ChooseCell(*rec_, 7, true);
    const int16_t chosen = p.LunarYear;
    ChooseKind(*rec_, NatalKind);
    ChooseKind(*rec_, YearKind);
    EXPECT_EQ(p.LunarYear, chosen);
    EXPECT_EQ(p.UpperHalf, 1) << "a cell's upper half is lunar month 3";
}

// Lunar 1990 is age 2; before the birth the row still starts at age 1, 1989.
TEST_F(PeriodChoiceTest, TheRowStartsAtTheBirthYearForTheYoungest) {
    for (const auto& [today, cell] : {std::pair{1990, 1}, {1989, 0}, {1985, 0}}) {
        SetToday(*rec_, today, 6, 1);
        rec_->Period.LunarYear = 0;
        ChooseKind(*rec_, YearKind);
        EXPECT_EQ(rec_->Period.FirstAge, 1) << today;
        EXPECT_EQ(rec_->Period.Cell, cell) << today;
        EXPECT_EQ(rec_->Period.LunarYear, 1989 + cell) << today;
    }
}

TEST_F(PeriodChoiceTest, AYearCellGivesTheGregorianDateOfItsLunarMonth) {
    ChooseKind(*rec_, YearKind);
    ChooseCell(*rec_, 5, false);  // age 41: lunar 2029-10-01
    const PeriodSelection& p = rec_->Period;
    EXPECT_EQ(Row(p), (std::vector<int>{5, 36, 41, 0, 5, 9}));  // 2029 己酉
    // Lunar 2029-10-01 is 2029-11-06.
    EXPECT_EQ((std::vector<int>{p.LunarYear, p.LunarMonth, p.LunarDay, p.Year, p.Month, p.Day}),
              (std::vector<int>{2029, 10, 1, 2029, 11, 6}));
}

TEST(PeriodProperty, AnyClicksLeaveNatalAloneAndFlowOnTheSelectedPeriod) {
    std::mt19937 rng(15);
    for (int person = 0; person < 60; ++person) {
        const int year = 1910 + int(rng() % 110), month = 1 + int(rng() % 12), day = 1 + int(rng() % 28);
        auto rec = test::ChartedPerson(year, month, day, int(rng() % 24), int(rng() % 60), int(rng() % 2));
        ASSERT_NE(rec, nullptr);
        ClearPeriod(*rec);
        SetToday(*rec, 2026, 12, 7);
        const ChartBlock natal = rec->Natal;
        for (int click = 0; click < 25; ++click) {
            const bool left = rng() % 4 != 0;
            const auto [x, y] = test::RandomClickPoint(rng);
            Click(*rec, Page, x, y, left);
            ASSERT_EQ(std::memcmp(&rec->Natal, &natal, sizeof natal), 0) << "person " << person << " click " << click;
            test::ExpectFlowOnSelection(*rec, natal);
        }
    }
}

}  // namespace
}  // namespace qv::ui

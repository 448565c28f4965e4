// Fixture of the fortune-curve window tests: one person charted with his fortune tables.
#pragma once

#include <gtest/gtest.h>

#include "charted_person.h"
#include "engine/fortune/fortune.h"
#include "fortune_curve.h"
#include "offscreen_app.h"

namespace qv::test {

class ChartedCurveTest : public ::testing::Test {
protected:
    void SetUp() override {
        QtApp();
        rec_ = ChartedPerson(1990, 2, 19, 9, 5, 0);
        if (!rec_) GTEST_SKIP() << "no solar-term table";
        ComputeFortuneTables(*rec_);
    }
    ui::FortuneCurve Open(int category, int mode, const ui::FortunePeriod& period) {
        ui::FortuneCurve c;
        EXPECT_TRUE(ui::OpenCurve(c, *rec_, category, mode, false, period));
        return c;
    }
    std::unique_ptr<ChartRecord> rec_;
};

}  // namespace qv::test

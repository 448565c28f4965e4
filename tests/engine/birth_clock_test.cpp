// Birth clock times of other zones and true solar time, turned into the
// chart's UTC+8 clock, and ΔT. The expected moments come from the tz
// database's own transitions (as zdump lists them), from published values of
// the equation of time, and ΔT from the Astronomical Almanac / IERS yearly
// table, the Stephenson-Morrison-Hohenkerk historical values and the spread
// of the published long-term forecasts.
#include <erfa.h>
#include <erfam.h>

#include <cmath>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "engine/clock/birth_clock.h"
#include "engine/clock/delta_t.h"
#include "engine/chart/person_record.h"
#include "engine/clock/solar_time.h"

namespace qv {
namespace {

ClockZone Zone(std::string_view name) {
    ClockZone zone;
    std::string problem;
    EXPECT_TRUE(FindClockZone(name, zone, problem)) << problem;
    return zone;
}

BirthClock InZone(std::string_view name, bool second = false) {
    BirthClock clock;
    clock.Zone = Zone(name);
    clock.SecondOfRepeated = second;
    return clock;
}

std::string Text(const Moment& m) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d", m.Year, m.Month, m.Day, m.Hour, m.Minute);
    return buf;
}

struct ZoneCase {
    const char* Zone;
    Moment Given;
    bool Second;
    const char* Charted;  // on the UTC+8 clock
    int Offset;           // minutes east of UTC then
    bool Dst, Repeated;
};

TEST(ZoneClock, HistoricalOffsetsAndSummerTimesOfTheDatabase) {
    const ZoneCase cases[] = {
        // Taiwan kept Japan's time from October 1937 to September 1945.
        {"Asia/Taipei", {1940, 6, 15, 10, 0}, false, "1940-06-15 09:00", 540, false, false},
        {"Asia/Taipei", {1937, 9, 30, 23, 59}, false, "1937-09-30 23:59", 480, false, false},
        // Summer time 1974: 1 April 00:00 became 01:00; 30 September 24:00 became 23:00.
        {"Asia/Taipei", {1974, 7, 15, 12, 0}, false, "1974-07-15 11:00", 540, true, false},
        {"Asia/Taipei", {1974, 4, 1, 1, 0}, false, "1974-04-01 00:00", 540, true, false},
        {"Asia/Taipei", {1974, 9, 30, 23, 30}, false, "1974-09-30 22:30", 540, true, true},
        {"Asia/Taipei", {1974, 9, 30, 23, 30}, true, "1974-09-30 23:30", 480, false, true},
        {"Asia/Taipei", {1974, 10, 1, 0, 0}, false, "1974-10-01 00:00", 480, false, false},
        // Mainland China 1988: 17 April 02:00 → 03:00, 11 September 02:00 → 01:00.
        {"Asia/Shanghai", {1988, 7, 1, 8, 0}, false, "1988-07-01 07:00", 540, true, false},
        {"Asia/Shanghai", {1988, 9, 11, 1, 30}, false, "1988-09-11 00:30", 540, true, true},
        {"Asia/Shanghai", {1988, 9, 11, 1, 30}, true, "1988-09-11 01:30", 480, false, true},
        {"Asia/Shanghai", {1988, 12, 1, 8, 0}, false, "1988-12-01 08:00", 480, false, false},
        // Hong Kong 1975: 20 April 03:30 → 04:30, 19 October 03:30 → 02:30.
        {"Asia/Hong_Kong", {1975, 7, 1, 0, 30}, false, "1975-06-30 23:30", 540, true, false},
        {"Asia/Hong_Kong", {1975, 10, 19, 3, 0}, false, "1975-10-19 02:00", 540, true, true},
        {"Asia/Hong_Kong", {1975, 10, 19, 3, 0}, true, "1975-10-19 03:00", 480, false, true},
        // Malaya kept UTC+7:30 until the end of 1981.
        {"Asia/Kuala_Lumpur", {1980, 6, 1, 12, 0}, false, "1980-06-01 12:30", 450, false, false},
        // Los Angeles 2024: 10 March 02:00 → 03:00, 3 November 02:00 → 01:00.
        {"America/Los_Angeles", {2024, 6, 1, 10, 0}, false, "2024-06-02 01:00", -420, true, false},
        {"America/Los_Angeles", {2024, 11, 3, 1, 30}, false, "2024-11-03 16:30", -420, true, true},
        {"America/Los_Angeles", {2024, 11, 3, 1, 30}, true, "2024-11-03 17:30", -480, false, true},
        {"America/Los_Angeles", {2024, 12, 31, 20, 0}, false, "2025-01-01 12:00", -480, false, false},
    };
    for (const ZoneCase& c : cases) {
        SCOPED_TRACE(std::string(c.Zone) + " " + Text(c.Given) + (c.Second ? " (second)" : ""));
        const ChartedMoment m = ChartMomentOf(InZone(c.Zone, c.Second), c.Given);
        ASSERT_EQ(m.Fault, BirthClockFault::None);
        EXPECT_EQ(Text(m.Charted), c.Charted);
        EXPECT_EQ(m.ZoneOffsetMinutes, c.Offset);
        EXPECT_EQ(m.DaylightSaving, c.Dst);
        EXPECT_EQ(m.Repeated, c.Repeated);
    }
}

TEST(ZoneClock, TimesTheClockJumpedOverAreRefused) {
    const std::pair<const char*, Moment> skipped[] = {
        {"Asia/Taipei", {1974, 4, 1, 0, 0}},     {"Asia/Taipei", {1974, 4, 1, 0, 59}},
        {"Asia/Shanghai", {1988, 4, 17, 2, 30}}, {"Asia/Hong_Kong", {1975, 4, 20, 3, 45}},
        {"America/Los_Angeles", {2024, 3, 10, 2, 0}},
    };
    for (const auto& [zone, given] : skipped) {
        SCOPED_TRACE(std::string(zone) + " " + Text(given));
        EXPECT_EQ(ChartMomentOf(InZone(zone), given).Fault, BirthClockFault::SkippedTime);
        EXPECT_EQ(ChartMomentOf(InZone(zone, true), given).Fault, BirthClockFault::SkippedTime);
    }
}

// New York's clock jumped from 02:00 to 03:00 on 2024-03-10 (02:30 was never shown) and showed 01:00-01:59
// twice on 2024-11-03; at 121.5°E on 2024-02-11 solar time runs about 8 minutes
// behind the UTC+8 clock (+6 for the longitude, -14 for the equation of time).
TEST(ClockEdgesOfABirth, SummerTimeChangesTimesShownTwiceAndSolarTimeAcrossAnHour) {
    struct Case {
        BirthClock Clock;
        Moment Given;
        bool Repeated;
        std::optional<int> Change;
        bool Shifted;
    };
    BirthClock solar;
    solar.SolarLongitude = 121.5;
    const Case cases[] = {
        {InZone("America/New_York"), {2024, 3, 10, 3, 5}, false, 5, false},
        {InZone("America/New_York"), {2024, 3, 10, 1, 55}, false, -5, false},
        {InZone("America/New_York"), {2024, 3, 10, 12, 0}, false, std::nullopt, false},
        {InZone("America/New_York"), {2024, 3, 10, 2, 30}, false, std::nullopt, false},  // never shown
        {InZone("America/New_York"), {2024, 11, 3, 1, 55}, true, -5, false},
        {InZone("America/New_York"), {2024, 11, 3, 1, 30}, true, std::nullopt, false},
        {solar, {2024, 2, 11, 13, 5}, false, std::nullopt, true},
        {solar, {2024, 2, 11, 13, 30}, false, std::nullopt, false},
    };
    for (const Case& c : cases) {
        const ClockEdges e = FindClockEdges(c.Clock, c.Given, ChartMomentOf(c.Clock, c.Given), 10);
        EXPECT_EQ(e.Repeated, c.Repeated) << Text(c.Given);
        EXPECT_EQ(e.ClockChange, c.Change) << Text(c.Given);
        ASSERT_EQ(e.SolarShift.has_value(), c.Shifted) << Text(c.Given);
        if (c.Shifted) {
            EXPECT_NEAR(*e.SolarShift, -8, 1);
        }
    }
}

TEST(BirthClockInput, WithoutACorrectionNothingChanges) {
    const Moment given{1974, 7, 15, 12, 0};
    EXPECT_EQ(Text(ChartMomentOf(BirthClock{}, given).Charted), "1974-07-15 12:00");
    // Not even a birth of unknown hour, which the chart places at noon itself.
    const ChartedMoment unknown = ChartMomentOf(BirthClock{}, {1974, 7, 15, HourUnknown, 0});
    EXPECT_EQ(unknown.Fault, BirthClockFault::None);
    EXPECT_EQ(unknown.Charted.Hour, HourUnknown);
    // UTC+8 zones of today chart the clock time as it is.
    EXPECT_EQ(Text(ChartMomentOf(InZone("Asia/Taipei"), {2020, 3, 1, 23, 30}).Charted), "2020-03-01 23:30");
}

TEST(BirthClockInput, BadInputIsRefused) {
    std::string problem;
    ClockZone zone;
    EXPECT_FALSE(FindClockZone("Asia/Taipeh", zone, problem));
    EXPECT_NE(problem.find("Asia/Taipeh"), std::string::npos) << problem;
    EXPECT_FALSE(FindClockZone("", zone, problem));

    BirthClock solar;
    for (double bad : {180.01, -180.5, 361.0, std::nan("")}) {
        solar.SolarLongitude = bad;
        EXPECT_EQ(ChartMomentOf(solar, {2000, 1, 1, 12, 0}).Fault, BirthClockFault::LongitudeOutOfRange) << bad;
    }
    for (double edge : {180.0, -180.0}) {
        solar.SolarLongitude = edge;
        EXPECT_EQ(ChartMomentOf(solar, {2000, 1, 1, 12, 0}).Fault, BirthClockFault::None) << edge;
    }
    EXPECT_EQ(ChartMomentOf(solar, {2000, 1, 1, HourUnknown, 0}).Fault, BirthClockFault::HourUnknown);
    EXPECT_EQ(ChartMomentOf(InZone("Asia/Taipei"), {2001, 2, 29, 12, 0}).Fault, BirthClockFault::InvalidMoment);
    EXPECT_EQ(ChartMomentOf(InZone("Asia/Taipei"), {2001, 2, 28, 24, 0}).Fault, BirthClockFault::InvalidMoment);
}

TEST(MomentSeconds, RoundTripAcrossCenturiesAndBeforeTheEpoch) {
    EXPECT_EQ(SecondsOfMoment({1970, 1, 1, 0, 0}), 0);
    EXPECT_EQ(SecondsOfMoment({1969, 12, 31, 23, 59}), -60);
    EXPECT_EQ(SecondsOfMoment({2000, 3, 1, 0, 0}), 951868800);
    for (int64_t s = SecondsOfMoment({1801, 1, 1, 0, 0}); s < SecondsOfMoment({2101, 1, 1, 0, 0}); s += 86400 * 7 + 3723 * 60)
        ASSERT_EQ(SecondsOfMoment(MomentOfSeconds(s)), s) << Text(MomentOfSeconds(s));
}

int64_t UtcNoon(int year, int month, int day) { return SecondsOfMoment({year, month, day, 12, 0}); }

TEST(EquationOfTime, PublishedExtremesWithinThirtySeconds) {
    struct Published {
        int Year, Month, Day;
        double Minutes;
    };
    // Apparent minus mean solar time at its turning points, as almanacs give it.
    const Published values[] = {
        {2024, 2, 11, -14 - 14 / 60.0}, {2024, 5, 14, 3 + 39 / 60.0}, {2024, 7, 26, -6 - 32 / 60.0},
        {2024, 11, 3, 16 + 26 / 60.0},  {1975, 2, 12, -14 - 15 / 60.0}, {1975, 11, 3, 16 + 24 / 60.0},
    };
    for (const Published& p : values)
        EXPECT_NEAR(EquationOfTimeMinutes(UtcNoon(p.Year, p.Month, p.Day)), p.Minutes, 0.5)
            << p.Year << "-" << p.Month << "-" << p.Day;
}

// The same quantity from ERFA's full ephemeris and the IAU 2006/2000A
// sidereal time, for the approximations the fast path makes.
double FullEquationOfTimeMinutes(int64_t utc) {
    const double ut1 = 2440587.5, ut2 = static_cast<double>(utc) / 86400.0, tt2 = ut2 + 69.0 / 86400.0;
    double pvh[2][3], pvb[2][3];
    eraEpv00(ut1, tt2, pvh, pvb);
    double sun[3], dir[3], s = 0, v[3], v2 = 0;
    for (int i = 0; i < 3; ++i) sun[i] = -pvh[0][i];
    eraPn(sun, &s, sun);
    for (int i = 0; i < 3; ++i) {
        v[i] = pvb[1][i] * 499.004783836 / 86400.0;
        v2 += v[i] * v[i];
    }
    eraAb(sun, v, s, std::sqrt(1 - v2), dir);
    double rnpb[3][3], p[3];
    eraPnm06a(ut1, tt2, rnpb);
    eraRxp(rnpb, dir, p);
    const double ha = eraGst06a(ut1, ut2, ut1, tt2) - std::atan2(p[1], p[0]);
    return std::remainder(ha * 1440.0 / ERFA_D2PI + 720.0 - std::fmod(ut2, 1.0) * 1440.0, 1440.0);
}

TEST(EquationOfTime, FastPathFollowsTheFullEphemerisWithinTwoSecondsOverThreeCenturies) {
    for (int64_t utc = SecondsOfMoment({1801, 1, 1, 0, 0}); utc < SecondsOfMoment({2100, 12, 31, 0, 0});
         utc += 86400 * 23 + 3600 * 7) {
        // ΔT drifts by minutes over these centuries; the full path keeps it
        // fixed, which moves the Sun by well under a second of time.
        ASSERT_NEAR(EquationOfTimeMinutes(utc), FullEquationOfTimeMinutes(utc), 2.0 / 60) << Text(MomentOfSeconds(utc));
    }
}

TEST(TrueSolarTime, FollowsLongitudeAndTheEquation) {
    BirthClock solar;
    // On 120° E mean solar time is the chart's clock; in mid-June the
    // equation is near zero.
    solar.SolarLongitude = 120.0;
    EXPECT_EQ(Text(ChartMomentOf(solar, {2024, 6, 13, 12, 0}).Charted), "2024-06-13 12:00");
    // Taipei, 121.5° E, in mid-February: 6 minutes ahead, 14 behind.
    solar.SolarLongitude = 121.5;
    const ChartedMoment feb = ChartMomentOf(solar, {2024, 2, 11, 12, 0});
    EXPECT_EQ(Text(feb.Charted), "2024-02-11 11:52");
    EXPECT_NEAR(feb.EquationMinutes, -14.23, 0.5);
    // Urumqi, 87.6° E, near midnight: the day moves back.
    solar.SolarLongitude = 87.6;
    EXPECT_EQ(Text(ChartMomentOf(solar, {2024, 11, 3, 1, 0}).Charted), "2024-11-02 23:07");
    // Zone and solar time together: a Los Angeles clock at -118.25°.
    BirthClock both = InZone("America/Los_Angeles");
    both.SolarLongitude = -118.25;
    // 10:00 PDT = 17:00 UTC; mean solar time there 09:07, equation +16:26.
    EXPECT_EQ(Text(ChartMomentOf(both, {2024, 11, 2, 10, 0}).Charted), "2024-11-02 09:23");
}

TEST(DeltaT, PublishedValuesAndForecastSpread) {
    struct Point {
        double Year, Low, High;  // the published value with its uncertainty, or a forecast's spread
    } const points[] = {
        {1820.0, 11.0, 17.0},  // AA 11.9, SMH 2016 16.5: the historical series disagree by seconds
        {1900.0, -3.0, -1.5},  // AA -2.72, SMH 2016 -1.98
        {1950.0, 28.6, 29.4},  // AA 29.15, SMH 2016 28.93
        {1960.0, 33.10, 33.20},  // AA 33.15
        {1973.0, 43.32, 43.42},  // AA 43.37
        {1980.0, 50.49, 50.59},  // deltat.data 50.5387
        {1990.0, 56.81, 56.91},  // 56.8553
        {2000.0, 63.78, 63.88},  // 63.8285
        {2010.0, 66.02, 66.12},  // 66.0699
        {2017.0, 68.54, 68.64},  // 68.5927
        {2020.0, 69.31, 69.41},  // 69.3612
        {2025.0, 69.09, 69.19},  // 69.1377
        {2050.0, 64.0, 93.0},   // IERS / USNO predictions and Morrison et al. 2021
        {2100.0, 60.0, 210.0},  // from the flattest forecast to the 2006 polynomials
    };
    for (const Point& p : points) {
        const double dt = DeltaTSeconds(p.Year);
        EXPECT_GE(dt, p.Low) << p.Year;
        EXPECT_LE(dt, p.High) << p.Year;
    }
}

// Terms are found to the minute: no step between neighbouring days, and no
// jump where the historical record, the observations and the forecast meet.
TEST(DeltaT, ContinuousFrom1800To2100) {
    constexpr double day = 1.0 / 365.25;
    for (double y = 1800; y < 2100; y += day) ASSERT_LT(std::abs(DeltaTSeconds(y + day) - DeltaTSeconds(y)), 0.01) << y;
}

}  // namespace
}  // namespace qv

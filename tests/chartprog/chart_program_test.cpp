// The flow-year chart program as a whole process: which command lines open
// its window (drawn offscreen with --render), which end at once and with what
// status; and its start-up in-process: its settings and its rat-hour reading.
#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>
#include <fstream>

#include "engine/calendar/calendar.h"
#include "chart_session.h"
#include "fortune_curve.h"
#include "pdf_checks.h"
#include "run_program.h"

namespace qv::test {
namespace {

namespace fs = std::filesystem;
using namespace qv::chartprog;

// Velmaro on a data root of its own, drawing its window into `picture` instead of showing it.
ProgramResult RunVelmaro(const TempDir& data, const std::string& picture, const std::string& switches) {
    return RunCommandLine(ShellQuote(std::string(QUORVANE_BIN_DIR "/Velmaro")) + " --data-dir " +
                          ShellQuote(data.Path()) + " --render " + ShellQuote(picture) + " " + switches);
}

class VelmaroProcessTest : public ::testing::Test {
protected:
    std::string Picture() const { return out_.Path() + "/window.png"; }
    ProgramResult Run(const std::string& switches) { return RunVelmaro(data_, Picture(), switches); }
    TempDir data_, out_;
};

// The launcher's line opens the month chart, its twelve bars at their size on
// a 1024 x 768 screen (14 units of 960 / 14); dash switches, arguments holding
// runs of blanks and an unknown hour open a chart too.
TEST_F(VelmaroProcessTest, CommandLinesWithAChartOpenTheWindow) {
    const ProgramResult r = Run("@/Y 1992 /M 2 /D 3 /h 7 /m 8 /S 0 /P 2 /T 1");
    ASSERT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(QImage(QString::fromStdString(Picture())).size(), QSize(14 * (960 / 14), 8 * (960 / 14)));
    EXPECT_TRUE(fs::is_empty(data_.Path())) << "the program writes no file of its own";
    for (const auto& [line, wider] : {std::pair{"@-Y 1992 -P 2 -T 1", 0}, {"'@/Y 1992   /M 2' '/D 3 /P' 0 /T '7' /F 1", 0},
                                      {"@/Y 1992 /M 2 /D 3 /h 25 /P 3 /T 9", 600}}) {
        fs::remove(Picture());
        const ProgramResult opened = Run(line);
        EXPECT_EQ(opened.Status, 0) << line << opened.Err;
        EXPECT_GT(QImage(QString::fromStdString(Picture())).width(), wider) << line;
    }
}

// A launcher's line without a chart ends quietly; a picture asked for without one is refused.
TEST_F(VelmaroProcessTest, CommandLinesWithoutModeOrCategoryOpenNothing) {
    for (const char* line : {"/Y 1992 /P 2 /T 1", "'@-Y 1992 /p 2 /T 1'", "@/Y 1992 /P 2", ""}) {
        const ProgramResult quiet = RunProgram("Velmaro", {"--data-dir", data_.Path(), line});
        EXPECT_EQ(quiet.Status, 0) << line;
        EXPECT_EQ(quiet.Err, "") << line;
        const ProgramResult r = Run(line);
        EXPECT_EQ(r.Status, 2) << line;
        EXPECT_NE(r.Err.find("/P mode and /T category"), std::string::npos) << r.Err;
        EXPECT_FALSE(fs::exists(Picture())) << line;
    }
}

TEST_F(VelmaroProcessTest, AModeCategoryOrSexOutOfRangeIsRefusedBeforeAnyWindow) {
    for (const char* line : {"@/Y 1992 /P 4 /T 1", "@/Y 1992 /P -2 /T 1", "@/Y 1992 /P 2 /T 2", "@/Y 1992 /P 2 /T 15",
                             "@/Y 1992 /M 2 /D 3 /h 7 /m 8 /S -1 /P 0 /T 3", "@/Y 1992 /M 2 /D 3 /S 2 /P 2 /T 4"}) {
        const ProgramResult r = Run(line);
        EXPECT_EQ(r.Status, 2) << line;
        EXPECT_EQ(Lines(r.Err).size(), 1u) << r.Err;
        if (std::string(line).find("/S") != std::string::npos) {
            EXPECT_NE(r.Err.find("sex /S"), std::string::npos) << r.Err;
        }
        EXPECT_FALSE(fs::exists(Picture())) << line;
    }
}

// A year missing its value reads 0, which cannot be charted either.
TEST_F(VelmaroProcessTest, ABirthThatCannotBeChartedStillShowsTheWindowWithANotice) {
    for (const char* line : {"@/Y 1992 /M 13 /D 3 /P 2 /T 1", "@/Y x /P 2 /T 1", "@/Y 1992 /M 2 /D 3 /h 24 /P 1 /T 1",
                             "@/Y 1700 /M 2 /D 3 /P 0 /T 1", "@/P 2 /T 1 /Y"}) {
        fs::remove(Picture());
        const ProgramResult r = Run(line);
        ASSERT_EQ(r.Status, 0) << line << r.Err;
        const QImage window(QString::fromStdString(Picture()));
        EXPECT_EQ(window.size(), QSize(480, 160)) << line;
    }
}

TEST_F(VelmaroProcessTest, ALifetimeChartRendersAsPdfAtAChosenWidth) {
    const std::string pdf = out_.Path() + "/life.pdf";
    ProgramResult r = RunVelmaro(data_, pdf, "@/Y 1992 /M 2 /D 3 /h 7 /m 8 /S 1 /P 0 /T 1 /F 1");
    ASSERT_EQ(r.Status, 0) << r.Err;
    ExpectVectorPdf(pdf, 0, "終身運勢圖");
    // With no display and no platform named: a picture needs neither.
    r = RunCommandLine("env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " +
                       ShellQuote(std::string(QUORVANE_BIN_DIR "/Velmaro")) + " --data-dir " + ShellQuote(data_.Path()) +
                       " --render " + ShellQuote(Picture()) + " --size 400 @/Y 1992 /M 2 /D 3 /P 0 /T 5");
    ASSERT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(QImage(QString::fromStdString(Picture())).width(), 400);
}

TEST_F(VelmaroProcessTest, OptionsOfItsOwnAreCheckedAndHelpIsShown) {
    ProgramResult r = RunProgram("Velmaro", {"--help"});
    EXPECT_EQ(r.Status, 0);
    EXPECT_NE(r.Out.find("usage: Velmaro"), std::string::npos);
    r = RunProgram("Velmaro", {"--colour", "red", "@/P", "2", "/T", "1"});
    EXPECT_EQ(r.Status, 2);
    EXPECT_NE(r.Err.find("--colour"), std::string::npos);
    r = RunVelmaro(data_, out_.Path() + "/window.gif", "@/Y 1992 /M 2 /D 3 /P 2 /T 1");
    EXPECT_EQ(r.Status, 2);
    r = RunVelmaro(data_, out_.Path() + "/no/such/folder/w.png", "@/Y 1992 /M 2 /D 3 /P 2 /T 1");
    EXPECT_EQ(r.Status, 1);
    EXPECT_NE(r.Err.find("w.png"), std::string::npos);
}

TEST_F(VelmaroProcessTest, WithoutASolarTermTableItEndsAtOnceWithStatusOne) {
    fs::create_directories(data_.Path() + "/program");
    std::ofstream(data_.Path() + "/program/AInfo.tbl") << "not a table";
    // Before mode and category are looked at: even a command line that would end silently.
    for (const char* line : {"@/Y 1992 /M 2 /D 3 /P 2 /T 1", "/Y 1992"}) {
        const ProgramResult r = Run(line);
        EXPECT_EQ(r.Status, 1) << line;
        EXPECT_NE(r.Err.find("AInfo.tbl"), std::string::npos) << r.Err;
        EXPECT_FALSE(fs::exists(Picture()));
    }
}

class ChartSessionTest : public ::testing::Test {
protected:
    void SetUp() override {
        // In-process the shipped folder is the test's own: the built table is put where a user's override goes.
        fs::create_directories(data_.Path() + "/program");
        std::error_code ec;
        fs::copy_file(std::string(QUORVANE_BIN_DIR "/AInfo.tbl"), data_.Path() + "/program/AInfo.tbl", ec);
        const Result loaded = session_.LoadData(data_.Path());
        ASSERT_TRUE(loaded.Ok) << loaded.Detail;
    }
    void WriteSettings(const std::string& text) {
        fs::create_directories(data_.Path() + "/program");
        std::ofstream(data_.Path() + "/program/Velmaro.INI") << text;
    }
    static ChartRequest Birth(int y, int m, int d, int h, int min) {
        ChartRequest r;
        r.Year = int16_t(y), r.Month = int16_t(m), r.Day = int16_t(d), r.Hour = int16_t(h), r.Minute = int16_t(min);
        r.Mode = 2, r.Category = 1;
        return r;
    }
    TempDir data_;
    ChartSession session_;
};

TEST_F(ChartSessionTest, ItsOwnDefaultsApplyWithoutASettingsFile) {
    ASSERT_TRUE(session_.Chart(Birth(1992, 2, 3, 7, 8)));
    const ChartRecord& rec = session_.Record();
    EXPECT_EQ(rec.Options.FirstTimeBase, EarlyRatHour);
    EXPECT_EQ(rec.YearDisplay, 0);
    EXPECT_EQ(rec.Options.Reading, ChartProgramReading);
    EXPECT_EQ(rec.Scoring.BBase, 70);
    EXPECT_EQ(rec.Person.year, 1992);
    EXPECT_EQ(rec.Person.hourBranch, 4);  // ((7 - 1) / 2) + 1
    EXPECT_EQ(rec.ChartKind, 0);
}

TEST_F(ChartSessionTest, ItsSettingsFileIsReadFromItsOwnSectionAndRangesHold) {
    WriteSettings("[fsQuorvane]\nK1=5\n[hrQuorvane]\nFirstTimeBase=2\nYearDisplay=1\nFiveType=3\nGodBase=1\nBBase=55\n");
    ASSERT_TRUE(session_.Chart(Birth(1992, 2, 3, 7, 8)));
    const ChartRecord& rec = session_.Record();
    EXPECT_EQ(rec.Options.FirstTimeBase, NightRatHour);
    EXPECT_EQ(rec.YearDisplay, 1);
    EXPECT_EQ(rec.Scoring.BBase, 55);
    EXPECT_EQ(rec.Scoring.K1, 20);  // the other program's section is not ours
    EXPECT_EQ(rec.Scoring.FiveType, 0);  // out of range reads as the default
    EXPECT_EQ(rec.Options.GodBase, 1);
    EXPECT_FALSE(fs::exists(data_.Path() + "/program/Velmaro.INI.tmp"));
}

TEST_F(ChartSessionTest, AtHalfPastElevenTheDayStaysAndTheHourIsTheNextDaysRat) {
    ASSERT_TRUE(session_.Chart(Birth(1992, 2, 3, 12, 0)));
    const ChartRecord noon = session_.Record();
    ASSERT_TRUE(session_.Chart(Birth(1992, 2, 4, 0, 30)));
    const ChartRecord nextRat = session_.Record();
    ASSERT_TRUE(session_.Chart(Birth(1992, 2, 3, 23, 30)));
    const ChartRecord& late = session_.Record();
    EXPECT_EQ(late.Natal.Stem[DayPillar], noon.Natal.Stem[DayPillar]);
    EXPECT_EQ(late.Natal.Branch[DayPillar], noon.Natal.Branch[DayPillar]);
    EXPECT_EQ(late.Natal.Stem[HourPillar], nextRat.Natal.Stem[HourPillar]);
    EXPECT_EQ(late.Natal.Branch[HourPillar], 0);  // 子
    EXPECT_EQ(late.Birth.LunarDay, noon.Birth.LunarDay);
    EXPECT_EQ(late.Birth.LunarMonth, noon.Birth.LunarMonth);
}

TEST_F(ChartSessionTest, AnUnknownHourChartsAsNoon) {
    ASSERT_TRUE(session_.Chart(Birth(1992, 2, 3, 12, 0)));
    const ChartRecord noon = session_.Record();
    ASSERT_TRUE(session_.Chart(Birth(1992, 2, 3, 25, 0)));
    const ChartRecord& unknown = session_.Record();
    EXPECT_EQ(unknown.Person.hour, HourUnknown);
    EXPECT_EQ(unknown.Natal.Stem[DayPillar], noon.Natal.Stem[DayPillar]);
    EXPECT_EQ(unknown.Natal.LuckStartAge, noon.Natal.LuckStartAge);  // counted from 12:00
    for (int k = 0; k < 3; ++k) EXPECT_EQ(unknown.Natal.LuckStartSpan[k], noon.Natal.LuckStartSpan[k]) << k;
}

TEST_F(ChartSessionTest, UnsoundBirthsAreNotCharted) {
    for (const ChartRequest& r : {Birth(1992, 2, 30, 7, 0), Birth(1992, 2, 3, 24, 0), Birth(1992, 2, 3, -1, 0),
                                  Birth(1992, 2, 3, 7, 60), Birth(0, 0, 0, 0, 0), Birth(1700, 2, 3, 7, 0)}) {
        EXPECT_FALSE(session_.Chart(r)) << r.Year << "-" << r.Month << "-" << r.Day << " " << r.Hour;
        EXPECT_FALSE(session_.Charted());
    }
}

TEST(ChartRequestChecksTest, ModesAndCategoriesTheWindowTakes) {
    for (int mode = -2; mode <= 5; ++mode) EXPECT_EQ(IsChartMode(mode), mode >= 0 && mode <= 3) << mode;
    int categories = 0;
    for (int c = -1; c <= 20; ++c) categories += IsChartCategory(c);
    EXPECT_EQ(categories, 9);
    for (int c : {1, 3, 4, 5, 6, 7, 8, 9, 14}) EXPECT_TRUE(IsChartCategory(c)) << c;
    ChartRequest r;
    r.Mode = 2, r.Category = 1;
    EXPECT_TRUE(RequestProblem(r).Ok);
    r.Mode = 7;
    EXPECT_NE(RequestProblem(r).Detail.find("/P 7"), std::string::npos);
    EXPECT_EQ(RequestProblem(r).Reason, ModeFaultText);
}

}  // namespace
}  // namespace qv::test

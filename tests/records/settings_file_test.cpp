// The settings file: private-profile reading and writing, keys and defaults.
#include "records_fixture.h"
#include "settings_file.h"

namespace qv {
namespace {

using test::ReadFileText;

class SettingsFileTest : public ::testing::Test {
protected:
    void WriteText(const std::string& text) const { std::ofstream(path_, std::ios::binary) << text; }
    bool Write(SettingKey key, int value) { return WriteSetting(path_, key, value).Ok; }
    test::TempDir dir_;
    const std::string path_ = dir_.Path() + "/program/fsquorvane_s2.ini";
};

TEST_F(SettingsFileTest, PathSectionAndKeyNamesComeFromTheStringTable) {
    EXPECT_EQ(SettingsPath(DataPaths{dir_.Path(), dir_.Path() + "/program"}), path_);
    EXPECT_EQ(SettingsSection(), "fsQuorvane");
    // The keys' names come from the string table and are found without case.
    EXPECT_EQ(SettingName(SettingKey::MIDPARM), "MIDPARM");
    EXPECT_EQ(SettingName(SettingKey::FirstTimeBase), "FirstTimeBase");
    ASSERT_NE(FindSetting("engydisplay"), nullptr);
    EXPECT_EQ(FindSetting("engydisplay")->Key, SettingKey::ENGYDISPLAY);
    EXPECT_EQ(FindSetting("Nothing"), nullptr);
    for (const SettingInfo& info : AllSettings()) {
        EXPECT_FALSE(SettingName(info.Key).empty());
        EXPECT_LE(info.Min, info.Default);
        EXPECT_LE(info.Default, info.Max);
    }
}

TEST_F(SettingsFileTest, WithoutAFileEveryKeyHasItsDefault) {
    const ChartSettings s = ReadChartSettings(path_);
    EXPECT_EQ(s.Options.GodBase, DefaultEngineOptions.GodBase);
    EXPECT_EQ(s.Options.SkyBase, DefaultEngineOptions.SkyBase);
    EXPECT_EQ(s.Options.PoolBase, DefaultEngineOptions.PoolBase);
    EXPECT_EQ(s.Options.FirstTimeBase, DefaultEngineOptions.FirstTimeBase);
    const ScoringParameters& d = DefaultScoringParameters;
    EXPECT_EQ((std::vector<int>{s.Scoring.MIDPARM, s.Scoring.FiveType, s.Scoring.K1, s.Scoring.K2, s.Scoring.BTYPE,
                                s.Scoring.BBase, s.Scoring.BADD, s.Scoring.CBASE}),
              (std::vector<int>{d.MIDPARM, d.FiveType, d.K1, d.K2, d.BTYPE, d.BBase, d.BADD, d.CBASE}));
    EXPECT_EQ(s.YearDisplay, 1);
    EXPECT_EQ(s.PotentialStyle, 1);
    EXPECT_EQ((std::vector<int>{s.TermEdgeMinutes, s.HourEdgeMinutes}), (std::vector<int>{15, 10}));
    EXPECT_EQ(AllSettings().size(), 16u);
}

TEST_F(SettingsFileTest, AnotherProgramsSectionReadsWithThatProgramsDefaults) {
    ChartSettings defaults = DefaultChartSettings();
    defaults.YearDisplay = 0;
    defaults.Options.FirstTimeBase = 0;
    std::filesystem::create_directories(dir_.Path() + "/program");
    WriteText("[fsQuorvane]\nGodBase=1\nYearDisplay=1\n[hrQuorvane]\nSkyBase=1\nFirstTimeBase=7\nK1=-3\n");
    const ChartSettings s = ReadChartSettings(path_, "hrQuorvane", defaults);
    EXPECT_EQ(s.Options.GodBase, 0);        // the other program's section is not read
    EXPECT_EQ(s.YearDisplay, 0);            // missing: this program's default
    EXPECT_EQ(s.Options.SkyBase, 1);
    EXPECT_EQ(s.Options.FirstTimeBase, 0);  // out of range: this program's default, not 1
    EXPECT_EQ(s.Scoring.K1, -3);
    EXPECT_EQ(s.Scoring.K2, DefaultScoringParameters.K2);
    EXPECT_EQ(ReadChartSettings(path_).Options.GodBase, 1);
    EXPECT_EQ(ReadSetting(path_, SettingKey::SkyBase), 0);  // nor the other way round
}

TEST_F(SettingsFileTest, ConfirmingTheDefaultsCreatesTheFileWithTheSixKeys) {
    for (SettingKey key : {SettingKey::GodBase, SettingKey::SkyBase, SettingKey::YearDisplay, SettingKey::PoolBase,
                           SettingKey::FirstTimeBase, SettingKey::MIDPARM}) {
        ASSERT_TRUE(Write(key, InfoOf(key).Default));
    }
    EXPECT_EQ(ReadFileText(path_),
              "[fsQuorvane]\nGodBase=0\nSkyBase=0\nYearDisplay=1\nPoolBase=0\nFirstTimeBase=1\nMIDPARM=100\n");
    EXPECT_TRUE(ScratchFilesOf(path_).empty());
}

TEST_F(SettingsFileTest, WritingOneKeyKeepsEverythingElse) {
    ASSERT_TRUE(Write(SettingKey::K1, 5));
    WriteText("; my notes\r\n[Other]\r\nGodBase=1\r\n\r\n[FSQUORVANE]\r\n  godbase = 1 \r\nK1=5\r\n\r\n[Last]\r\nx=y\r\n");
    ASSERT_TRUE(Write(SettingKey::GodBase, 0));
    ASSERT_TRUE(Write(SettingKey::PoolBase, 1));
    EXPECT_EQ(ReadFileText(path_),
              "; my notes\r\n[Other]\r\nGodBase=1\r\n\r\n[FSQUORVANE]\r\ngodbase=0\r\nK1=5\r\nPoolBase=1\r\n\r\n"
              "[Last]\r\nx=y\r\n");
    EXPECT_EQ(ReadSetting(path_, SettingKey::GodBase), 0);
    EXPECT_EQ(ReadSetting(path_, SettingKey::PoolBase), 1);
}

TEST_F(SettingsFileTest, MissingOrBrokenValuesReadAsTheDefault) {
    ASSERT_TRUE(Write(SettingKey::K1, 5));
    WriteText("[fsQuorvane]\nK1=1.5\nK2=abc\nMIDPARM=\nBBase= -40 \nFirstTimeBase=7\nENGYDISPLAY=8\nCBASE=65537\n"
              "GodBase=1\nGodBase=0\nTermEdgeMinutes=1441\nHourEdgeMinutes=-1\n");
    EXPECT_EQ(ReadSetting(path_, SettingKey::K1), 20);
    EXPECT_EQ(ReadSetting(path_, SettingKey::K2), 30);
    EXPECT_EQ(ReadSetting(path_, SettingKey::MIDPARM), 100);
    EXPECT_EQ(ReadSetting(path_, SettingKey::BBase), -40);
    EXPECT_EQ(ReadSetting(path_, SettingKey::FirstTimeBase), 1);  // outside 0-2
    EXPECT_EQ(ReadSetting(path_, SettingKey::ENGYDISPLAY), 1);    // outside 0-7
    EXPECT_EQ(ReadSetting(path_, SettingKey::CBASE), 1);          // cut to 16 bits
    EXPECT_EQ(ReadSetting(path_, SettingKey::GodBase), 1);        // the first of two counts
    EXPECT_EQ(ReadSetting(path_, SettingKey::BADD), 70);          // not in the file
    EXPECT_EQ(ReadSetting(path_, SettingKey::TermEdgeMinutes), 15);  // beyond a day
    EXPECT_EQ(ReadSetting(path_, SettingKey::HourEdgeMinutes), 10);  // negative
}

TEST_F(SettingsFileTest, LineEndsOfEveryKindReadAlikeAndAreKept) {
    std::filesystem::create_directories(dir_.Path() + "/program");
    for (const std::string eol : {"\n", "\r\n", "\r"}) {
        WriteText("[Other]" + eol + "K1=9" + eol + "[fsQuorvane]" + eol + "K1=7" + eol + "SkyBase=1" + eol);
        EXPECT_EQ(ReadSetting(path_, SettingKey::K1), 7) << eol.size();
        EXPECT_EQ(ReadSetting(path_, SettingKey::SkyBase), 1) << eol.size();
        ASSERT_TRUE(Write(SettingKey::K2, 3));
        EXPECT_EQ(ReadFileText(path_),
                  "[Other]" + eol + "K1=9" + eol + "[fsQuorvane]" + eol + "K1=7" + eol + "SkyBase=1" + eol + "K2=3" + eol);
    }
}

TEST_F(SettingsFileTest, ValuesOutsideTheRangeAreNotWritten) {
    EXPECT_NE(WriteSetting(path_, SettingKey::FirstTimeBase, 3).Detail.find("FirstTimeBase"), std::string::npos);
    EXPECT_FALSE(WriteSetting(path_, SettingKey::K1, 40000).Ok);
    EXPECT_FALSE(WriteSetting(path_, SettingKey::MIDPARM, -35).Ok);
    EXPECT_FALSE(test::Exists(path_));
    EXPECT_TRUE(WriteSetting(path_, SettingKey::K1, -32768).Ok);
    EXPECT_EQ(ReadSetting(path_, SettingKey::K1), -32768);
}

// Every step of the replacement failing in turn: the old file stays whole,
// or the new one is in place and the write says so.
TEST_F(SettingsFileTest, AFailedWriteLeavesTheOldFile) {
    ASSERT_TRUE(Write(SettingKey::K1, 5));
    test::EveryStepFails([&](FileWriter& w) { return WriteSetting(path_, SettingKey::K1, 6, w); }, path_);
}

}  // namespace
}  // namespace qv

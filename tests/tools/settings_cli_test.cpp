// quorvane-cli settings: list, get and set over the settings file.
#include <gtest/gtest.h>

#include <fstream>

#include "run_program.h"

namespace qv {
namespace {

using test::ReadFileText;

class SettingsCliTest : public test::CliTest {
protected:
    std::string File() const { return data_.Path() + "/program/fsquorvane_s2.ini"; }
};

TEST_F(SettingsCliTest, ListShowsEveryDefault) {
    const std::string r = Out({"settings"});
    EXPECT_EQ(r,
              "GodBase=0\nSkyBase=0\nYearDisplay=1\nPoolBase=0\nFirstTimeBase=1\nMIDPARM=100\nFiveType=0\nK1=20\n"
              "K2=30\nBTYPE=0\nBBase=70\nBADD=70\nCBASE=20\nENGYDISPLAY=1\nTermEdgeMinutes=15\nHourEdgeMinutes=10\n");
    EXPECT_EQ(Cli({"settings", "list"}).Out, r);
}

TEST_F(SettingsCliTest, SetWritesTheFileAndGetReadsIt) {
    ASSERT_EQ(Cli({"settings", "set", "PoolBase", "1"}).Status, 0);
    ASSERT_EQ(Cli({"settings", "set", "k1", "-7"}).Status, 0);
    EXPECT_EQ(ReadFileText(File()), "[fsQuorvane]\nPoolBase=1\nK1=-7\n");
    EXPECT_EQ(Cli({"settings", "get", "K1"}).Out, "-7\n");
    EXPECT_EQ(Cli({"settings", "get", "poolbase"}).Out, "1\n");
    ASSERT_EQ(Cli({"settings", "set", "ENGYDISPLAY", "0"}).Status, 0) << "the bar bands are a style too";
    EXPECT_EQ(Cli({"settings", "get", "ENGYDISPLAY"}).Out, "0\n");
}

TEST_F(SettingsCliTest, AHandWrittenFileIsReadAndKept) {
    ASSERT_EQ(Cli({"settings", "set", "K2", "31"}).Status, 0);
    std::ofstream(File()) << "; hand\n[fsQuorvane]\nFirstTimeBase=5\nMIDPARM=abc\n[other]\na=b\n";
    EXPECT_EQ(Cli({"settings", "get", "FirstTimeBase"}).Out, "1\n");
    EXPECT_EQ(Cli({"settings", "get", "MIDPARM"}).Out, "100\n");
    ASSERT_EQ(Cli({"settings", "set", "MIDPARM", "35"}).Status, 0);
    EXPECT_EQ(ReadFileText(File()), "; hand\n[fsQuorvane]\nFirstTimeBase=5\nMIDPARM=35\n[other]\na=b\n");
}

TEST_F(SettingsCliTest, BadKeysAndValuesAreRefused) {
    for (std::vector<std::string> args : {std::vector<std::string>{"settings", "get", "Nothing"},
                                          {"settings", "set", "GodBase", "2"},
                                          {"settings", "set", "MIDPARM", "-35"},
                                          {"settings", "set", "K1", "1.5"},
                                          {"settings", "set", "K1"},
                                          {"settings", "get"},
                                          {"settings", "remove", "K1"}}) {
        const auto r = Cli(args);
        EXPECT_EQ(r.Status, 1) << args[1];
        EXPECT_NE(r.Err.find("quorvane-cli: "), std::string::npos);
    }
    EXPECT_FALSE(std::ifstream(File()).good());
}

}  // namespace
}  // namespace qv

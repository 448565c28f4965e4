// quorvane-cli records and settings: every subcommand on a data folder of its own.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "run_program.h"

namespace qv {
namespace {

using test::Lines;
using test::ReadFileText;
using test::With;

class RecordsCliTest : public test::CliTest {
protected:
    test::ProgramResult Records(const std::vector<std::string>& args) { return Cli(With({"records"}, args)); }
    void Add(const std::vector<std::string>& person) {
        const auto r = Records(With({"add"}, person));
        ASSERT_EQ(r.Status, 0) << r.Err;
    }
    std::string MainFile() const { return data_.Path() + "/VNX5MAIN.AID"; }
    std::string Other() const { return data_.Path() + "/other.sap"; }
};

TEST_F(RecordsCliTest, AddListShowAndFind) {
    Add({"--name", "王小明", "--sex", "m", "--birth", "1990-05-17 23:30", "--phone", "02-1234", "--remarks", "一\n二"});
    Add({"--name", "ab", "--sex", "f", "--lunar", "2023-2-10-leap 08:30"});
    Add({"--name", "AB", "--sex", "女", "--birth", "2000-01-01", "--hour-unknown"});
    EXPECT_EQ(ReadFileText(MainFile()).size(), 36u + 3 * 412);

    const auto list = Records({"list"});
    ASSERT_EQ(list.Status, 0) << list.Err;
    EXPECT_EQ(Lines(list.Out), (std::vector<std::string>{"0\t王小明\t1990-05-17 23:30\t男", "1\tab\t2023-03-31 08:30\t女",
                                                         "2\tAB\t2000-01-01 ??:??\t女"}));
    EXPECT_EQ(Records({"list", "--names"}).Out, "王小明\nab\n");
    EXPECT_EQ(Records({"list", "--prefix", "王"}).Out, "王小明\n");

    const auto show = Records({"show", "0"});
    ASSERT_EQ(show.Status, 0);
    // 一般子時 by default: born at 23:30 the lunar date is the next day's (the 23rd would be the calendar's).
    EXPECT_NE(show.Out.find("lunar\t1990-4-24\n"), std::string::npos) << show.Out;
    EXPECT_NE(show.Out.find("double-hour\t12\n"), std::string::npos);
    EXPECT_NE(show.Out.find("remarks\t一\r\n二\n"), std::string::npos);
    EXPECT_NE(Records({"show", "1"}).Out.find("lunar\t2023-2-10-leap\n"), std::string::npos);
    EXPECT_NE(Records({"show", "2"}).Out.find("double-hour\t6\n"), std::string::npos);

    const auto found = Records({"find", "Ab"});
    EXPECT_EQ(found.Status, 0);
    EXPECT_EQ(Lines(found.Out).size(), 2u);
    EXPECT_EQ(Records({"find", "nobody"}).Status, 1);
}

TEST_F(RecordsCliTest, ReplaceDeleteAndTheRatHourRuleOfTheSettings) {
    Add({"--name", "甲", "--sex", "m", "--birth", "1980-01-01 01:00"});
    Add({"--name", "乙", "--sex", "m", "--birth", "1981-01-01 01:00"});
    ASSERT_EQ(Records({"replace", "1", "--name", "丙", "--sex", "f", "--birth", "1982-02-02 02:02"}).Status, 0);
    EXPECT_EQ(Lines(Records({"list"}).Out)[1], "1\t丙\t1982-02-02 02:02\t女");
    ASSERT_EQ(Records({"delete", "0"}).Status, 0);
    EXPECT_EQ(Records({"list"}).Out, "0\t丙\t1982-02-02 02:02\t女\n");
    // The rat-hour rule of a new record comes from the settings: 夜子時 keeps the calendar's lunar day.
    ASSERT_EQ(Cli({"settings", "set", "FirstTimeBase", "2"}).Status, 0);
    Add({"--name", "夜", "--sex", "m", "--birth", "1990-05-17 23:30"});
    EXPECT_NE(Records({"show", "1"}).Out.find("lunar\t1990-4-23\n"), std::string::npos);
}

TEST_F(RecordsCliTest, RefusalsLeaveTheFileUntouched) {
    Add({"--name", "甲", "--sex", "m", "--birth", "1980-01-01 01:00"});
    const std::string before = ReadFileText(MainFile());
    const std::vector<std::vector<std::string>> refused = {
        {"delete", "5"},
        {"delete", "-1"},
        {"show", "x"},
        {"replace", "3", "--name", "乙", "--sex", "m", "--birth", "1980-01-01 01:00"},
        {"add", "--name", "😀", "--sex", "m", "--birth", "1980-01-01 01:00"},
        {"add", "--name", std::string(32, 'n'), "--sex", "m", "--birth", "1980-01-01 01:00"},
        {"add", "--sex", "m", "--birth", "1980-02-30 01:00"},
        {"add", "--sex", "x", "--birth", "1980-01-01 01:00"},
        {"add", "--sex", "m", "--lunar", "2023-3-1-leap 01:00"},
        {"add", "--sex", "m"},
        {"add", "--sex", "m", "--birth", "1980-01-01 01:00", "--colour", "red"},
        {"copy", MainFile()},
        {"merge", MainFile()},
        {"find", ""},
        {"find", " "},
        {"copy", " "},
        {"merge", ""},
        {"import", " "},
        {"frobnicate"},
    };
    for (const auto& args : refused) {
        const auto r = Records(args);
        EXPECT_NE(r.Status, 0) << args[0];
        EXPECT_NE(r.Err.find("quorvane-cli: "), std::string::npos) << args[0];
    }
    const auto emoji = Records({"add", "--address", "住😀", "--sex", "m", "--birth", "1980-01-01 01:00"});
    EXPECT_NE(emoji.Err.find("address"), std::string::npos) << emoji.Err;
    EXPECT_NE(Records({"delete", "5"}).Err.find("no record 5"), std::string::npos);
    EXPECT_EQ(ReadFileText(MainFile()), before);
}

TEST_F(RecordsCliTest, MissingAndDamagedFilesAreNamed) {
    const auto missing = Records({"list"});
    EXPECT_EQ(missing.Status, 2);
    EXPECT_NE(missing.Err.find("VNX5MAIN.AID"), std::string::npos);
    Add({"--name", "甲", "--sex", "m", "--birth", "1980-01-01 01:00"});
    std::string bytes = ReadFileText(MainFile());
    bytes.resize(bytes.size() - 10);
    std::ofstream(MainFile(), std::ios::binary) << bytes;
    for (std::vector<std::string> args : {std::vector<std::string>{"list"}, {"delete", "0"}, {"export"}}) {
        const auto r = Records(args);
        EXPECT_EQ(r.Status, 2) << args[0];
        EXPECT_NE(r.Err.find("damaged"), std::string::npos) << r.Err;
    }
    EXPECT_NE(Records({"add", "--sex", "m", "--birth", "1980-01-01 01:00"}).Status, 0);
    EXPECT_EQ(ReadFileText(MainFile()), bytes);
}

TEST_F(RecordsCliTest, CopyAndMergeWithTheDuplicateRule) {
    Add({"--name", "甲", "--sex", "m", "--birth", "1980-01-01 01:00", "--phone", "1"});
    ASSERT_EQ(Records({"copy", Other()}).Status, 0);
    EXPECT_EQ(ReadFileText(Other()), ReadFileText(MainFile()));
    ASSERT_EQ(Records({"--file", Other(), "add", "--name", "甲", "--sex", "m", "--birth", "1980-01-01 01:00",
                       "--phone", "2"})
                  .Status,
              0);
    const auto merged = Records({"merge", Other()});
    ASSERT_EQ(merged.Status, 0) << merged.Err;
    EXPECT_EQ(merged.Out, "added 1; the main file holds 2\n");
    EXPECT_EQ(Records({"--file", Other(), "list"}).Out, Records({"list"}).Out);
}

TEST_F(RecordsCliTest, ExportImportRoundTrip) {
    Add({"--name", "王\"小\"明", "--sex", "m", "--birth", "1990-05-17 23:30", "--address", "台北,信義",
         "--remarks", "a\\b\nc"});
    Add({"--sex", "f", "--lunar", "2023-2-10-leap 08:30", "--hour-unknown"});
    const auto json = Records({"export", "--json"});
    ASSERT_EQ(json.Status, 0) << json.Err;
    const std::string saved = data_.Path() + "/people.json";
    std::ofstream(saved) << json.Out;
    EXPECT_EQ(Records({"--file", Other(), "import", saved}).Out, "imported 2; the file holds 2\n");
    EXPECT_EQ(ReadFileText(Other()), ReadFileText(MainFile()));
    EXPECT_EQ(Records({"--file", Other(), "export"}).Out, json.Out);

    const auto csv = Lines(Records({"export", "--csv"}).Out);
    ASSERT_EQ(csv.size(), 4u);  // the remarks hold a line break inside quotes
    EXPECT_EQ(csv[0].substr(0, 12), "number,name,");
    EXPECT_EQ(csv[1], "0,\"王\"\"小\"\"明\",\"台北,信義\",,\"a\\b\r");
}

TEST_F(RecordsCliTest, BrokenImportsAreRefusedWithTheirPlace) {
    const std::string bad = data_.Path() + "/bad.json";
    for (const std::string text : {"[{\"name\":\"x\"}]", "[{", "{}", "[1]", "[]x"}) {
        std::ofstream(bad) << text;
        const auto r = Records({"import", bad});
        EXPECT_EQ(r.Status, 1) << text;
        EXPECT_NE(r.Err.find("record 0"), std::string::npos) << r.Err;
    }
    EXPECT_FALSE(std::filesystem::exists(MainFile()));
    EXPECT_EQ(Records({"import", data_.Path() + "/none.json"}).Status, 2);
}

// ---- settings: list, get and set over the settings file ----

class SettingsCliTest : public test::CliTest {
protected:
    std::string File() const { return data_.Path() + "/program/fsquorvane_s2.ini"; }
};

// How a hand-written file is read and kept is the settings file's own test.
TEST_F(SettingsCliTest, ListShowsEveryDefaultSetWritesTheFileAndGetReadsIt) {
    const std::string r = Out({"settings"});
    EXPECT_EQ(r,
              "GodBase=0\nSkyBase=0\nYearDisplay=1\nPoolBase=0\nFirstTimeBase=1\nMIDPARM=100\nFiveType=0\nK1=20\n"
              "K2=30\nBTYPE=0\nBBase=70\nBADD=70\nCBASE=20\nENGYDISPLAY=1\nTermEdgeMinutes=15\nHourEdgeMinutes=10\n");
    EXPECT_EQ(Cli({"settings", "list"}).Out, r);
    ASSERT_EQ(Cli({"settings", "set", "PoolBase", "1"}).Status, 0);
    ASSERT_EQ(Cli({"settings", "set", "k1", "-7"}).Status, 0);
    EXPECT_EQ(ReadFileText(File()), "[fsQuorvane]\nPoolBase=1\nK1=-7\n");
    EXPECT_EQ(Cli({"settings", "get", "K1"}).Out, "-7\n");
    EXPECT_EQ(Cli({"settings", "get", "poolbase"}).Out, "1\n");
    ASSERT_EQ(Cli({"settings", "set", "ENGYDISPLAY", "0"}).Status, 0) << "the bar bands are a style too";
    EXPECT_EQ(Cli({"settings", "get", "ENGYDISPLAY"}).Out, "0\n");
    std::ofstream(File()) << "[fsQuorvane]\nMIDPARM=abc\n";
    EXPECT_EQ(Cli({"settings", "get", "MIDPARM"}).Out, "100\n");
}

TEST_F(SettingsCliTest, BadKeysAndValuesAreRefused) {
    for (std::vector<std::string> args : {std::vector<std::string>{"settings", "get", "Nothing"},
                                          {"settings", "set", "GodBase", "2"},
                                          {"settings", "set", "MIDPARM", "-35"},
                                          {"settings", "set", "K1", "1.5"},
                                          {"settings", "set", "K1"},
                                          {"settings", "get"},
                                          {"settings", "remove", "K1"}}) {
        ExpectRefused(args, "quorvane-cli: ");
    }
    EXPECT_FALSE(std::ifstream(File()).good());
}

}  // namespace
}  // namespace qv

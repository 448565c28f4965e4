// Where the programs read the data they ship: in place where they were built
// or installed, a user's copy in the data root overriding it, nothing copied.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "run_program.h"
#include "engine/calendar/solar_terms.h"

namespace qv {
namespace {

namespace fs = std::filesystem;
using test::ProgramResult;
using test::ReadFileText;
using test::RunCommandLine;
using test::ShellQuote;

const std::string ShippedTable = std::string(QUORVANE_BIN_DIR "/AInfo.tbl");

void WriteFile(const std::string& path, const std::string& bytes) {
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

// The shipped table cut after its year `lastYear`: still a sound table, but one
// that tells itself apart from the shipped one.
// Written as the generator writes, checksum and all.
std::string TableEndingIn(int lastYear) {
    auto table = std::make_unique<SolarTermTable>();
    EXPECT_TRUE(LoadSolarTermTable(ShippedTable, *table).Ok);
    table->LastYear = static_cast<uint16_t>(lastYear);
    const test::TempDir dir;
    const std::string path = dir.Path() + "/AInfo.tbl";
    EXPECT_TRUE(SaveSolarTermTable(path, *table).Ok);
    return ReadFileText(path);
}

std::vector<std::string> FilesUnder(const std::string& dir) {
    std::vector<std::string> files;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(dir, ec); !ec && it != fs::recursive_directory_iterator(); ++it)
        if (it->is_regular_file()) files.push_back(it->path().filename().string());
    return files;
}

class ShippedDataTest : public test::CliTest {
protected:
    std::string Override() const { return data_.Path() + "/program/AInfo.tbl"; }
};

TEST_F(ShippedDataTest, AFreshDataRootUsesTheShippedTableAndStaysEmpty) {
    const ProgramResult r = Cli({"terms", "--from", "2100", "--to", "2100"});
    ASSERT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(test::Lines(r.Out).size(), 24u);
    EXPECT_TRUE(FilesUnder(data_.Path()).empty());
}

TEST_F(ShippedDataTest, ATableInTheDataRootOverridesTheShippedOne) {
    WriteFile(Override(), TableEndingIn(2000));
    EXPECT_EQ(Cli({"terms", "--from", "2000", "--to", "2000"}).Status, 0);
    const ProgramResult beyond = Cli({"terms", "--from", "2001", "--to", "2001"});
    EXPECT_NE(beyond.Status, 0);  // the shipped table has 2001; the override does not
}

TEST_F(ShippedDataTest, ABrokenOverrideIsRefusedByItsPathAndLeftAsItWas) {
    const std::string broken = TableEndingIn(2000).substr(0, 500);
    WriteFile(Override(), broken);
    const ProgramResult r = Cli({"pillars", "1999-12-07 23:30"});
    EXPECT_EQ(r.Status, 2);
    EXPECT_NE(r.Err.find(Override()), std::string::npos) << r.Err;
    EXPECT_TRUE(r.Out.empty());
    EXPECT_EQ(ReadFileText(Override()), broken);
}

TEST_F(ShippedDataTest, TheWindowProgramCopiesNothingIntoTheDataRoot) {
    if (!QUORVANE_GUI) GTEST_SKIP() << "built without the window programs";
    // Killed while it shows the logo: start-up, table and picture are behind it by then.
    const ProgramResult r = RunCommandLine("QT_QPA_PLATFORM=offscreen timeout -s KILL 3 " +
                                           ShellQuote(std::string(QUORVANE_BIN_DIR "/Quorvane")) +
                                           " --data-dir " + ShellQuote(data_.Path()));
    EXPECT_EQ(r.Status, 137) << r.Err;  // still running when killed: it found its data
    for (const std::string& f : FilesUnder(data_.Path())) {
        EXPECT_NE(f, "AInfo.tbl");
        EXPECT_NE(f, "EABOUT.LGO");
    }
}

// The installed tree is complete: programs, their data, a desktop entry and an
// icon; the installed command line finds its table from its own location.
TEST(InstallTest, TheInstalledProgramsChartWithAFreshDataRoot) {
    test::TempDir prefix, data;
    const ProgramResult install = RunCommandLine(ShellQuote(QUORVANE_CMAKE_COMMAND) + " --install " +
                                                 ShellQuote(QUORVANE_BUILD_DIR) + " --prefix " +
                                                 ShellQuote(prefix.Path()));
    ASSERT_EQ(install.Status, 0) << install.Err;
    const std::string p = prefix.Path();
    for (const char* file : {"/bin/quorvane-cli", "/share/quorvane/AInfo.tbl"}) EXPECT_TRUE(fs::exists(p + file)) << file;
    // Without the window programs, nothing of theirs (nor a desktop entry starting them).
    for (const char* file : {"/bin/Quorvane", "/bin/Velmaro", "/bin/quorvane-picture", "/share/quorvane/Velmaro.png",
                             "/share/quorvane/EABOUT.LGO", "/share/quorvane/BANNER.BMP", "/share/quorvane/help/index.html",
                             "/share/applications/quorvane.desktop", "/share/icons/hicolor/scalable/apps/quorvane.svg"})
        EXPECT_EQ(fs::exists(p + file), bool(QUORVANE_GUI)) << file;
    if (QUORVANE_GUI) {
        const std::string desktop = ReadFileText(p + "/share/applications/quorvane.desktop");
        EXPECT_NE(desktop.find("Name[zh_TW]="), std::string::npos);
        EXPECT_NE(desktop.find("Exec=Quorvane"), std::string::npos);
    }

    const std::string cli = ShellQuote(p + "/bin/quorvane-cli") + " --data-dir " + ShellQuote(data.Path());
    const ProgramResult pillars = RunCommandLine(cli + " pillars '2000-01-01 12:00'");
    EXPECT_EQ(pillars.Out, "2000-01-01 12:00\t15\t12\t54\t54\t己卯 丙子 戊午 戊午\n") << pillars.Err;
    const ProgramResult chart = RunCommandLine(cli + " chart --birth '1988-02-15 09:40' --sex f");
    ASSERT_EQ(chart.Status, 0) << chart.Err;
    EXPECT_NE(chart.Out.find("天干    戊          甲          庚          辛"), std::string::npos) << chart.Out;
    EXPECT_TRUE(FilesUnder(data.Path()).empty());
    if (!QUORVANE_GUI) return;
    // The drawing commands run the installed picture program beside it.
    const std::string png = prefix.Path() + "/chart.png";
    const ProgramResult render = RunCommandLine(cli + " render --birth '1988-02-15 09:40' --sex f --out " + ShellQuote(png));
    EXPECT_EQ(render.Status, 0) << render.Err;
    EXPECT_EQ(ReadFileText(png).substr(0, 4), "\x89PNG");
}

}  // namespace
}  // namespace qv

// The programs as a whole: what the text commands load; where the programs
// read the data they ship (in place where they were built or installed, a
// user's copy in the data root overriding it, nothing copied); the installed
// tree; and the README's examples run from the built tree, each checked
// against what it claims.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <regex>

#include "engine/calendar/solar_terms.h"
#include "run_program.h"

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

// The shared libraries the dynamic loader maps to start `program`.
std::string LoadedLibraries(const std::string& program) {
    const auto r = RunCommandLine("LD_TRACE_LOADED_OBJECTS=1 " + ShellQuote(std::string(QUORVANE_BIN_DIR "/") + program));
    EXPECT_EQ(r.Status, 0) << r.Err;
    return r.Out;
}

TEST(CliPrograms, TextCommandsLoadNoQtAndPicturesDo) {
    const std::string text = LoadedLibraries("quorvane-cli");
    EXPECT_NE(text.find("libstdc++"), std::string::npos) << text;
    EXPECT_EQ(text.find("libQt"), std::string::npos) << text;
    if (QUORVANE_GUI) {
        EXPECT_NE(LoadedLibraries("quorvane-picture").find("libQt6Gui"), std::string::npos);
    }
}

struct Example {
    std::string Command;  // as the README writes it, optional [...] parts left out
    std::string Claim;    // the comment after it
};

// Every command line of the README's sh blocks that runs quorvane-cli.
std::vector<Example> ReadmeExamples() {
    std::ifstream in(std::string(QUORVANE_REFERENCE_DIR) + "/../../README.md");
    std::vector<Example> out;
    bool inBlock = false;
    for (std::string line; std::getline(in, line);) {
        if (line.starts_with("```")) inBlock = !inBlock && line == "```sh";
        if (!inBlock || line.find("quorvane-cli ") == std::string::npos) continue;
        Example e;
        if (const size_t hash = line.find(" # "); hash != std::string::npos) {
            e.Claim = line.substr(hash + 3);
            line.resize(hash);
        }
        e.Command = std::regex_replace(line, std::regex(R"( *\[[^\]]*\])"), "");
        out.push_back(e);
    }
    return out;
}

// The claims a comment makes about the output: pillars (己卯 丙子 ...), the
// moment charted ("charts 11:52"), how many lines ("the twelve luck pillars",
// "120 years"), its last line ("ends: …").
void CheckClaims(const Example& e, const std::string& output) {
    static const std::regex pillars("((\\S\\S\\S\\S\\S\\S) ?){4}$"), charts("charts (\\d\\d:\\d\\d)"),
        count("(twelve|\\d+) (luck pillars|years)");
    std::smatch m;
    if (std::regex_search(e.Claim, m, pillars) && static_cast<unsigned char>(m.str(0)[0]) >= 0x80) {
        EXPECT_NE(output.find(m.str(0)), std::string::npos) << e.Command << "\n" << output;
    }
    if (std::regex_search(e.Claim, m, charts)) {
        EXPECT_NE(output.find(m.str(1)), std::string::npos) << e.Command << "\n" << output;
    }
    if (const size_t at = e.Claim.find("ends: "); at != std::string::npos) {
        const std::string end = e.Claim.substr(at + 6) + '\n';
        EXPECT_TRUE(output.ends_with(end)) << e.Command << "\n" << output;
    }
    if (std::regex_search(e.Claim, m, count)) {
        const long lines = std::ranges::count(output, '\n');
        EXPECT_EQ(lines, m.str(1) == "twelve" ? 12 : std::stol(m.str(1))) << e.Command << "\n" << output;
    }
}

TEST(CliPrograms, ReadmeExamplesRunAndPrintWhatTheyClaim) {
    const auto examples = ReadmeExamples();
    ASSERT_GE(examples.size(), 20u);
    test::TempDir work;
    const std::string setup = "cd " + ShellQuote(work.Path()) + " && PATH=" + ShellQuote(QUORVANE_BIN_DIR) +
                              ":$PATH QUORVANE_DATA_DIR=" + ShellQuote(work.Path() + "/data") + " ";
    // The potential examples need a table, as a user has once it is defined.
    std::ofstream(work.Path() + "/seed.json")
        << "{\"category\":1,\"name\":\"領導\",\"share\":30}\n"
           "{\"category\":1,\"item\":1,\"name\":\"決斷\",\"elements\":\"水 火\",\"tenGods\":\"比肩 正官\"}\n";
    ASSERT_EQ(RunCommandLine(setup + "quorvane-cli potential-table import seed.json").Status, 0);
    // The undo examples need a records file whose .bak still holds a deleted person.
    const std::string records = setup + "quorvane-cli records --file VNX5MAIN.AID ";
    ASSERT_EQ(RunCommandLine(records + "add --sex m --birth '1990-05-17 08:30' --name 王小明").Status, 0);
    ASSERT_EQ(RunCommandLine(records + "add --sex f --birth '1988-02-15 09:40' --name 李美華").Status, 0);
    ASSERT_EQ(RunCommandLine(records + "delete 0").Status, 0);
    for (const Example& e : examples) {
        if (!QUORVANE_GUI && std::regex_search(e.Command, std::regex(" (render|curve) | --render "))) continue;
        const auto r = RunCommandLine(setup + "sh -c " + ShellQuote(e.Command));
        EXPECT_EQ(r.Status, 0) << e.Command << "\n" << r.Err;
        CheckClaims(e, r.Out);
        std::smatch out;
        if (std::regex_search(e.Command, out, std::regex("--out (\\S+)"))) {
            const std::string head = test::ReadFileText(work.Path() + "/" + out.str(1)).substr(0, 4);
            EXPECT_TRUE(head == "%PDF" || head == "\x89PNG") << e.Command;
        }
    }
    // The import took what the export wrote, in both places of --file.
    const auto copied = RunCommandLine(setup + "quorvane-cli potential-table show --file copy.tbl");
    EXPECT_NE(copied.Out.find("決斷\t水 火\t比肩 正官"), std::string::npos) << copied.Out << copied.Err;
    // The deleted person came back from the .bak.
    EXPECT_NE(RunCommandLine(records + "find 王小明").Out.find("王小明"), std::string::npos);
}

}  // namespace
}  // namespace qv

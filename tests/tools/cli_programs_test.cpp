// quorvane-cli as a whole: what its text commands load, and the README's
// examples run from the built tree, each checked against what it claims.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>

#include "run_program.h"

namespace qv {
namespace {

using test::RunCommandLine;
using test::ShellQuote;

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

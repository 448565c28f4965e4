// What every command of quorvane-cli refuses: times and dates that are no
// real moment, output that could not be written whole, and a record number
// that two deletes at once would both take.
#include <gtest/gtest.h>

#include <algorithm>

#include "run_program.h"

namespace qv {
namespace {

using test::RunCommandLine;
using test::ShellQuote;

class CliRefusals : public test::CliTest {
protected:
    // The command line that runs quorvane-cli on the test's data root.
    std::string Command() const {
        return ShellQuote(std::string(QUORVANE_BIN_DIR "/quorvane-cli")) + " --data-dir " + ShellQuote(data_.Path());
    }
};

TEST_F(CliRefusals, NonsenseTimesAndDatesAreRefusedByEveryCommand) {
    const std::vector<std::vector<std::string>> refused = {
        {"chart", "--birth", "2024-02-10 25:61", "--sex", "m"},
        {"chart", "--birth", "2024-02-10 24:00", "--sex", "m"},
        {"chart", "--birth", "2024-02-10 25:30", "--sex", "f"},
        {"chart", "--birth", "2024-02-30 10:00", "--sex", "f"},
        {"fortune", "--birth", "2023-13-01 10:00", "--sex", "m"},
        {"potential", "--birth", "2024-02-10 10:60", "--sex", "m"},
        {"records", "add", "--sex", "m", "--birth", "2024-02-10 25:30"},
        {"records", "add", "--sex", "m", "--birth", "2023-02-29 10:00"},
        {"render", "--birth", "2024-02-10 10:00", "--sex", "m", "--today", "2024-02-30", "--out",
         data_.Path() + "/x.png"},
        {"lunar", "2024-02-30"},
    };
    for (const auto& args : refused) {
        const auto r = Cli(args);
        EXPECT_NE(r.Status, 0) << args[0] << " " << args[2] << "\n" << r.Out;
        EXPECT_NE(r.Err.find("quorvane-cli: "), std::string::npos) << args[0] << " " << args[2];
    }
    const auto batch = Cli({"chart", "--batch"}, "2024-02-10 25:30 m\n2024-02-10 ?? m\n");
    EXPECT_EQ(batch.Status, 1) << "the first line is refused, the second (hour unknown) is charted";
    EXPECT_EQ(std::count(batch.Out.begin(), batch.Out.end(), '\n') > 0, true) << batch.Err;
}

TEST_F(CliRefusals, OutputThatCannotBeWrittenIsAFailure) {
    ASSERT_EQ(Cli({"records", "add", "--sex", "m", "--birth", "1990-01-01 10:00"}).Status, 0);
    for (const std::string command :
         {"terms", "pillars '2024-02-10 10:00'", "lunar 2024-02-10", "calendar 2024-02", "records list", "records export --json",
          "chart --birth '1990-01-01 10:00' --sex m", "settings list"}) {
        const auto r = RunCommandLine("(" + Command() + " " + command + " > /dev/full)");
        EXPECT_EQ(r.Status, 3) << command << "\n" << r.Err;
        EXPECT_NE(r.Err.find("cannot write the output"), std::string::npos) << command << "\n" << r.Err;
    }
}

TEST_F(CliRefusals, AFifoOrDeviceAsTheSolarTermTableIsRefusedAtOnce) {
    const std::string table = data_.Path() + "/program/AInfo.tbl";
    for (const std::string& plant : {"mkfifo " + ShellQuote(table), "ln -s /dev/zero " + ShellQuote(table)}) {
        RunCommandLine("rm -rf " + ShellQuote(data_.Path() + "/program") + "; mkdir -p " +
                       ShellQuote(data_.Path() + "/program") + " && " + plant);
        for (const char* command : {"terms", "pillars '2024-02-10 10:00'", "chart --birth '1990-01-01 10:00' --sex m"}) {
            const auto r = RunCommandLine("timeout 20 " + Command() + " " + command);
            EXPECT_EQ(r.Status, 2) << plant << ": " << command << "\n" << r.Err;
            EXPECT_NE(r.Err.find("AInfo.tbl"), std::string::npos) << r.Err;
        }
    }
}

TEST_F(CliRefusals, ANumberIsTheRecordThereWhenTheFileIsLocked) {
    for (const char* name : {"X", "P", "Y", "P"}) {
        ASSERT_EQ(Cli({"records", "add", "--name", name, "--sex", "m", "--birth", "1990-01-01 10:00"}).Status,
                  0);
    }
    const std::string del = Command() + " records delete 3";
    const auto both = RunCommandLine("(" + del + " & " + del + " & wait) 2>&1; " + Command() + " records list");
    const auto names = test::Lines(both.Out);
    int p = 0;
    for (const std::string& line : names) p += line.find("\tP\t") != std::string::npos;
    EXPECT_EQ(p, 1) << "one delete finds no record 3 left\n" << both.Out;
}

}  // namespace
}  // namespace qv

// Several quorvane-cli processes writing at once, as scripts beside each other
// do: every change reported done is in its file, every one reported failed is
// not, no record lands in the wrong file and the files stay sound.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "records_file.h"
#include "run_program.h"

namespace qv {
namespace {

class ConcurrentWritersTest : public test::CliTest {
protected:
    // Runs the shell loops at once; each line they print is "ok NAME" or "fail NAME".
    std::vector<std::string> RunAtOnce(const std::vector<std::string>& loops) {
        std::string script = "cli=" + test::ShellQuote(std::string(QUORVANE_BIN_DIR "/quorvane-cli")) +
                             "; d=" + test::ShellQuote(data_.Path()) + "; ";
        for (const std::string& loop : loops) script += "( " + loop + " ) & ";
        script += "wait";
        const test::ProgramResult r = test::RunCommandLine("sh -c " + test::ShellQuote(script));
        EXPECT_EQ(r.Status, 0) << r.Err;
        return test::Lines(r.Out);
    }

    // A loop of `count` adds to FILE named PREFIX-1 ... PREFIX-count.
    static std::string Adds(const std::string& file, const std::string& prefix, int count) {
        return "for i in $(seq " + std::to_string(count) + "); do if \"$cli\" --data-dir \"$d\" records --file \"$d/" +
               file + "\" add --name " + prefix + "-$i --sex m --birth '1990-01-01 10:00' >/dev/null 2>&1; then echo ok " +
               prefix + "-$i; else echo fail " + prefix + "-$i; fi; done";
    }

    std::multiset<std::string> NamesIn(const std::string& file) const {
        const RecordsContent content = ReadRecordsFile(data_.Path() + "/" + file);
        EXPECT_TRUE(content.Opened && !content.Damaged) << content.Problem;
        std::multiset<std::string> names;
        for (const PersonRecord& r : content.Records) names.insert(std::string(FieldText(r.name)));
        return names;
    }

    // The names reported done with that prefix; every line is accounted for.
    static std::multiset<std::string> Done(const std::vector<std::string>& lines, const std::string& prefix) {
        std::multiset<std::string> done;
        for (const std::string& line : lines) {
            if (line.starts_with("ok " + prefix + "-")) done.insert(line.substr(3));
        }
        return done;
    }
};

TEST_F(ConcurrentWritersTest, FourProcessesAddingToOneFileLoseNothing) {
    const auto lines = RunAtOnce({Adds("VNX5MAIN.AID", "a", 50), Adds("VNX5MAIN.AID", "b", 50),
                                  Adds("VNX5MAIN.AID", "c", 50), Adds("VNX5MAIN.AID", "d", 50)});
    ASSERT_EQ(lines.size(), 200u);
    std::multiset<std::string> done;
    for (const char* w : {"a", "b", "c", "d"}) done.merge(Done(lines, w));
    EXPECT_EQ(done.size(), 200u) << "with a bounded wait for the lock, no add should fail here";
    EXPECT_EQ(NamesIn("VNX5MAIN.AID"), done);
}

TEST_F(ConcurrentWritersTest, TwoFilesInOneFolderKeepTheirOwnRecords) {
    const auto lines = RunAtOnce({Adds("a.sap", "a", 30), Adds("b.sap", "b", 30)});
    EXPECT_EQ(NamesIn("a.sap"), Done(lines, "a"));
    EXPECT_EQ(NamesIn("b.sap"), Done(lines, "b"));
    EXPECT_EQ(Done(lines, "a").size() + Done(lines, "b").size(), 60u);
}

TEST_F(ConcurrentWritersTest, CopiesIntoTheFolderLeaveTheGrowingMainFileAlone) {
    RunAtOnce({Adds("other.sap", "o", 5)});
    const std::string copies =
        "for i in $(seq 20); do \"$cli\" --data-dir \"$d\" records --file \"$d/other.sap\" copy \"$d/copy.sap\" "
        ">/dev/null 2>&1 || echo copyfail; done";
    const auto lines = RunAtOnce({Adds("VNX5MAIN.AID", "m", 30), copies});
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "copyfail"), 0);
    EXPECT_EQ(NamesIn("VNX5MAIN.AID"), Done(lines, "m"));
    EXPECT_EQ(Done(lines, "m").size(), 30u);
    EXPECT_EQ(NamesIn("copy.sap"), NamesIn("other.sap"));
}

TEST_F(ConcurrentWritersTest, EightSettingsSetAtOnceAreAllKept) {
    const std::vector<std::string> keys = {"MIDPARM", "K1", "K2", "BBase", "BADD", "CBASE", "GodBase", "PoolBase"};
    std::vector<std::string> loops;
    for (const std::string& key : keys) {
        const bool binary = key == "GodBase" || key == "PoolBase";
        loops.push_back("for i in $(seq 6); do v=" + std::string(binary ? "$(((i + 1) % 2))" : "$((i * 3))") +
                        "; \"$cli\" --data-dir \"$d\" settings set " + key + " $v 2>/dev/null || echo fail " + key +
                        "; done");
    }
    const auto lines = RunAtOnce(loops);
    EXPECT_TRUE(lines.empty()) << lines.front();
    for (const std::string& key : keys) {
        const bool binary = key == "GodBase" || key == "PoolBase";
        const auto r = Cli({"settings", "get", key});
        EXPECT_EQ(r.Out, binary ? "1\n" : "18\n") << key;
    }
}

}  // namespace
}  // namespace qv
